#include "engine/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// posix_spawn's attribute and file-action objects, destroyed on every path.
struct SpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    SpawnSetup()
    {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};

// Own process group, default signal dispositions, nothing blocked.
int configureAttributes(posix_spawnattr_t &attr)
{
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    int rc = posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (rc == 0)
        rc = posix_spawnattr_setpgroup(&attr, 0);
    if (rc == 0)
        rc = posix_spawnattr_setsigmask(&attr, &none);
    if (rc == 0)
        rc = posix_spawnattr_setsigdefault(&attr, &all);
    return rc;
}

int configureFiles(posix_spawn_file_actions_t &actions, int input, int output, const QByteArray &folder)
{
    int rc = posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    if (rc == 0)
        rc = posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    if (rc == 0)
        rc = posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
    if (rc == 0)
        rc = posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    return rc;
}

// This program's environment with ParentPidVariable set to its process id. `storage` keeps the
// added entry alive.
std::vector<char *> childEnvironment(QByteArray &storage)
{
    const QByteArray prefix = QByteArray(ParentPidVariable) + '=';
    storage = prefix + QByteArray::number(::getpid());
    std::vector<char *> entries;
    for (char **entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, prefix.constData(), static_cast<size_t>(prefix.size())) != 0)
            entries.push_back(*entry);
    }
    entries.push_back(storage.data());
    entries.push_back(nullptr);
    return entries;
}

} // namespace

std::optional<TSpawnedChild> SpawnChild(const QString &program, const QStringList &arguments, QString &error)
{
    if (program.isEmpty()) {
        error = QStringLiteral("no program given");
        return std::nullopt;
    }
    const QFileInfo info(program);
    const QByteArray path = QFile::encodeName(info.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(info.absolutePath());

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error = errorText(errno);
        return std::nullopt;
    }
    UniqueFd readEnd(pipeEnds[0]), writeEnd(pipeEnds[1]);
    UniqueFd nullInput(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!nullInput.valid()) {
        error = errorText(errno);
        return std::nullopt;
    }

    std::vector<QByteArray> storage{path};
    for (const QString &argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &item : storage)
        argv.push_back(item.data());
    argv.push_back(nullptr);

    SpawnSetup setup;
    int rc = configureAttributes(setup.attr);
    if (rc == 0)
        rc = configureFiles(setup.actions, nullInput.get(), writeEnd.get(), folder);
    QByteArray parentEntry;
    std::vector<char *> environment = childEnvironment(parentEntry);
    pid_t pid = 0;
    if (rc == 0)
        rc = posix_spawn(&pid, path.constData(), &setup.actions, &setup.attr, argv.data(), environment.data());
    if (rc != 0) {
        error = errorText(rc);
        return std::nullopt;
    }
    TSpawnedChild child;
    child.pid = pid;
    child.output = std::move(readEnd);
    child.pidfd.reset(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    if (!child.pidfd.valid()) {
        error = errorText(errno);
        ::kill(-pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return std::nullopt;
    }
    return child;
}

TChildControl::TChildControl() : m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

bool TChildControl::requestStop(std::chrono::milliseconds grace)
{
    std::lock_guard lock(m_mutex);
    m_stopRequested = true;
    const bool running = m_pid > 0 && !m_reaped;
    if (running && !m_killAt) {
        signalGroupLocked(SIGTERM);
        m_killAt = std::chrono::steady_clock::now() + grace;
        const uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(m_wake.get(), &one, sizeof one);
    }
    return running;
}

bool TChildControl::stopRequested() const
{
    std::lock_guard lock(m_mutex);
    return m_stopRequested;
}

pid_t TChildControl::runningPid() const
{
    std::lock_guard lock(m_mutex);
    return m_reaped ? 0 : m_pid;
}

pid_t TChildControl::startedPid() const
{
    std::lock_guard lock(m_mutex);
    return m_pid;
}

std::optional<TSpawnedChild> TChildControl::spawnUnlessStopped(const QString &program, const QStringList &arguments,
                                                                QString &error)
{
    std::lock_guard lock(m_mutex);
    if (m_stopRequested) {
        error = QStringLiteral("stopped before the start");
        return std::nullopt;
    }
    auto child = SpawnChild(program, arguments, error);
    if (child)
        m_pid = child->pid;
    return child;
}

void TChildControl::killIfOverdue()
{
    std::lock_guard lock(m_mutex);
    if (m_killAt && !m_killSent && std::chrono::steady_clock::now() >= *m_killAt) {
        signalGroupLocked(SIGKILL);
        m_killSent = true;
    }
}

int TChildControl::millisecondsToKill() const
{
    std::lock_guard lock(m_mutex);
    if (!m_killAt || m_killSent)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*m_killAt - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

void TChildControl::drainWake()
{
    uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(m_wake.get(), &count, sizeof count);
}

TExitStatus TChildControl::reap()
{
    std::lock_guard lock(m_mutex);
    TExitStatus status;
    int raw = 0;
    pid_t got;
    do {
        got = ::waitpid(m_pid, &raw, 0);
    } while (got < 0 && errno == EINTR);
    m_reaped = true;
    if (got != m_pid) {
        status.startError = errorText(errno);
        return status;
    }
    if (WIFEXITED(raw)) {
        status.kind = TExitStatus::Kind::Exited;
        status.code = WEXITSTATUS(raw);
    } else if (WIFSIGNALED(raw)) {
        status.kind = TExitStatus::Kind::Signalled;
        status.signal = WTERMSIG(raw);
    }
    return status;
}

void TChildControl::signalGroupLocked(int signal)
{
    if (m_pid > 0 && !m_reaped)
        ::kill(-m_pid, signal);
}
