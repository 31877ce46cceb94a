#pragma once
// Starting one program as a child in its own process group, and the thread-safe handle
// through which it can be ended while another thread captures its output.
#include "engine/ExitStatus.h"
#include "support/UniqueFd.h"

#include <QStringList>

#include <chrono>
#include <mutex>
#include <optional>
#include <sys/types.h>

struct TSpawnedChild {
    pid_t pid = 0;          // also the id of its process group
    UniqueFd pidfd;         // readable once the child has ended
    UniqueFd output;        // read end of the pipe carrying stdout and stderr
};

// The child finds this program's process id in this environment variable. The encoders use it
// to end themselves when the program that started them is gone (encoder/StopSignal.h names the
// same variable).
inline constexpr char ParentPidVariable[] = "KELVANE_PARENT_PID";

// Starts `program` (a path; its folder becomes the working folder) with `arguments`, each
// passed as exactly one argument, without a shell, in this program's environment plus
// ParentPidVariable. stdin is /dev/null; stdout and stderr share one pipe. On failure returns
// nullopt and fills `error`. The calling thread must outlive the child: the encoders ask to be
// ended when the thread that started them ends (the runner's thread reaps its child first).
std::optional<TSpawnedChild> SpawnChild(const QString &program, const QStringList &arguments, QString &error);

// Shared between the capturing thread (which starts and reaps the child) and any thread
// that wants it stopped. The group is signalled only while its leader is not yet reaped,
// so its id cannot have been reused by another process.
class TChildControl {
public:
    TChildControl();

    // Ends the child's process group with SIGTERM, and with SIGKILL once `grace` has passed
    // (done by the capturing thread). Before the start, prevents the start. True when a
    // running child was signalled.
    bool requestStop(std::chrono::milliseconds grace);
    bool stopRequested() const;
    pid_t runningPid() const;
    // The id the child had, also after it has been reaped; 0 before the start.
    pid_t startedPid() const;

    // Used by the capturing thread.
    std::optional<TSpawnedChild> spawnUnlessStopped(const QString &program, const QStringList &arguments, QString &error);
    void killIfOverdue();
    // Milliseconds until the SIGKILL is due, or -1 when none is pending.
    int millisecondsToKill() const;
    int wakeFd() const { return m_wake.get(); }
    void drainWake();
    TExitStatus reap();

private:
    void signalGroupLocked(int signal);

    mutable std::mutex m_mutex;
    pid_t m_pid = 0;
    bool m_reaped = false;
    bool m_stopRequested = false;
    bool m_killSent = false;
    std::optional<std::chrono::steady_clock::time_point> m_killAt;
    UniqueFd m_wake;
};
