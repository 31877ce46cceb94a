#include "StopSignal.h"

#include <csignal>
#include <initializer_list>

namespace {
volatile std::sig_atomic_t stopFlag = 0;

extern "C" void onStopSignal(int) { stopFlag = 1; }
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
