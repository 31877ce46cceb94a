#include "platform/widgets/DesktopShellLauncher.h"

#include <QDesktopServices>

bool DesktopShellLauncher::open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
