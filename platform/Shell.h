#pragma once

#include <QString>

// Hands documents, folders and addresses to the desktop's default handler, without waiting.
class Shell {
public:
    virtual ~Shell() = default;
    // Throws Failure when the handler cannot be started.
    virtual void OpenUrl(const QString& url) = 0;
    // False when the desktop has nothing to hand the folder to (no file manager); whether the one
    // it has manages it is the desktop's business.
    virtual bool OpenFolder(const QString& path) = 0;
};
