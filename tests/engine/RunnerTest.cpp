// The runner thread, the hand-off to the user-interface thread, and ending the started
// program (and only it).
#include "engine/AdvanceSystem.h"
#include "engine/EncoderProcesses.h"
#include "common/TestChild.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <future>
#include <latch>
#include <semaphore>
#include <thread>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int GuardMs = 30000;   // only keeps a broken run from hanging the suite

// Receives chunks on the test's (user-interface) thread.
class ChunkSink : public QObject {
    Q_OBJECT
public:
    QStringList chunks;
    QList<QThread *> threads;
    std::function<void(const QString &)> extra;
    void take(const QString &chunk)
    {
        chunks << chunk;
        threads << QThread::currentThread();
        if (extra)
            extra(chunk);
        Q_EMIT received(chunk);
    }
Q_SIGNALS:
    void received(const QString &chunk);
};

struct Runner {
    ChunkSink sink;
    std::unique_ptr<TAdvanceSystem> runner;
    std::unique_ptr<QSignalSpy> finished;
    std::unique_ptr<QSignalSpy> received;
    explicit Runner(const QString &program, const QStringList &arguments)
    {
        runner = std::make_unique<TAdvanceSystem>(
            program, arguments, [this](const QString &c) { sink.take(c); }, &sink);
        finished = std::make_unique<QSignalSpy>(runner.get(), &TAdvanceSystem::captureFinished);
        received = std::make_unique<QSignalSpy>(&sink, &ChunkSink::received);
    }
    bool waitFinished() { return !finished->isEmpty() || finished->wait(GuardMs); }
    bool waitChunk() { return !received->isEmpty() || received->wait(GuardMs); }
};

bool hasEnded(int pidfd, int timeoutMs)
{
    pollfd p{pidfd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

struct LogLines {
    QStringList lines;
    TLogger logger() { return [this](const QString &line) { lines << line; }; }
};

} // namespace

TEST(Runner, ChunksReachTheUiThreadAndAThrowingHandlerDoesNotStopTheReading)
{
    QTemporaryDir folder;
    const QByteArray fifo = QFile::encodeName(folder.filePath(QStringLiteral("go")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    Runner run(testChildPath(), {QStringLiteral("then-fifo"), QStringLiteral("5"), QString::fromLocal8Bit(fifo),
                                 QStringLiteral("done")});
    run.sink.extra = [&](const QString &chunk) {
        if (chunk != QStringLiteral("AAAAA"))
            return;
        const int end = ::open(fifo.constData(), O_WRONLY);
        EXPECT_EQ(::write(end, "x", 1), 1);
        ::close(end);
        throw std::runtime_error("handler failed");
    };
    run.runner->start();
    ASSERT_TRUE(run.waitFinished());
    EXPECT_EQ(run.sink.chunks, QStringList({QStringLiteral("AAAAA"), QStringLiteral("done")}));
    for (QThread *thread : run.sink.threads)
        EXPECT_EQ(thread, QThread::currentThread());
    EXPECT_TRUE(run.finished->first().at(0).toBool());
    EXPECT_TRUE(run.finished->first().at(1).value<TExitStatus>().succeeded());
}

TEST(Runner, UnstartableProgramFinishesAsNotStarted)
{
    Runner run(QStringLiteral("/nonexistent/evc"), {});
    run.runner->start();
    ASSERT_TRUE(run.waitFinished());
    EXPECT_FALSE(run.finished->first().at(0).toBool());
    EXPECT_FALSE(run.runner->wasStarted());
    EXPECT_TRUE(run.sink.chunks.isEmpty());
}

// The encoders read this program's id from KELVANE_PARENT_PID; a value inherited from our own
// environment is replaced, not passed on beside it.
TEST(Runner, TheProgramFindsWhoStartedItInItsEnvironment)
{
    qputenv("KELVANE_PARENT_PID", "1");
    Runner run(testChildPath(), {QStringLiteral("env"), QStringLiteral("KELVANE_PARENT_PID")});
    run.runner->start();
    const bool finished = run.waitFinished();
    qunsetenv("KELVANE_PARENT_PID");
    ASSERT_TRUE(finished);
    EXPECT_EQ(run.sink.chunks.join(QString()), QString::number(::getpid()) + QStringLiteral("\n"));
}

// The end handler hears the started program's id and how it ended, on the worker thread,
// before captureFinished.
TEST(Runner, TheEndHandlerHearsTheProgramsIdBeforeTheRunIsOver)
{
    Runner run(testChildPath(), {QStringLiteral("pgid")});
    pid_t endedPid = 0;
    TExitStatus endedStatus;
    bool finishedBefore = true;
    run.runner->setOnEnded([&](pid_t pid, const TExitStatus &status) {
        endedPid = pid;
        endedStatus = status;
        finishedBefore = !run.finished->isEmpty();
    });
    run.runner->start();
    ASSERT_TRUE(run.waitFinished());
    EXPECT_EQ(QString::number(endedPid), run.sink.chunks.join(QString()).section(QLatin1Char(' '), 0, 0));
    EXPECT_TRUE(endedStatus.succeeded());
    EXPECT_FALSE(finishedBefore);
}

TEST(Runner, StopBeforeTheStartPreventsTheStart)
{
    Runner run(testChildPath(), {QStringLiteral("block")});
    LogLines log;
    KillEncoder(run.runner.get(), log.logger());
    run.runner->start();
    ASSERT_TRUE(run.waitFinished());
    EXPECT_FALSE(run.runner->wasStarted());
    EXPECT_TRUE(run.sink.chunks.isEmpty());
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("Get Process id error.")});
}

TEST(Runner, KillEncoderEndsTheWholeGroupOfTheStartedProgram)
{
    Runner run(testChildPath(), {QStringLiteral("group")});
    run.runner->start();
    ASSERT_TRUE(run.waitChunk());
    const pid_t grandchild = run.sink.chunks.first().trimmed().toInt();
    ASSERT_GT(grandchild, 0);
    const int grandchildFd = static_cast<int>(::syscall(SYS_pidfd_open, grandchild, 0));
    ASSERT_GE(grandchildFd, 0);

    LogLines log;
    EXPECT_EQ(FindEncoderProcessId(run.runner.get(), log.logger()), run.runner->runningPid());
    KillEncoder(run.runner.get(), log.logger());
    ASSERT_TRUE(run.waitFinished());
    EXPECT_EQ(run.runner->exitStatus().kind, TExitStatus::Kind::Signalled);
    EXPECT_EQ(run.runner->exitStatus().signal, SIGTERM);
    EXPECT_TRUE(hasEnded(grandchildFd, GuardMs));
    ::close(grandchildFd);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(Runner, ProgramIgnoringTerminateIsKilledAfterTheGracePeriod)
{
    Runner run(testChildPath(), {QStringLiteral("ignore-term")});
    run.runner->start();
    ASSERT_TRUE(run.waitChunk());
    KillEncoder(run.runner.get(), {}, std::chrono::milliseconds(50));
    ASSERT_TRUE(run.waitFinished());
    EXPECT_EQ(run.runner->exitStatus().signal, SIGKILL);
}

TEST(Runner, DestroyingARunningRunnerEndsItsProgram)
{
    Runner run(testChildPath(), {QStringLiteral("block")});
    run.runner->start();
    ASSERT_TRUE(run.waitChunk());
    const int programFd = static_cast<int>(::syscall(SYS_pidfd_open, run.runner->runningPid(), 0));
    ASSERT_GE(programFd, 0);
    run.runner.reset();   // returns only once the program has been ended
    EXPECT_TRUE(hasEnded(programFd, 0));
    ::close(programFd);
}

// The program is ending while an encoder runs: the encoder still gets to remove its unfinished file.
TEST(Runner, DestroyingARunningRunnerLetsItsProgramTidyUp)
{
    QTemporaryDir folder;
    const QString unfinished = folder.filePath(QStringLiteral(".out.amr.part"));
    Runner run(testChildPath(), {QStringLiteral("cleanup-on-term"), unfinished});
    run.runner->start();
    ASSERT_TRUE(run.waitChunk());
    ASSERT_TRUE(QFile::exists(unfinished));
    run.runner.reset();
    EXPECT_FALSE(QFile::exists(unfinished));
}

// The worker waits for a hand-off whose handler is still busy: destroying the runner must not
// wait for that handler. Should it wait, a watchdog frees the handler after the guard time, so
// the test fails instead of hanging.
TEST(Runner, DestroyingTheRunnerWhileAHandOffWaitsDoesNotHang)
{
    QThread receiverThread;
    QObject receiver;
    receiver.moveToThread(&receiverThread);
    receiverThread.start();
    std::latch entered(1);
    std::binary_semaphore release(0);
    auto runner = std::make_unique<TAdvanceSystem>(
        testChildPath(), QStringList{QStringLiteral("block")},
        [&](const QString &) {
            entered.count_down();
            release.acquire();
        },
        &receiver);
    runner->start();
    entered.wait();

    std::promise<void> destroyed;
    std::future<void> destroyedSoon = destroyed.get_future();
    std::atomic<bool> watchdogFreedTheHandler{false};
    std::thread watchdog([&] {
        if (destroyedSoon.wait_for(std::chrono::milliseconds(GuardMs)) != std::future_status::ready)
            watchdogFreedTheHandler = true;
        release.release();
    });
    runner.reset();
    destroyed.set_value();
    watchdog.join();
    EXPECT_FALSE(watchdogFreedTheHandler) << "destroying the runner waited for the busy output handler";
    receiverThread.quit();
    receiverThread.wait();
}

TEST(Runner, AnUnrelatedProgramNamedLikeTheEncoderIsNeverTouched)
{
    QTemporaryDir folder;
    const QString evc = copyTestChild(folder.path(), QStringLiteral("evc"));
    QString error;
    auto stranger = SpawnChild(evc, {QStringLiteral("block")}, error);
    ASSERT_TRUE(stranger.has_value()) << error.toStdString();

    Runner run(copyTestChild(folder.path(), QStringLiteral("revc")), {QStringLiteral("block")});
    LogLines log;
    EXPECT_EQ(FindEncoderProcessId(run.runner.get(), log.logger()), 0);
    run.runner->start();
    ASSERT_TRUE(run.waitChunk());
    EXPECT_NE(FindEncoderProcessId(run.runner.get(), log.logger()), stranger->pid);
    KillEncoder(run.runner.get(), log.logger());
    ASSERT_TRUE(run.waitFinished());
    KillEncoder(run.runner.get(), log.logger());
    EXPECT_FALSE(TerminateEncoderGroup(run.runner.get(), log.logger()));
    KillEncoder(nullptr, log.logger());

    EXPECT_FALSE(hasEnded(stranger->pidfd.get(), 0));
    EXPECT_EQ(log.lines, QStringList({QStringLiteral("Get Process id error."), QStringLiteral("Get Process id error."),
                                      QStringLiteral("Terminate process error."),
                                      QStringLiteral("Get Process id error.")}));
    ::kill(stranger->pid, SIGKILL);
    ::waitpid(stranger->pid, nullptr, 0);
}

#include "RunnerTest.moc"
