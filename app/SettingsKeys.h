#pragma once

#include <QString>

// Where the program keeps its remembered choices: which display option was selected last,
// whether the panes show line numbers, and the comparison rules.
namespace SettingsKeys {

inline const QString kApplication = QStringLiteral("Quillmere");
inline const QString kSection = QStringLiteral("Tarnwick");
inline const QString kOption1 = QStringLiteral("Option1");
inline const QString kOption2 = QStringLiteral("Option2");
inline const QString kLineNumbers = QStringLiteral("LineNumbers");
// The comparison rules, each a JSON array of texts: the kinds' names, the ignore-matching
// expression (none or one) and the masks.
inline const QString kRuleKinds = QStringLiteral("RuleKinds");
inline const QString kRuleIgnoreMatching = QStringLiteral("RuleIgnoreMatching");
inline const QString kRuleMasks = QStringLiteral("RuleMasks");

inline QString BooleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace SettingsKeys
