#include "engine/ConvertingCommands.h"

TConvertingCommands::TConvertingCommands(IMessageBoxes &messages, TProgressRefresh &progress, QObject *parent)
    : QObject(parent), m_messages(messages), m_progress(progress)
{
}

// The run is let go only once the answer has been acted on.
bool TConvertingCommands::stop()
{
    const TRunHold held = holdRun();
    if (!confirm(QStringLiteral("Are you sure you want to stop the work ? ")))
        return false;
    m_progress.stopReset();
    Q_EMIT stopRequested();
    return true;
}

bool AskStopProcessing(IMessageBoxes &messages)
{
    return messages.show(QStringLiteral("Are you sure to stop processing ?"), MessageIcon::Question,
                         MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool AskToEndProgramMidRun(TBatchRun &run, IMessageBoxes &messages)
{
    const TRunHold held = run.hold();
    if (!AskStopProcessing(messages))
        return false;
    run.Stop();
    return true;
}

bool TConvertingCommands::close()
{
    const TRunHold held = holdRun();
    if (!AskStopProcessing(m_messages))
        return false;
    Q_EMIT closeStop();
    return true;
}

bool TConvertingCommands::confirm(const QString &question)
{
    return m_messages.show(question, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}
