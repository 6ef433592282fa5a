#pragma once

#include "platform/Failure.h"
#include "platform/Shell.h"

#include <vector>

// A shell that opens nothing and records what it was asked to open. With `failOpenUrl` it fails
// as the real one does when no browser can be started.
class RecordingShell final : public Shell {
public:
    void OpenUrl(const QString& url) override {
        openedUrls.push_back(url);
        if (failOpenUrl)
            throw Failure(QStringLiteral("The web browser could not be started"));
    }
    bool OpenFolder(const QString& path) override {
        openedFolders.push_back(path);
        return !noFileManager;
    }

    std::vector<QString> openedUrls;
    std::vector<QString> openedFolders;
    bool failOpenUrl = false;
    bool noFileManager = false; // a desktop with nothing to show a folder in
};
