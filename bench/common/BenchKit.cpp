#include "BenchKit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

double cpuMs(const rusage &usage)
{
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3
           + usage.ru_stime.tv_usec / 1e3;
}

CpuClock::CpuClock()
{
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
}

SpawnArguments::SpawnArguments(const QString &program, const QStringList &arguments)
    : m_bytes{QFile::encodeName(program)}
{
    for (const QString &argument : arguments)
        m_bytes.push_back(argument.toLocal8Bit());
    for (QByteArray &b : m_bytes)
        m_argv.push_back(b.data());
    m_argv.push_back(nullptr);
}

double timeProcess(const QString &program, const QStringList &arguments)
{
    const SpawnArguments spawned(program, arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, spawned.program(), &actions, nullptr, spawned.argv(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return clock.nsecsElapsed() / 1e6;
}

bool runFfmpeg(const QStringList &arguments, int timeoutMs)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y"} + arguments);
    return ffmpeg.waitForFinished(timeoutMs) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

BenchArguments ReadBenchArguments(const QString &builtDefault, const QStringList &programs)
{
    QStringList arguments = QCoreApplication::arguments().mid(1);
    BenchArguments read;
    read.quick = arguments.removeAll(QStringLiteral("--quick")) > 0;
    read.builtFolder = arguments.isEmpty() ? builtDefault : arguments.first() + QLatin1Char('/');
    for (const QString &name : programs) {
        if (!QFileInfo(read.builtFolder + name).isExecutable()) {
            std::fprintf(stderr, "no %s in %s\n", qPrintable(name), qPrintable(read.builtFolder));
            read.builtFolder.clear();
            break;
        }
    }
    return read;
}
