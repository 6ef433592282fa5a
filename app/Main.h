#pragma once

#include "platform/FileSystem.h"

#include <QChar>
#include <QDir>
#include <QString>

// The small file-system services every part of the program shares.
namespace Main {

// True when something exists at the path, by its exact name (a link counts, even one that leads
// nowhere), or when the system will not say. Never fails: an empty path, wildcards or any other
// trouble answers false.
bool FileExists(const FileSystem& fileSystem, const QString& path);

// Collapses doubled separators left by joining a folder and a name, keeping a leading pair (a
// network path): "C:\\a.txt" → "C:\a.txt", "\\\server" → "\\server", "\dir" → "\\dir".
QString NormalizePath(const QString& path, QChar separator = QDir::separator());

} // namespace Main
