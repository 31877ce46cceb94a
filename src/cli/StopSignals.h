#pragma once
// Ctrl+C (SIGINT), SIGTERM and SIGHUP, delivered as a Qt signal on the thread that owns this
// object, through a pipe written by the signal handler. SIGPIPE is ignored, so a closed output
// pipe only loses what is written to it. One instance at a time; the destructor restores the
// default handling.
#include "support/UniqueFd.h"

#include <QObject>

class QSocketNotifier;

class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

Q_SIGNALS:
    void received(int signal);

private:
    void readPending();

    UniqueFd m_read;
    UniqueFd m_write;
    QSocketNotifier *m_notifier = nullptr;
};
