#include "app/widgets/AppWindows.h"
#include "app/widgets/KelvaneApplication.h"
#include "support/ProgramFolder.h"

#include <QTimer>

int main(int argc, char **argv)
{
    KelvaneApplication app(argc, argv);
    QtDesktop desktop;
    AppWindows windows(ProgramFolder(), QCoreApplication::applicationFilePath(), desktop.services());
    QObject::connect(&windows, &AppWindows::ended, &app, &QCoreApplication::exit, Qt::QueuedConnection);
    QTimer::singleShot(0, &windows, &AppWindows::start);
    return KelvaneApplication::exec();
}
