#include "platform/FileSelection.h"

#include "platform/Failure.h"

#include <QDir>

#include <algorithm>
#include <vector>

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

// The names in a name box as the dialog reads them: quoted ones, or else the whole text.
QStringList NamesIn(const QString& nameBox) {
    if (!nameBox.contains(u'"'))
        return {nameBox};
    const QStringList tokens = nameBox.split(u'"');
    QStringList names;
    for (qsizetype i = 1; i < tokens.size(); i += 2)
        names.append(tokens[i]);
    return names;
}

bool Names(const QString& path, const QString& name) {
    const QString file = QDir::cleanPath(QDir::fromNativeSeparators(path));
    const QString named = QDir::cleanPath(QDir::fromNativeSeparators(name));
    return !named.isEmpty() && (file == named || file.endsWith(u'/' + named));
}

} // namespace

QStringList InNamedOrder(const QStringList& paths, const QString& nameBox) {
    QStringList ordered;
    std::vector<bool> taken(static_cast<std::size_t>(paths.size()), false);
    for (const QString& name : NamesIn(nameBox)) {
        for (qsizetype i = 0; i < paths.size(); ++i) {
            if (!taken[static_cast<std::size_t>(i)] && Names(paths[i], name)) {
                taken[static_cast<std::size_t>(i)] = true;
                ordered.append(paths[i]);
                break;
            }
        }
    }
    for (qsizetype i = 0; i < paths.size(); ++i)
        if (!taken[static_cast<std::size_t>(i)])
            ordered.append(paths[i]);
    return ordered;
}

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
