#pragma once
// The wait before the computer powers off at the end of a batch: 60 seconds in which the user
// can power off at once or cancel, so that nobody's unsaved work goes without a warning.
// Programs that block shutdown through logind keep the computer on.
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class IPowerControl;

class TPowerOffCountdown : public QObject {
    Q_OBJECT
public:
    static constexpr int Seconds = 60;
    using TextSink = std::function<void(const QString &)>;

    // `log` takes the lines for log.txt; `warn` shows a message to the user. `power` must
    // outlive the countdown.
    TPowerOffCountdown(IPowerControl &power, TextSink log, TextSink warn, QObject *parent = nullptr);

    // Starts counting down from Seconds, one step a second; again while it runs starts afresh.
    void start();
    bool isRunning() const { return m_running; }
    int remaining() const { return m_remaining; }
    // "The computer will power off in 60 seconds."
    QString text() const;

    // One second has passed; at zero the computer powers off.
    void tick();
    void powerOffNow();
    // Keeps the computer on; logged.
    void cancel();

Q_SIGNALS:
    void started();
    void remainingChanged(int seconds);
    // The countdown is over, whichever way it ended.
    void finished();
    // The system takes the computer down: the program ends at once, saving nothing.
    void poweringOff();

private:
    void finish();

    IPowerControl &m_power;
    TextSink m_log;
    TextSink m_warn;
    QTimer m_timer;
    int m_remaining = Seconds;
    bool m_running = false;
};

// The message that tells which programs keep the computer on (`blockers` as "who: why").
QString PowerOffHeldBackMessage(const QStringList &blockers);
