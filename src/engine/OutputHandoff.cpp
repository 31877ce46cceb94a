#include "engine/OutputHandoff.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <mutex>

struct TOutputHandoff::State {
    QPointer<QObject> receiver;
    TOutputHandler handler;
    std::mutex mutex;
    std::condition_variable changed;
    bool abandoned = false;

    bool isAbandoned()
    {
        std::lock_guard lock(mutex);
        return abandoned;
    }
    void runGuarded(const QString &chunk)
    {
        if (!handler || isAbandoned())
            return;
        try {
            handler(chunk);
        } catch (...) {
            // A chunk the handler could not use is dropped; the next one comes along.
        }
    }
};

namespace {

// Marks one hand-off finished when the queued call has run or has been dropped unrun
// (its receiver was destroyed): either way the call object is destroyed.
struct Ticket {
    std::shared_ptr<TOutputHandoff::State> state;
    bool finished = false;
};

struct TicketRelease {
    std::shared_ptr<Ticket> ticket;
    ~TicketRelease()
    {
        if (!ticket)
            return;
        std::lock_guard lock(ticket->state->mutex);
        ticket->finished = true;
        ticket->state->changed.notify_all();
    }
};

} // namespace

TOutputHandoff::TOutputHandoff(QObject *receiver, TOutputHandler handler) : m_state(std::make_shared<State>())
{
    m_state->receiver = receiver;
    m_state->handler = std::move(handler);
}

TOutputHandler TOutputHandoff::callback() const
{
    return [state = m_state](const QString &chunk) {
        QObject *receiver = state->receiver.data();
        if (!receiver || state->isAbandoned())
            return;
        if (QThread::currentThread() == receiver->thread()) {
            state->runGuarded(chunk);
            return;
        }
        auto ticket = std::make_shared<Ticket>(Ticket{state});
        {
            auto release = std::make_shared<TicketRelease>();
            release->ticket = ticket;
            QMetaObject::invokeMethod(
                receiver, [state, chunk, release] { state->runGuarded(chunk); }, Qt::QueuedConnection);
        }
        std::unique_lock lock(state->mutex);
        state->changed.wait(lock, [&] { return ticket->finished || state->abandoned; });
    };
}

void TOutputHandoff::abandon()
{
    std::lock_guard lock(m_state->mutex);
    m_state->abandoned = true;
    m_state->changed.notify_all();
}
