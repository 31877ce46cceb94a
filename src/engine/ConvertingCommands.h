#pragma once
// The progress window's two stop commands: they confirm with the user and report the
// decision; the batch run acts on it.
#include "engine/ProgressRefresh.h"
#include "platform/PlatformServices.h"

#include <QObject>

// "Are you sure to stop processing ?", Yes/No. True on Yes.
bool AskStopProcessing(IMessageBoxes &messages);

class TConvertingCommands : public QObject {
    Q_OBJECT
public:
    TConvertingCommands(IMessageBoxes &messages, TProgressRefresh &progress, QObject *parent = nullptr);

    // Stop button: on Yes resets the bars and texts and emits stopRequested. True on Yes.
    bool stop();
    // Close request: on Yes emits closeStop. True when the window may close; on No the
    // window stays open and the run goes on.
    bool close();

Q_SIGNALS:
    void stopRequested();
    void closeStop();

private:
    bool confirm(const QString &question);

    IMessageBoxes &m_messages;
    TProgressRefresh &m_progress;
};
