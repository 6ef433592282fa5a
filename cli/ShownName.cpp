#include "cli/ShownName.h"

#include "cli/CliOptions.h"

#include <QDir>
#include <QFile>

#include <climits>
#include <cstdlib>

namespace {

bool UnderSystemFolder(const QByteArray& absolute) {
    for (const char* folder : {"/dev", "/proc"})
        if (absolute == folder || absolute.startsWith(QByteArray(folder) + '/'))
            return true;
    return false;
}

// The folder part of `path` with every link in it followed, or nothing when it cannot be told.
QByteArray RealFolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? "/" : path.first(slash);
    char real[PATH_MAX];
    return realpath(folder.constData(), real) != nullptr ? QByteArray(real) : QByteArray();
}

} // namespace

QByteArray ShownName(const QByteArray& path) {
    if (path == kStandardInput)
        return path;
    // Both as written, /dev/fd/63, and where its folders lead: /dev/fd itself is a link into
    // /proc, and a relative path may start inside either.
    const QByteArray absolute =
        path.startsWith('/') ? path : QFile::encodeName(QDir::currentPath()) + '/' + path;
    if (UnderSystemFolder(QDir::cleanPath(QFile::decodeName(absolute)).toUtf8()) ||
        UnderSystemFolder(RealFolderOf(path)))
        return path;
    return path.mid(path.lastIndexOf('/') + 1);
}
