#include "engine/ConvertingCommands.h"

TConvertingCommands::TConvertingCommands(IMessageBoxes &messages, TProgressRefresh &progress, QObject *parent)
    : QObject(parent), m_messages(messages), m_progress(progress)
{
}

bool TConvertingCommands::stop()
{
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

bool TConvertingCommands::close()
{
    if (!AskStopProcessing(m_messages))
        return false;
    Q_EMIT closeStop();
    return true;
}

bool TConvertingCommands::confirm(const QString &question)
{
    return m_messages.show(question, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}
