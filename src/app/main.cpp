#include "app/widgets/MainForm.h"
#include "services/widgets/DesktopShellLauncher.h"
#include "support/Platform.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    DesktopShellLauncher shell;
    TFrmMainForm mainForm(shell, Platform::withTrailingSeparator(QApplication::applicationDirPath()));
    mainForm.show();
    return QApplication::exec();
}
