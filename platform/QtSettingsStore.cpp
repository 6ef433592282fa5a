#include "platform/QtSettingsStore.h"

#include "platform/Failure.h"

#include <QDir>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<QSettings> OpenSection(QSettings::Format format, const QString& application,
                                       const QString& section) {
    auto settings = std::make_unique<QSettings>(format, QSettings::UserScope, application);
    // Only this user's values count; a system-wide file must not stand in for a missing key.
    settings->setFallbacksEnabled(false);
    settings->beginGroup(section);
    return settings;
}

// A hand-edited value with an unquoted comma comes back as a list; it is still one text.
QString AsText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u", "_s);
    return value.toString();
}

QString SaveFailureText(const QSettings& settings) {
    const QString file = QDir::toNativeSeparators(settings.fileName());
    if (settings.status() == QSettings::FormatError)
        return u"The settings could not be saved: %1 is not a valid settings file"_s.arg(file);
    return u"The settings could not be saved: %1 cannot be written"_s.arg(file);
}

} // namespace

QtSettingsStore::QtSettingsStore(QSettings::Format format) : format_(format) {}

QString QtSettingsStore::GetSetting(const QString& application, const QString& section,
                                    const QString& key, const QString& defaultValue) {
    const auto settings = OpenSection(format_, application, section);
    if (!settings->contains(key))
        return defaultValue;
    return AsText(settings->value(key));
}

void QtSettingsStore::SaveSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& value) {
    const auto settings = OpenSection(format_, application, section);
    settings->setValue(key, value);
    // The program may be ended at any moment without a chance to write later.
    settings->sync();
    if (settings->status() != QSettings::NoError)
        throw Failure(SaveFailureText(*settings));
}
