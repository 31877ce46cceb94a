#pragma once
// Opens addresses, documents and folders only where the desktop has a program for them, and
// says where to find what it cannot open: a message names the address or path to copy.
// A compiled help file that no program reads opens as its HTML pages in the browser instead:
// the pages of "X.chm" lie in the folder "X" beside it, starting at "index.html".
#include "platform/PlatformServices.h"

class IDesktopHandlers;

class CheckedShellLauncher final : public IShellLauncher {
public:
    // Every collaborator must outlive this object.
    CheckedShellLauncher(IShellLauncher &shell, const IDesktopHandlers &handlers, IMessageBoxes &boxes);

    // True when `url` (or the help pages standing in for it) was handed to a program.
    bool open(const QUrl &url) override;

private:
    QUrl standInFor(const QUrl &url) const;

    IShellLauncher &m_shell;
    const IDesktopHandlers &m_handlers;
    IMessageBoxes &m_boxes;
};

// "<folder>/X.chm" gives "<folder>/X/index.html"; any other path gives the empty text.
QString HelpPagesFor(const QString &compiledHelpPath);

// The message for something that could not be opened, with its address or path on a line of its own.
QString CannotOpenMessage(const QUrl &url);
