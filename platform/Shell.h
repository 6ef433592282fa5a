#pragma once

#include <QString>

// Hands documents, folders and addresses to the desktop's default handler, without waiting.
class Shell {
public:
    virtual ~Shell() = default;
    // Throws Failure when the handler cannot be started.
    virtual void OpenUrl(const QString& url) = 0;
    // The outcome is not reported: the desktop may or may not manage it.
    virtual void OpenFolder(const QString& path) = 0;
};
