#pragma once
// The runner: one program run on a worker thread of its own, its output handed to a callback.
#include "engine/ChildProcess.h"
#include "engine/ExitStatus.h"
#include "engine/OutputCapture.h"
#include "engine/OutputHandoff.h"

#include <QStringList>
#include <QThread>

#include <chrono>
#include <functional>
#include <optional>

// Called when a started program has ended and been reaped: its process id and how it ended.
using TEndHandler = std::function<void(pid_t pid, const TExitStatus &status)>;

class TAdvanceSystem : public QThread {
    Q_OBJECT
public:
    // Nothing runs until start(). `onOutput` is called once per chunk, never concurrently with
    // itself, and the runner goes on only when it has returned. It runs on the worker thread,
    // or, when `deliverOn` is given, on that object's thread (a blocking hand-off; a handler
    // that throws there does not stop the reading).
    TAdvanceSystem(QString program, QStringList arguments, TOutputHandler onOutput, QObject *deliverOn = nullptr,
                   QObject *parent = nullptr);
    // Waits for the body; a program still running is ended first (given the default grace to
    // remove its unfinished file), and a pending hand-off is released, so this may run on the
    // receiving thread at any time.
    ~TAdvanceSystem() override;

    // Set before start(): runs on the worker thread after the started program has been reaped
    // and before captureFinished, also when the runner is being destroyed. Not called when the
    // program could not be started. Whatever it throws is dropped.
    void setOnEnded(TEndHandler onEnded) { m_onEnded = std::move(onEnded); }

    const QString &program() const { return m_program; }
    const QStringList &arguments() const { return m_arguments; }

    // Ends the program's process group: SIGTERM now, SIGKILL when it is still running after
    // `grace`. Asked before the program has started, it prevents the start. True when a
    // running program was signalled.
    bool requestStop(std::chrono::milliseconds grace = DefaultStopGrace);
    // The id of the started program while it has not been reaped, else 0.
    pid_t runningPid() const { return m_control.runningPid(); }

    // Valid once captureFinished has been emitted.
    bool wasStarted() const { return m_started; }
    TExitStatus exitStatus() const { return m_status; }

    // How long a program that is asked to stop may take to end, and to remove its unfinished
    // file, before it is killed: the one grace for Stop, a closed window and the end of the program.
    static constexpr std::chrono::milliseconds DefaultStopGrace{3000};

Q_SIGNALS:
    // Emitted from the worker thread when the body ends; receivers on the user-interface
    // thread get it queued.
    void captureFinished(bool started, const TExitStatus &status);

protected:
    void run() override;

private:
    const QString m_program;
    const QStringList m_arguments;
    std::optional<TOutputHandoff> m_handoff;
    TOutputHandler m_onOutput;
    TEndHandler m_onEnded;
    TChildControl m_control;
    bool m_started = false;
    TExitStatus m_status;
};
