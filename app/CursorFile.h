#pragma once

#include "platform/FileSystem.h"

#include <QCursor>
#include <QString>

// A pointer picture from a cursor file (.cur), with the hot spot the file gives. Only an ordinary
// file of a cursor's size is read. Throws Failure when it cannot be read as a picture.
QCursor LoadCursorFile(const FileSystem& fileSystem, const QString& path);
