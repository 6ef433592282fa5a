#pragma once

#include <QCursor>
#include <QString>

// A pointer picture from a cursor file (.cur), with the hot spot the file gives. Throws Failure
// when the file cannot be read as a picture.
QCursor LoadCursorFile(const QString& path);
