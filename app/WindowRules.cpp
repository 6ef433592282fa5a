#include "app/WindowRules.h"

#include "app/RuleKindNames.h"
#include "app/SettingsKeys.h"
#include "platform/SettingsStore.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

int RuleKindIndex(const QString& name) {
    for (std::size_t i = 0; i < kRuleKindNames.size(); ++i)
        if (name == QStringView(kRuleKindNames[i].name))
            return static_cast<int>(i);
    return -1;
}

QString ActiveRulesPhrase(const WindowRules& rules) {
    QStringList parts;
    for (const QString& kind : rules.kinds)
        if (const int i = RuleKindIndex(kind); i >= 0)
            parts.append(QString::fromUtf16(kRuleKindNames[static_cast<std::size_t>(i)].ignored));
    if (rules.ignoreMatching)
        parts.append(u"lines matching "_s + *rules.ignoreMatching);
    if (!rules.masks.isEmpty())
        parts.append(rules.masks.size() == 1 ? u"a mask"_s : u"masks"_s);
    return parts.isEmpty() ? QString() : u"ignoring "_s + parts.join(u", "_s);
}

namespace {

// A list of texts as the store keeps it: a JSON array of strings; nothing when it is not one.
std::optional<QStringList> StoredList(const QString& stored) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(stored.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue value : document.array()) {
        if (!value.isString())
            return std::nullopt;
        list.append(value.toString());
    }
    return list;
}

QString ListToStore(const QStringList& list) {
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact));
}

QString Get(SettingsStore& settings, const QString& key) {
    return settings.GetSetting(SettingsKeys::kApplication, SettingsKeys::kSection, key, u"[]"_s);
}

} // namespace

namespace RulesSetting {

WindowRules Read(SettingsStore& settings) {
    const auto kinds = StoredList(Get(settings, SettingsKeys::kRuleKinds));
    const auto ignoreMatching = StoredList(Get(settings, SettingsKeys::kRuleIgnoreMatching));
    const auto masks = StoredList(Get(settings, SettingsKeys::kRuleMasks));
    if (!kinds || !ignoreMatching || ignoreMatching->size() > 1 || !masks)
        return {};
    WindowRules rules;
    for (const RuleKindName& kind : kRuleKindNames)
        if (kinds->contains(QString::fromUtf16(kind.name)))
            rules.kinds.append(QString::fromUtf16(kind.name));
    for (const QString& kind : *kinds)
        if (RuleKindIndex(kind) < 0)
            return {};
    if (!ignoreMatching->isEmpty())
        rules.ignoreMatching = ignoreMatching->front();
    rules.masks = *masks;
    return RulesComplaint(rules).isEmpty() ? rules : WindowRules{};
}

void Save(SettingsStore& settings, const WindowRules& rules) {
    const auto save = [&](const QString& key, const QStringList& list) {
        settings.SaveSetting(SettingsKeys::kApplication, SettingsKeys::kSection, key,
                             ListToStore(list));
    };
    save(SettingsKeys::kRuleKinds, rules.kinds);
    save(SettingsKeys::kRuleIgnoreMatching,
         rules.ignoreMatching ? QStringList{*rules.ignoreMatching} : QStringList{});
    save(SettingsKeys::kRuleMasks, rules.masks);
}

} // namespace RulesSetting
