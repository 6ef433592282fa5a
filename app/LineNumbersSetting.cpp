#include "app/LineNumbersSetting.h"

#include "app/BooleanText.h"
#include "app/SettingsKeys.h"
#include "platform/Failure.h"
#include "platform/SettingsStore.h"

namespace LineNumbersSetting {

bool Read(SettingsStore& settings) {
    const QString stored =
        settings.GetSetting(SettingsKeys::kApplication, SettingsKeys::kSection,
                            SettingsKeys::kLineNumbers, SettingsKeys::BooleanText(true));
    try {
        return ToBoolean(stored);
    } catch (const Failure&) {
        return true;
    }
}

void Save(SettingsStore& settings, bool show) {
    settings.SaveSetting(SettingsKeys::kApplication, SettingsKeys::kSection,
                         SettingsKeys::kLineNumbers, SettingsKeys::BooleanText(show));
}

} // namespace LineNumbersSetting
