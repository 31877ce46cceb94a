#pragma once
// Finding and ending the encoder of the current run. Only the process group that the run's
// runner started is ever signalled; another program's process of the same name is left alone.
#include <QString>

#include <chrono>
#include <functional>
#include <sys/types.h>

class TAdvanceSystem;

using TLogger = std::function<void(const QString &line)>;

// The id of the runner's program while it runs; 0 (and the log line "Get Process id error.")
// when there is no runner or its program is not running.
pid_t FindEncoderProcessId(const TAdvanceSystem *runner, const TLogger &log);

// Ends the runner's process group (SIGTERM, then SIGKILL after `grace`). True when it was
// signalled; otherwise logs "Terminate process error.".
bool TerminateProcessesByName(TAdvanceSystem *runner, const TLogger &log,
                              std::chrono::milliseconds grace = std::chrono::milliseconds(3000));

// The Stop path: ends the runner's program when it runs, and in any case keeps a program that
// has not started yet from starting. Returns at once; the runner's captureFinished signal
// tells when the program has ended.
void KillEncoder(TAdvanceSystem *runner, const TLogger &log,
                 std::chrono::milliseconds grace = std::chrono::milliseconds(3000));
