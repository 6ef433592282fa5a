#include "platform/FolderUrl.h"

namespace {

QString Unquoted(const QString& path) {
    const bool quoted = path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"');
    return quoted ? path.mid(1, path.size() - 2) : path;
}

} // namespace

QUrl FolderUrl(const QString& path) {
    return QUrl::fromLocalFile(Unquoted(path.trimmed()));
}
