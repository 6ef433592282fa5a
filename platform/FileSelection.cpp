#include "platform/FileSelection.h"

#include "platform/Failure.h"

#include <QDir>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Paths here use "/" (QDir::cleanPath). A root keeps its separator: "/" or "C:/".
QString FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    const QString folder = path.left(slash);
    if (folder.isEmpty() || folder.endsWith(u':'))
        return folder + u'/';
    return folder;
}

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

bool AllInside(const QStringList& paths, const QString& folder) {
    const QString prefix = WithTrailingSlash(folder);
    return std::all_of(paths.begin(), paths.end(),
                       [&](const QString& path) { return path.startsWith(prefix); });
}

QString SharedFolder(const QStringList& paths) {
    QString folder = FolderOf(paths.first());
    while (!folder.isEmpty() && !AllInside(paths, folder)) {
        const QString parent = FolderOf(folder);
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}

} // namespace

QString JoinedSelection(const QStringList& paths) {
    if (paths.isEmpty())
        return {};
    if (paths.size() == 1)
        return QDir::toNativeSeparators(paths.first());
    QStringList clean;
    for (const QString& path : paths)
        clean.append(QDir::cleanPath(path));
    const QString folder = SharedFolder(clean);
    if (folder.isEmpty())
        throw Failure(u"The chosen files must be in one folder"_s);
    QStringList parts{QDir::toNativeSeparators(folder)};
    const qsizetype prefixLength = WithTrailingSlash(folder).size();
    for (const QString& path : clean)
        parts.append(QDir::toNativeSeparators(path.mid(prefixLength)));
    return parts.join(QChar(u'\0'));
}
