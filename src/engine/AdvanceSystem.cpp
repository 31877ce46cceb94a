#include "engine/AdvanceSystem.h"

TAdvanceSystem::TAdvanceSystem(QString program, QStringList arguments, TOutputHandler onOutput, QObject *deliverOn,
                               QObject *parent)
    : QThread(parent), m_program(std::move(program)), m_arguments(std::move(arguments))
{
    qRegisterMetaType<TExitStatus>();
    if (deliverOn) {
        m_handoff.emplace(deliverOn, std::move(onOutput));
        m_onOutput = m_handoff->callback();
    } else {
        m_onOutput = std::move(onOutput);
    }
}

TAdvanceSystem::~TAdvanceSystem()
{
    if (isRunning()) {
        // The same grace as a Stop: an encoder ended at once would leave its unfinished file behind.
        m_control.requestStop(DefaultStopGrace);
        if (m_handoff)
            m_handoff->abandon();
    }
    wait();
}

bool TAdvanceSystem::requestStop(std::chrono::milliseconds grace)
{
    return m_control.requestStop(grace);
}

void TAdvanceSystem::run()
{
    TExitStatus status;
    const bool started = RunAndCapture(m_program, m_arguments, m_onOutput, m_control, &status);
    if (started && m_onEnded) {
        try {
            m_onEnded(m_control.startedPid(), status);
        } catch (...) {
            // The run's own end must still be reported.
        }
    }
    m_started = started;
    m_status = status;
    Q_EMIT captureFinished(started, status);
}
