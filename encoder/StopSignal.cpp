#include "StopSignal.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <initializer_list>
#include <sys/prctl.h>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stopFlag = 0;

extern "C" void onStopSignal(int) { stopFlag = 1; }

// The program named in ParentPidVariable has ended. When it is not our parent (a wrapper script
// runs between the two), it only counts as gone once no process of that id is left.
bool startingProgramGone()
{
    const char* text = std::getenv(ParentPidVariable);
    if (!text || !*text)
        return false;
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    if (*end != '\0' || pid <= 0 || pid == getppid())
        return false;
    return kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

void installStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
    // A reader that goes away must not kill us before the unfinished file is removed.
    std::signal(SIGPIPE, SIG_IGN);
}

bool stopRequested() { return stopFlag != 0; }

int stopInterruptCallback(void*) { return stopFlag != 0; }

bool followParent(pid_t parentAtStart)
{
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    return getppid() == parentAtStart && !startingProgramGone();
}
