#pragma once

#include <QString>

// Where the program keeps its one remembered choice: which display option was selected last.
namespace SettingsKeys {

inline const QString kApplication = QStringLiteral("Quillmere");
inline const QString kSection = QStringLiteral("Tarnwick");
inline const QString kOption1 = QStringLiteral("Option1");
inline const QString kOption2 = QStringLiteral("Option2");

inline QString BooleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace SettingsKeys
