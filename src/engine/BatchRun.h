#pragma once
// The batch run: converts the checked rows of the source list, each by one encoder process, in
// the conversion queue's slots (one by default: one after another), driven by the queue's
// signals (nothing here waits or polls).
#include "engine/BatchReport.h"
#include "engine/ConvertParameter.h"
#include "engine/ConvertParameterBuilder.h"
#include "engine/ConversionQueue.h"
#include "engine/PowerOffCountdown.h"
#include "media/SourceItem.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <memory>

class IMessageBoxes;
class IPowerControl;
class IShellLauncher;
class SourceListModel;
class TAppFunc;
class TProgressRefresh;

// One item that was not converted, and why.
struct TFailedItem {
    QString fileName;
    QString reason;
};

// The program's objects a run builds, records and reports with; each must outlive the run.
struct TBatchServices {
    ConvertParameterBuilder &builder;   // each item's encoder command
    TConvertParameterStruct &parameter; // the record of the current conversion, which the builder fills
    const TAppFunc &log;                // "log.txt"
    IMessageBoxes &boxes;               // the warning about an empty list, the run's failures
};

// Where a run stands.
enum class TRunPhase {
    Idle,       // no run
    Converting, // going through the checked rows
    Closing,    // the progress window was closed: no further item; the after-job step still follows
    Stopped,    // Stop was confirmed: no further item and no after-job step
};

// The state of a batch run, owned by the run alone.
struct TBatchState {
    TRunPhase phase = TRunPhase::Idle;
    qint32 doneCount = 0;    // checked rows already handed to the encoder in this run
    qint32 checkedCount = 0; // checked rows at the start of the run
    qint32 rowIndex = 0;     // source row being processed (the one started last)
    QString commandLine;     // the current item's command line
    QString startText;       // the current item's start time, hh:mm:ss
    QString durationText;    // the current item's length in whole seconds

    bool stopRequested() const { return phase == TRunPhase::Stopped; }
};

class TBatchRun : public QObject {
    Q_OBJECT
public:
    // Every collaborator must outlive the run.
    TBatchRun(const TBatchServices &services, TProgressRefresh &progress, IShellLauncher &shell, IPowerControl &power,
              QObject *parent = nullptr);
    ~TBatchRun() override;

    // The main window's check boxes "Show output directory when done" and "Shutdown computer
    // when job is finished.", read when the after-job step runs. Unset means unchecked.
    void setShowOutputDirectory(std::function<bool()> checked) { m_showOutputDirectory = std::move(checked); }
    void setShutdown(std::function<bool()> checked) { m_shutdown = std::move(checked); }
    // How many files the next runs convert at once (at least 1; 1 by default).
    void setFilesAtOnce(int count) { m_filesAtOnce = std::max(1, count); }
    int filesAtOnce() const { return m_filesAtOnce; }

    // Starts converting the checked items of `sourceList` as they are now, each with its own
    // cut, and returns at once; runFinished tells when the run is over. An empty list shows the warning
    // and finishes before returning. False (and nothing happens) while a run is in progress.
    // Items whose ids are in `leaveOut` are taken as unchecked.
    bool RunBatch(const SourceListModel &sourceList, const QSet<quint64> &leaveOut = {});
    bool isRunning() const { return m_state.phase != TRunPhase::Idle; }
    const TBatchState &state() const { return m_state; }

    // The Stop button, confirmed: ends the current item's encoder (or keeps it from starting)
    // and the run after it, without the after-job step.
    void Stop();
    // The progress window closed, confirmed: ends the current item's encoder and the run after
    // it; the after-job step still follows.
    void CloseStop();

    // The items of the last run that were not converted, in row order.
    const QList<TFailedItem> &failures() const { return m_failures; }
    // How many items of the last run were converted.
    int convertedCount() const { return m_convertedCount; }
    // The items of the last run converted shorter than listed, in row order.
    const QList<TShortItem> &shorterItems() const { return m_shorter; }
    // One short line on the last run (RunSummaryText): "9 files converted, 1 failed.", or
    // "Stopped: 1 converted, 1 stopped, 2 not started."; empty after a run without items.
    QString summary() const;
    // The source file of the item being converted (the row's own path, also for RealMedia).
    QString currentFile() const { return m_currentFile; }
    // The wait before powering off that a clean run with "Shutdown computer when job is
    // finished." ticked starts.
    TPowerOffCountdown &powerOffCountdown() { return m_powerOff; }

    // The text of the one message that lists the failed items.
    static QString FailureMessage(const QList<TFailedItem> &failures);

Q_SIGNALS:
    // An item's encoder is about to start: show the progress window, disable the main window.
    // A Stop or CloseStop from a receiver keeps this encoder from starting.
    void itemStarting(int row);
    // The item at `row` (as the run took it) was converted into `outputPath`.
    void itemConverted(int row, const SourceItem &item, const QString &outputPath);
    // A chunk of an encoder's output, after the progress window's model has taken it.
    void encoderOutput(const QString &chunk);
    // The run is over, however it ended: hide the progress window, enable the main window.
    void runFinished();
    // The computer is powering off (the countdown ran out or the user cut it short): end the
    // program at once, saving nothing.
    void endProgramRequested();

private:
    QString refusalBeforeStart() const;
    bool leaveOutEmptyCuts();
    void advance();
    bool startItem(int row);
    ConvertResult buildItem(int row, const SourceItem &item);
    QString itemScriptFolder(int row);
    void handleChunk(int row, const QString &chunk);
    void onJobFinished(const EncoderJobEnd &end);
    void countEnd(const EncoderJobEnd &end);
    void endAfterCurrentItem(TRunPhase phase);
    enum class AfterJob { Due, Skip };
    void finishRun(AfterJob afterJobStep);
    void showFailures();
    void abortRun(const QString &error);
    void fail(const QString &fileName, const QString &reason);
    void log(const QString &line) const;
    void logQuietly(const QString &line) const;
    int rowCount() const;
    // The run has more than one slot: the progress window shows the files in progress together.
    bool severalAtOnce() const;

    TBatchServices m_services;
    TProgressRefresh &m_progress;
    IShellLauncher &m_shell;
    IPowerControl &m_power;
    std::function<bool()> m_showOutputDirectory;
    std::function<bool()> m_shutdown;

    int m_filesAtOnce = 1;

    TBatchState m_state;
    QList<SourceItem> m_items;                        // the list as the run started, while it lasts
    int m_nextRow = 0;                                // where the walk through the rows goes on
    std::unique_ptr<ConversionQueue> m_queue;         // the run's encoders
    QHash<int, QString> m_durationTexts;              // of the rows whose encoders run
    QString m_currentFile;
    QList<TFailedItem> m_failures;
    int m_convertedCount = 0;
    int m_stoppedCount = 0;
    int m_notStartedCount = 0;
    bool m_endedEarly = false;
    QList<SourceItemId> m_nothingToConvert; // checked items left out: their end is not after their start
    QList<TShortItem> m_shorter;
    QString m_runError;
    std::optional<QTemporaryDir> m_scripts; // the RealMedia scripts of a run with several at once
    TPowerOffCountdown m_powerOff;
};
