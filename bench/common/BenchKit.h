#pragma once
// What the benchmarks share: CPU clocks from getrusage, timing a started program, making media
// with the ffmpeg command line, and the median of the rounds.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/resource.h>
#include <vector>

// User plus system time in `usage`, in ms.
double cpuMs(const rusage &usage);

// The CPU time of this process (every thread of it) and of its waited-for children at the
// moment the clock is made.
struct CpuClock {
    rusage self{};
    rusage children{};
    CpuClock();
    double selfSince(const CpuClock &start) const { return cpuMs(self) - cpuMs(start.self); }
    double childrenSince(const CpuClock &start) const { return cpuMs(children) - cpuMs(start.children); }
};

// A program and its arguments as the argument vector posix_spawn takes (ended by a null).
class SpawnArguments {
public:
    SpawnArguments(const QString &program, const QStringList &arguments);
    SpawnArguments(const SpawnArguments &) = delete;
    SpawnArguments &operator=(const SpawnArguments &) = delete;
    const char *program() const { return m_argv.front(); }
    char *const *argv() const { return m_argv.data(); }

private:
    std::vector<QByteArray> m_bytes;
    std::vector<char *> m_argv;
};

// Starts the program and waits for it, its output thrown away; the wall time in ms, or -1.
double timeProcess(const QString &program, const QStringList &arguments);

// Runs the ffmpeg command line with "-v error -y" before `arguments`; true when it ended well
// within `timeoutMs`.
bool runFfmpeg(const QStringList &arguments, int timeoutMs);

double median(std::vector<double> values);

// A benchmark's command line: "--quick" (a short run that only shows the measurement still
// works) and the folder of the built programs (default `builtDefault`), with its separator.
// `builtFolder` is empty, and the reason printed, when one of `programs` is not there.
struct BenchArguments {
    bool quick = false;
    QString builtFolder;
};
BenchArguments ReadBenchArguments(const QString &builtDefault, const QStringList &programs);
