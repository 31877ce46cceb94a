#pragma once
// The progress window's two stop commands: they confirm with the user and report the
// decision; the batch run acts on it. The run is held while the question is open.
#include "engine/BatchRun.h"
#include "engine/ProgressRefresh.h"
#include "platform/PlatformServices.h"

#include <QObject>

#include <functional>

// "Are you sure to stop processing ?", Yes/No. True on Yes.
bool AskStopProcessing(IMessageBoxes &messages);

// Closing the main window while `run` converts: the same question, asked with the run held. Yes
// stops the run (no file starts and no after-job step follows, as the program is ending). True on Yes.
bool AskToEndProgramMidRun(TBatchRun &run, IMessageBoxes &messages);

class TConvertingCommands : public QObject {
    Q_OBJECT
public:
    TConvertingCommands(IMessageBoxes &messages, TProgressRefresh &progress, QObject *parent = nullptr);

    // What holds the run while a question is open; unset holds nothing.
    void setRunHold(std::function<TRunHold()> hold) { m_hold = std::move(hold); }

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
    TRunHold holdRun() const { return m_hold ? m_hold() : TRunHold{}; }

    IMessageBoxes &m_messages;
    TProgressRefresh &m_progress;
    std::function<TRunHold()> m_hold;
};
