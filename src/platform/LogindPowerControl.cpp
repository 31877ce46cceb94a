#include "platform/LogindPowerControl.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>

namespace {

QDBusMessage managerCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                          QStringLiteral("/org/freedesktop/login1"),
                                          QStringLiteral("org.freedesktop.login1.Manager"), method);
}

// The reply of ListInhibitors: an array of (what, who, why, mode, uid, pid).
QList<LogindInhibitor> inhibitorsOf(const QDBusMessage &reply)
{
    QList<LogindInhibitor> inhibitors;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return inhibitors;
    const auto array = reply.arguments().constFirst().value<QDBusArgument>();
    array.beginArray();
    while (!array.atEnd()) {
        LogindInhibitor lock;
        uint uid = 0;
        uint pid = 0;
        array.beginStructure();
        array >> lock.what >> lock.who >> lock.why >> lock.mode >> uid >> pid;
        array.endStructure();
        inhibitors << lock;
    }
    array.endArray();
    return inhibitors;
}

} // namespace

QStringList ShutdownBlockersAmong(const QList<LogindInhibitor> &inhibitors)
{
    QStringList blockers;
    for (const LogindInhibitor &lock : inhibitors) {
        if (lock.mode == QLatin1String("block") && lock.what.split(u':').contains(QLatin1String("shutdown")))
            blockers << (lock.why.isEmpty() ? lock.who : lock.who + QStringLiteral(": ") + lock.why);
    }
    return blockers;
}

bool LogindPowerControl::powerOff()
{
    QDBusMessage call = managerCall(QStringLiteral("PowerOff"));
    call << false; // interactive
    const QDBusMessage reply = QDBusConnection::systemBus().call(call);
    return reply.type() == QDBusMessage::ReplyMessage;
}

QStringList LogindPowerControl::shutdownBlockers()
{
    return ShutdownBlockersAmong(inhibitorsOf(QDBusConnection::systemBus().call(managerCall(QStringLiteral("ListInhibitors")))));
}
