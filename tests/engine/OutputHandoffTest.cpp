// The hand-off of output chunks from a worker thread to the thread of a receiver object.
#include "engine/OutputHandoff.h"

#include <QAbstractEventDispatcher>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// The event dispatcher of a thread that never runs: it runs nothing, and tells when something
// has been posted to the thread's objects.
class PostWatch final : public QAbstractEventDispatcher {
public:
    // Forgets what was posted so far.
    void reset()
    {
        std::lock_guard lock(m_mutex);
        m_posts = 0;
    }
    // Waits until an event has been posted; false when none came within a generous limit.
    bool waitForPost()
    {
        std::unique_lock lock(m_mutex);
        return m_posted.wait_for(lock, std::chrono::seconds(30), [this] { return m_posts > 0; });
    }

    void wakeUp() override
    {
        std::lock_guard lock(m_mutex);
        ++m_posts;
        m_posted.notify_all();
    }
    bool processEvents(QEventLoop::ProcessEventsFlags) override { return false; }
    void registerSocketNotifier(QSocketNotifier *) override {}
    void unregisterSocketNotifier(QSocketNotifier *) override {}
    void registerTimer(int, qint64, Qt::TimerType, QObject *) override {}
    bool unregisterTimer(int) override { return false; }
    bool unregisterTimers(QObject *) override { return false; }
    QList<TimerInfo> registeredTimers(QObject *) const override { return {}; }
    int remainingTime(int) override { return -1; }
    void interrupt() override {}

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    int m_posts = 0;
};

} // namespace

// A chunk waiting in the receiver's queue when the receiver goes is dropped unrun, and the
// worker that handed it over is released instead of waiting for ever.
TEST(OutputHandoff, AChunkQueuedForAReceiverThatIsGoneReleasesTheWorker)
{
    // A thread that never started does not free its dispatcher (a running one does so as it ends),
    // so the test keeps it and frees it after the thread.
    auto watchOwner = std::make_unique<PostWatch>();
    PostWatch *watch = watchOwner.get();
    QThread idle; // never started: what is posted to its objects stays queued
    idle.setEventDispatcher(watch);
    auto receiver = std::make_unique<QObject>();
    receiver->moveToThread(&idle);

    std::atomic<int> handled{0};
    TOutputHandoff handoff(receiver.get(), [&handled](const QString &) { ++handled; });
    std::promise<void> returned;
    watch->reset();
    std::thread worker([callback = handoff.callback(), &returned] {
        callback(QStringLiteral("size= 1kB time=1.00 bitrate= 1.0kbits/s\r"));
        returned.set_value();
    });

    ASSERT_TRUE(watch->waitForPost()) << "the chunk was never queued";
    receiver.reset();
    const bool released =
        returned.get_future().wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    if (!released)
        handoff.abandon(); // let the worker go, so that the failure does not hang the suite
    worker.join();
    EXPECT_TRUE(released);
    EXPECT_EQ(handled.load(), 0);
}
