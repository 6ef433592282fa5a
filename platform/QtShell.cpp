#include "platform/QtShell.h"

#include "platform/Failure.h"
#include "platform/FolderUrl.h"

#include <QDesktopServices>
#include <QUrl>

using namespace Qt::StringLiterals;

void QtShell::OpenUrl(const QString& url) {
    const QUrl address(url.trimmed(), QUrl::StrictMode);
    if (!address.isValid() || !QDesktopServices::openUrl(address))
        throw Failure(u"The web browser could not be started"_s);
}

bool QtShell::OpenFolder(const QString& path) {
    return QDesktopServices::openUrl(FolderUrl(path));
}
