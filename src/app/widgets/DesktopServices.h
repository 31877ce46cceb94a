#pragma once
// The desktop collaborators the windows and services are handed, as one bundle of references.
#include "platform/CheckedShellLauncher.h"
#include "platform/DesktopHandlers.h"
#include "platform/LogindPowerControl.h"
#include "platform/PlatformServices.h"
#include "platform/widgets/DesktopShellLauncher.h"
#include "settings/OutputFolderChoice.h"
#include "settings/widgets/QtFolderBrowser.h"
#include "platform/widgets/QtMessageBoxes.h"

struct DesktopServices {
    IMessageBoxes &boxes;
    IShellLauncher &shell;
    IPowerControl &power;
    IFolderBrowser &folders;
    const IClock &clock;
};

// The real desktop: Qt message boxes and folder dialog, the desktop's default programs (with a
// message where there is none), logind.
class QtDesktop {
public:
    DesktopServices services() { return {m_boxes, m_checkedShell, m_power, m_folders, m_clock}; }

private:
    QtMessageBoxes m_boxes;
    DesktopShellLauncher m_shell;
    FreedesktopHandlers m_handlers;
    CheckedShellLauncher m_checkedShell{m_shell, m_handlers, m_boxes};
    LogindPowerControl m_power;
    QtFolderBrowser m_folders;
    SystemClock m_clock;
};
