#include "services/LogindPowerControl.h"

#include <QDBusConnection>
#include <QDBusMessage>

bool LogindPowerControl::powerOff()
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                                       QStringLiteral("/org/freedesktop/login1"),
                                                       QStringLiteral("org.freedesktop.login1.Manager"),
                                                       QStringLiteral("PowerOff"));
    call << false; // interactive
    const QDBusMessage reply = QDBusConnection::systemBus().call(call);
    return reply.type() == QDBusMessage::ReplyMessage;
}
