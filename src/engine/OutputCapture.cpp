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

// Reads the bytes waiting in blocks of at most CaptureBlockSize; keeps only the last block.
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

void captureUntilEnd(const TSpawnedChild &child, const TOutputHandler &onOutput, TChildControl &control)
{
    bool pipeOpen = true;
    for (;;) {
        const bool ended = isReadableNow(child.pidfd.get());
        const int waiting = bytesWaiting(child.output.get());
        if (waiting > 0) {
            deliver(onOutput, readLastBlock(child.output.get(), waiting));
            pauseAfterChunk(control, child);
        } else if (!ended) {
            pipeOpen = waitForEvent(control, child, pipeOpen ? child.output.get() : -1, -1) && pipeOpen;
        }
        if (ended)
            return;
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
