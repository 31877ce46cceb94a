#pragma once
// Runs one program and hands its console output, chunk by chunk, to a callback.
#include "engine/ChildProcess.h"
#include "engine/ExitStatus.h"

#include <QString>
#include <QStringList>
#include <functional>

using TOutputHandler = std::function<void(const QString &chunk)>;

// Largest read; of several blocks waiting only the last one becomes the chunk.
inline constexpr int CaptureBlockSize = 1023;
// Pause after each delivered chunk; a process end or a stop request cuts it short.
inline constexpr int CapturePauseMs = 500;

// Starts `program` with `arguments` and delivers its output to `onOutput` until it has ended.
// True when the program was started and has ended; false when it could not be started
// (nothing is delivered then). `status` receives how it ended. `control` lets another thread
// end the program, or prevent its start. A handler that throws does not stop the reading.
bool RunAndCapture(const QString &program, const QStringList &arguments, const TOutputHandler &onOutput,
                   TChildControl &control, TExitStatus *status = nullptr);
