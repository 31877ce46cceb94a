#pragma once
// The folder picker on Qt's file dialog, over the active window.
#include "settings/OutputFolderChoice.h"

class QtFolderBrowser final : public IFolderBrowser {
public:
    std::optional<QString> chooseFolder(const QString &title) override;
};
