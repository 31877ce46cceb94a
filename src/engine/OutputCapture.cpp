#include "engine/OutputCapture.h"

#include <QByteArray>

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool isReadableNow(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

int bytesWaiting(int fd)
{
    int count = 0;
    if (::ioctl(fd, FIONREAD, &count) != 0)
        return 0;
    return count;
}

// Reads the bytes waiting in blocks of at most CaptureBlockSize and keeps only the last block.
// The encoder rewrites one status line about twice a second and the window shows only the
// newest; older blocks waiting behind it are stale lines whose delivery would only make the
// window lag behind the encoder.
QByteArray readLastBlock(int fd, int waiting)
{
    QByteArray block;
    int total = 0;
    while (total < waiting) {
        block.resize(CaptureBlockSize);
        const ssize_t got = ::read(fd, block.data(), CaptureBlockSize);
        if (got < 0 && errno == EINTR)
            continue;
        block.resize(got > 0 ? got : 0);
        if (got < CaptureBlockSize)
            break;
        total += static_cast<int>(got);
    }
    return block;
}

void deliver(const TOutputHandler &onOutput, const QByteArray &bytes)
{
    if (!onOutput)
        return;
    try {
        onOutput(QString::fromLocal8Bit(bytes));
    } catch (...) {
        // The pipe must keep being read, or the program would stall on a full pipe.
    }
}

int combinedTimeout(int wanted, int toKill)
{
    if (toKill < 0)
        return wanted;
    return wanted < 0 ? toKill : std::min(wanted, toKill);
}

// Blocks until the process ends, a stop request arrives, output arrives (when `output` is
// not -1) or `timeoutMs` passes. Returns false once the output pipe has hung up.
bool waitForEvent(TChildControl &control, const TSpawnedChild &child, int output, int timeoutMs)
{
    pollfd fds[3] = {{child.pidfd.get(), POLLIN, 0}, {control.wakeFd(), POLLIN, 0}, {output, POLLIN, 0}};
    const int ready = ::poll(fds, output >= 0 ? 3 : 2, combinedTimeout(timeoutMs, control.millisecondsToKill()));
    if (ready > 0 && (fds[1].revents & POLLIN))
        control.drainWake();
    control.killIfOverdue();
    const bool hungUp = (fds[2].revents & (POLLHUP | POLLERR)) && !(fds[2].revents & POLLIN);
    return !(output >= 0 && hungUp);
}

void pauseAfterChunk(TChildControl &control, const TSpawnedChild &child)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(CapturePauseMs);
    while (!isReadableNow(child.pidfd.get())) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return;
        waitForEvent(control, child, -1, static_cast<int>(left.count()));
    }
}

// What one round of the capture loop finds.
enum class CaptureState {
    Output,     // the program runs and bytes wait in the pipe: the newest block is delivered, then a pause
    LastOutput, // the program has ended with bytes still waiting: the newest block is delivered, then the end
    Idle,       // the program runs and has written nothing new: wait for output, its end or a stop request
    Ended,      // the program has ended and everything it wrote has been read
};

// The end is looked at before the pipe, so that output written just before the end is still read.
CaptureState lookAt(const TSpawnedChild &child, int &waiting)
{
    const bool ended = isReadableNow(child.pidfd.get());
    waiting = bytesWaiting(child.output.get());
    if (waiting > 0)
        return ended ? CaptureState::LastOutput : CaptureState::Output;
    return ended ? CaptureState::Ended : CaptureState::Idle;
}

void captureUntilEnd(const TSpawnedChild &child, const TOutputHandler &onOutput, TChildControl &control)
{
    // A pipe whose writers have all closed it stays readable for poll(); it is left out of the
    // wait once it has hung up, or the wait would return at once forever.
    bool pipeOpen = true;
    for (;;) {
        int waiting = 0;
        switch (lookAt(child, waiting)) {
        case CaptureState::Output:
            deliver(onOutput, readLastBlock(child.output.get(), waiting));
            pauseAfterChunk(control, child);
            break;
        case CaptureState::LastOutput:
            deliver(onOutput, readLastBlock(child.output.get(), waiting));
            return;
        case CaptureState::Idle:
            pipeOpen = waitForEvent(control, child, pipeOpen ? child.output.get() : -1, -1) && pipeOpen;
            break;
        case CaptureState::Ended:
            return;
        }
    }
}

} // namespace

bool RunAndCapture(const QString &program, const QStringList &arguments, const TOutputHandler &onOutput,
                   TChildControl &control, TExitStatus *status)
{
    TExitStatus result;
    auto child = control.spawnUnlessStopped(program, arguments, result.startError);
    if (child) {
        captureUntilEnd(*child, onOutput, control);
        result = control.reap();
    }
    if (status)
        *status = result;
    return child.has_value();
}
