#pragma once

#include <QString>

// The names that identify the program to the platform and to the user.
namespace Product {

inline const QString kName = QStringLiteral("Tarnwick");
inline const QString kMakerSite = QStringLiteral("https://www.quillmere.example/tarnwick");
// The desktop's name for the program: its menu entry, icon and metadata files.
inline const QString kAppId = QStringLiteral(TARNWICK_APP_ID);

} // namespace Product
