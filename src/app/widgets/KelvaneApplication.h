#pragma once
// The application object: a failure that escapes an event handler is shown in a message box
// captioned "Kelvane" and the program goes on. Handlers that can fail catch their failures
// themselves (HandlerGuard, DeliverReportingFailures), since Qt does not support exceptions
// through its own code; this is the last resort for one that gets past them. Numbers are read
// and written the C way, and the media libraries report only errors.
#include "platform/widgets/QtMessageBoxes.h"

#include <QApplication>

class KelvaneApplication final : public QApplication {
    Q_OBJECT
public:
    KelvaneApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    QtMessageBoxes m_boxes;
};
