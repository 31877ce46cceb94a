#pragma once
// Finding and ending the encoder of the current run. Only the process group that the run's
// runner started is ever signalled; another program's process of the same name is left alone.
#include "engine/AdvanceSystem.h"

#include <QString>

#include <chrono>
#include <functional>
#include <sys/types.h>

using TLogger = std::function<void(const QString &line)>;

// The id of the runner's program while it runs; 0 (and the log line "Get Process id error.")
// when there is no runner or its program is not running.
pid_t FindEncoderProcessId(const TAdvanceSystem *runner, const TLogger &log);

// Ends the process group of the runner's program, and only that one: SIGTERM to the group now,
// SIGKILL when it is still running after `grace`. True when the group was signalled; otherwise
// (no runner, or its program has not started or has been reaped) logs "Terminate process error.".
bool TerminateEncoderGroup(TAdvanceSystem *runner, const TLogger &log,
                           std::chrono::milliseconds grace = TAdvanceSystem::DefaultStopGrace);

// The Stop path: ends the runner's program when it runs, and in any case keeps a program that
// has not started yet from starting. Returns at once; the runner's captureFinished signal
// tells when the program has ended.
void KillEncoder(TAdvanceSystem *runner, const TLogger &log,
                 std::chrono::milliseconds grace = TAdvanceSystem::DefaultStopGrace);
