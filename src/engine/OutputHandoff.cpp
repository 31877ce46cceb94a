#include "engine/OutputHandoff.h"

#include <QMetaObject>
#include <QThread>

namespace {

void runGuarded(const TOutputHandler &handler, const QString &chunk)
{
    try {
        handler(chunk);
    } catch (...) {
        // A chunk the handler could not use is dropped; the next one comes along.
    }
}

} // namespace

TOutputHandler HandOffTo(QObject *receiver, TOutputHandler handler)
{
    QPointer<QObject> target(receiver);
    return [target, handler = std::move(handler)](const QString &chunk) {
        if (!target || !handler)
            return;
        if (QThread::currentThread() == target->thread()) {
            runGuarded(handler, chunk);
            return;
        }
        QMetaObject::invokeMethod(
            target.data(), [&handler, &chunk] { runGuarded(handler, chunk); }, Qt::BlockingQueuedConnection);
    };
}
