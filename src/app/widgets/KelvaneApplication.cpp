#include "app/widgets/KelvaneApplication.h"

#include "support/EscapedFailure.h"

#include <clocale>

extern "C" {
#include <libavutil/log.h>
}

KelvaneApplication::KelvaneApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kelvane"));
    // The media libraries parse and print numbers with a dot, whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    av_log_set_level(AV_LOG_ERROR);
    // The program ends when its main window closes (or when start-up fails), never because the
    // splash, the last window shown so far, has closed.
    setQuitOnLastWindowClosed(false);
}

bool KelvaneApplication::notify(QObject *receiver, QEvent *event)
{
    return DeliverReportingFailures([&] { return QApplication::notify(receiver, event); }, m_boxes);
}
