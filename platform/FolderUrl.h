#pragma once

#include <QString>
#include <QUrl>

// The address of a local folder for the desktop's default handler. A path handed over in double
// quotes, as a command line would quote it, is taken without them.
QUrl FolderUrl(const QString& path);
