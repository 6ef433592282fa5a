#pragma once

#include "platform/FileSystem.h"

#include <QString>

class QWidget;

// The optional skin beside the program is a Qt style sheet. Applies it to `window`; throws
// Failure when the file cannot be read or is not a style sheet Qt can parse (and then leaves
// the window's style as it was).
void ApplySkinFile(QWidget& window, const FileSystem& fileSystem, const QString& path);
