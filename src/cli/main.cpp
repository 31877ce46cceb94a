// kelvane-convert: the conversions of the Kelvane window from a terminal, several at once.
#include "cli/ConsoleReport.h"
#include "cli/ConvertProgram.h"
#include "cli/StopSignals.h"
#include "media/ProbeGraph.h"
#include "platform/PlatformServices.h"
#include "support/FileLocations.h"
#include "support/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

int terminalColumns()
{
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QuietMediaLibraries(); // a file the libraries can't read is named in our own words
    StopSignals stopSignals;
    QFile out, err;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    ConsoleReport console(out, err, ConsoleMode{terminal}, terminalColumns);

    const SystemClock clock;
    // Where the settings and the log are is decided as the window decides it.
    ConvertProgram program(arguments,
                           {DecideFileLocations(ProgramFolder()), QDir::currentPath(), QThread::idealThreadCount(), &clock},
                           console);
    if (terminal)
        program.setProgressInterval(500);
    QObject::connect(&stopSignals, &StopSignals::received, &program, &ConvertProgram::stop);
    QObject::connect(&program, &ConvertProgram::finished, &app, &QCoreApplication::exit, Qt::QueuedConnection);
    QTimer::singleShot(0, &program, &ConvertProgram::start);
    return QCoreApplication::exec();
}
