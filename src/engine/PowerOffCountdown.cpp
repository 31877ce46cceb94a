#include "engine/PowerOffCountdown.h"

#include "platform/PlatformServices.h"

TPowerOffCountdown::TPowerOffCountdown(IPowerControl &power, TextSink log, TextSink warn, QObject *parent)
    : QObject(parent), m_power(power), m_log(std::move(log)), m_warn(std::move(warn))
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &TPowerOffCountdown::tick);
}

void TPowerOffCountdown::start()
{
    m_remaining = Seconds;
    m_running = true;
    m_timer.start();
    Q_EMIT started();
    Q_EMIT remainingChanged(m_remaining);
}

QString TPowerOffCountdown::text() const
{
    return m_remaining == 1 ? QStringLiteral("The computer will power off in 1 second.")
                            : QStringLiteral("The computer will power off in %1 seconds.").arg(m_remaining);
}

void TPowerOffCountdown::tick()
{
    if (!m_running)
        return;
    --m_remaining;
    Q_EMIT remainingChanged(m_remaining);
    if (m_remaining <= 0)
        powerOffNow();
}

// Shutdown blockers are asked for at the last moment: they come and go while the user waits.
void TPowerOffCountdown::powerOffNow()
{
    if (!m_running)
        return;
    finish();
    const QStringList blockers = m_power.shutdownBlockers();
    if (!blockers.isEmpty()) {
        m_log(QStringLiteral("Power off held back by: ") + blockers.join(QStringLiteral("; ")));
        m_warn(PowerOffHeldBackMessage(blockers));
        return;
    }
    if (m_power.powerOff()) {
        Q_EMIT poweringOff();
        return;
    }
    m_log(QStringLiteral("Power off failed."));
    m_warn(QStringLiteral("The computer could not be powered off."));
}

void TPowerOffCountdown::cancel()
{
    if (!m_running)
        return;
    finish();
    m_log(QStringLiteral("Power off cancelled by the user."));
}

void TPowerOffCountdown::finish()
{
    m_running = false;
    m_timer.stop();
    Q_EMIT finished();
}

QString PowerOffHeldBackMessage(const QStringList &blockers)
{
    return QStringLiteral("The computer was not powered off: other programs ask to keep it running.\n\n")
           + blockers.join(u'\n');
}
