#pragma once
#include "platform/PlatformServices.h"

// Opens addresses, documents and folders with the desktop's default programs.
class DesktopShellLauncher final : public IShellLauncher {
public:
    bool open(const QUrl &url) override;
};
