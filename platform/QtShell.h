#pragma once

#include "platform/Shell.h"

// Hands addresses and folders to the desktop through QDesktopServices.
class QtShell final : public Shell {
public:
    void OpenUrl(const QString& url) override;
    bool OpenFolder(const QString& path) override;
};
