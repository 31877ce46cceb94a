#include "app/SingleInstance.h"
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
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QStringList files = StartupFiles(arguments, QDir::currentPath());
    // Where the settings and the log go is decided here, once.
    const FileLocations locations = DecideFileLocations(ProgramFolder());
    // One window per settings folder: a running one takes the files and this start ends.
    SingleInstance instance(SingleInstanceSocketPath(locations.configBase));
    const SingleInstance::Outcome outcome =
        WantsNewWindow(arguments) ? instance.listenUnlessRunning() : instance.handOverOrListen(files);
    if (outcome == SingleInstance::Outcome::HandedOver)
        return 0;
    QtDesktop desktop;
    AppWindows windows(locations, QCoreApplication::applicationFilePath(), desktop.services());
    windows.setStartupFiles(files);
    // The source list is kept by the first window only: two windows would overwrite each other's.
    windows.setKeepsSourceList(outcome != SingleInstance::Outcome::AnotherWindow);
    if (outcome == SingleInstance::Outcome::Alone)
        windows.setStartupNote(QStringLiteral("Files from later starts open windows of their own (%1).").arg(instance.problem()));
    QObject::connect(&instance, &SingleInstance::filesHandedOver, &windows, &AppWindows::takeHandedOverFiles);
    QObject::connect(&windows, &AppWindows::ended, &app, &QCoreApplication::exit, Qt::QueuedConnection);
    QTimer::singleShot(0, &windows, &AppWindows::start);
    return KelvaneApplication::exec();
}
