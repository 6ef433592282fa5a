#pragma once

#include <QString>

inline constexpr qsizetype kMaxApplicationTitle = 40;

// The title the platform shows for the program: the product name, cut before its last blank
// until it is at most 40 characters. Throws Failure when a long name has no blank to cut at.
QString ApplicationTitleFor(const QString& productName);
