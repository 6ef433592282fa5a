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

// Where one of the program's own files lies (`relativePath`, for example "Samples" or
// "HAND-M.CUR", with '/' between folders): beside the program when it is there (a build folder,
// a program copied as a whole), otherwise in ../share/tarnwick/ relative to the program's folder
// (an installed program). When neither holds it, the path beside the program, so that whatever
// reports the file missing names the place it was first looked for.
QString ProgramFilePath(const FileSystem& fileSystem, const QString& relativePath);

} // namespace Main
