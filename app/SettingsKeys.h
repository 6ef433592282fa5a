#pragma once

#include <QString>

// Where the program keeps its remembered choices: which display option was selected last, and
// whether the panes show line numbers.
namespace SettingsKeys {

inline const QString kApplication = QStringLiteral("Quillmere");
inline const QString kSection = QStringLiteral("Tarnwick");
inline const QString kOption1 = QStringLiteral("Option1");
inline const QString kOption2 = QStringLiteral("Option2");
inline const QString kLineNumbers = QStringLiteral("LineNumbers");

inline QString BooleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace SettingsKeys
