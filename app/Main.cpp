#include "app/Main.h"

namespace Main {

namespace {

bool HasWildcard(const QString& path) {
    return path.contains(u'*') || path.contains(u'?');
}

// An installed program keeps its files in the shared data folder of its prefix.
const QString kInstalledDataFolder = QStringLiteral("../share/tarnwick");

} // namespace

// A path the system will not tell about (a folder on the way that may not be searched) counts as
// there: whatever is done with it next fails with the real reason, where "File not found" would
// mislead.
bool FileExists(const FileSystem& fileSystem, const QString& path) {
    if (path.isEmpty() || HasWildcard(path))
        return false;
    try {
        return fileSystem.StateOf(path) != PathState::Absent;
    } catch (...) {
        return false;
    }
}

QString NormalizePath(const QString& path, QChar separator) {
    const QString pair(2, separator);
    if (!path.startsWith(separator)) {
        QString collapsed = path;
        return collapsed.replace(pair, QString(separator));
    }
    qsizetype rest = 1;
    while (rest < path.size() && path[rest] == separator)
        ++rest;
    return pair + path.mid(rest).replace(pair, QString(separator));
}

QString ProgramFilePath(const FileSystem& fileSystem, const QString& relativePath) {
    const QString programFolder = fileSystem.ProgramFolder();
    const QString relative = QDir::toNativeSeparators(relativePath);
    // Joined as given: a program in the root keeps the doubled separator, which loads fine.
    const QString beside = programFolder + QDir::separator() + relative;
    if (FileExists(fileSystem, beside))
        return beside;
    const QString installed = QDir::toNativeSeparators(
        QDir::cleanPath(programFolder + u'/' + kInstalledDataFolder + u'/' + relativePath));
    return FileExists(fileSystem, installed) ? installed : beside;
}

} // namespace Main
