#pragma once
#include <sys/types.h>

// SIGTERM, SIGINT and SIGHUP only raise a flag; the encode loop and libavformat's interrupt
// callback look at it and unwind, which removes the unfinished output.
void installStopHandlers();
bool stopRequested();
int stopInterruptCallback(void* opaque);

// The program that starts the encoder names itself in this environment variable (its process id).
inline constexpr const char* ParentPidVariable = "KELVANE_PARENT_PID";

// Has the kernel send SIGTERM when the encoder's parent ends, so that the encoder never outlives
// the program that started it. `parentAtStart` is getppid() taken first thing in main. False when
// the parent has ended already: before the request (the parent is no longer `parentAtStart`), or
// before the encoder even ran (the program named in ParentPidVariable is gone).
bool followParent(pid_t parentAtStart);
