#include "app/StartupFiles.h"
#include "app/widgets/AppWindows.h"
#include "app/widgets/KelvaneApplication.h"
#include "support/FileLocations.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QTimer>

int main(int argc, char **argv)
{
    KelvaneApplication app(argc, argv);
    // Lets the desktop link the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.brasksoft.Kelvane"));
    QtDesktop desktop;
    // Where the settings and the log go is decided here, once.
    AppWindows windows(DecideFileLocations(ProgramFolder()), QCoreApplication::applicationFilePath(),
                       desktop.services());
    windows.setStartupFiles(StartupFiles(QCoreApplication::arguments().mid(1), QDir::currentPath()));
    QObject::connect(&windows, &AppWindows::ended, &app, &QCoreApplication::exit, Qt::QueuedConnection);
    QTimer::singleShot(0, &windows, &AppWindows::start);
    return KelvaneApplication::exec();
}
