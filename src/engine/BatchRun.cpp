#include "engine/BatchRun.h"

#include "engine/ConvertParameterBuilder.h"
#include "engine/EncoderFailure.h"
#include "engine/OutputFolder.h"
#include "engine/OutputTemporaries.h"
#include "engine/ProgressRefresh.h"
#include "media/SourceListModel.h"
#include "platform/PlatformServices.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"
#include "support/MessageBoxHelpers.h"

#include <QDir>
#include <QScopeGuard>
#include <QUrl>

#include <algorithm>
#include <exception>

namespace {

int countChecked(const QList<SourceItem> &items)
{
    return static_cast<int>(std::count_if(items.cbegin(), items.cend(), [](const SourceItem &i) { return i.checked; }));
}

bool isChecked(const std::function<bool()> &box)
{
    return box && box();
}

} // namespace

TBatchRun::TBatchRun(const TBatchServices &services, TProgressRefresh &progress, IShellLauncher &shell,
                     IPowerControl &power, QObject *parent)
    : QObject(parent), m_services(services), m_progress(progress), m_shell(shell), m_power(power),
      m_powerOff(
          power, [this](const QString &line) { logQuietly(line); },
          [this](const QString &text) { ShowMessageBox(m_services.boxes, text, MessageKind::Warning); })
{
    connect(&m_powerOff, &TPowerOffCountdown::poweringOff, this, &TBatchRun::endProgramRequested);
}

// An encoder still working is ended and waited for before the object goes.
TBatchRun::~TBatchRun() = default;

bool TBatchRun::RunBatch(const SourceListModel &sourceList, const QSet<quint64> &leaveOut)
{
    if (isRunning())
        return false;
    m_state = TBatchState{};
    m_state.phase = TRunPhase::Converting;
    m_items = sourceList.items();
    for (SourceItem &item : m_items)
        item.checked = item.checked && !leaveOut.contains(item.id.value);
    m_state.checkedCount = countChecked(m_items);
    m_failures.clear();
    m_convertedCount = 0;
    m_stoppedCount = 0;
    m_notStartedCount = 0;
    m_endedEarly = false;
    m_shorter.clear();
    m_nothingToConvert.clear();
    m_runError.clear();
    m_nextRow = 0;
    m_durationTexts.clear();
    m_queue = std::make_unique<ConversionQueue>(m_filesAtOnce, [this](const QString &line) { logQuietly(line); });
    connect(m_queue.get(), &ConversionQueue::jobStarting, this, &TBatchRun::itemStarting);
    connect(m_queue.get(), &ConversionQueue::jobOutput, this, &TBatchRun::handleChunk);
    connect(m_queue.get(), &ConversionQueue::jobFinished, this, &TBatchRun::onJobFinished);
    if (const QString refusal = refusalBeforeStart(); !refusal.isEmpty()) {
        ShowMessageBox(m_services.boxes, refusal, MessageKind::Warning);
        m_state.checkedCount = 0;
        finishRun(AfterJob::Skip);
        return true;
    }
    if (!leaveOutEmptyCuts()) {
        finishRun(AfterJob::Skip);
        return true;
    }
    RemoveStaleOutputTemporaries(OutputFolderPath(m_services.builder.outputFolderText()),
                                 std::chrono::system_clock::now(), [this](const QString &line) { logQuietly(line); });
    advance();
    return true;
}

// Why a run can't begin at all: an empty list, or a list without a checked row.
QString TBatchRun::refusalBeforeStart() const
{
    if (m_items.isEmpty())
        return QStringLiteral("Please add media files you want to convert into the list.");
    if (m_state.checkedCount == 0)
        return QStringLiteral("Please check the media files you want to convert in the list.");
    return {};
}

// Checked items whose end is not after their start are named in one message before any encoder
// starts, and left out; the others still convert. False when no item is left.
bool TBatchRun::leaveOutEmptyCuts()
{
    const QList<TEmptyCut> cuts = ItemsWithNothingToConvert(m_items);
    if (cuts.isEmpty())
        return true;
    for (const TEmptyCut &cut : cuts) {
        m_nothingToConvert.append(cut.item);
        logQuietly(QStringLiteral("Left out: %1 (nothing to convert between %2 and %3)")
                       .arg(cut.fileName, cut.startTime, cut.endTime));
    }
    m_state.checkedCount -= static_cast<qint32>(cuts.size());
    ShowMessageBox(m_services.boxes, NothingToConvertMessage(cuts), MessageKind::Warning);
    return m_state.checkedCount > 0;
}

// Goes through the rows until every slot of the queue holds an item's encoder (each end
// continues the walk), the rows are used up, or a stop, a close or a run error has ended the
// walk; the run is over when the last encoder has ended.
void TBatchRun::advance()
{
    try {
        while (m_state.phase == TRunPhase::Converting && m_runError.isEmpty() && m_nextRow < rowCount() &&
               m_queue->hasFreeSlot()) {
            const int row = m_nextRow++;
            m_state.rowIndex = row;
            const SourceItem &item = m_items.at(row);
            if (item.checked && !m_nothingToConvert.contains(item.id) && !startItem(row))
                ++m_state.doneCount;
        }
    } catch (const std::exception &e) {
        abortRun(QString::fromLocal8Bit(e.what()));
        return;
    }
    if (!m_queue->isIdle())
        return;
    m_state.rowIndex = m_nextRow;
    finishRun(AfterJob::Due);
}

// Builds the item's command and starts its encoder. False when the item is over already
// (its command could not be built).
bool TBatchRun::startItem(int row)
{
    const SourceItem &item = m_items.at(row);
    m_currentFile = item.path;
    const ConvertResult built = buildItem(row, item);
    m_state.commandLine = built.command.commandLine;
    m_state.startText = built.startText;
    m_state.durationText = built.durationText;
    log(QStringLiteral("parameter: ") + m_state.commandLine);
    if (!built.ok() || built.command.isEmpty()) {
        fail(m_currentFile, built.ok() ? QStringLiteral("No encoder command could be built.") : built.error);
        return false;
    }
    if (severalAtOnce())
        m_progress.fileStarted(row, m_currentFile, built.durationText, m_state.doneCount, m_state.checkedCount);
    else
        m_progress.itemStarted(m_state.doneCount, m_state.checkedCount, m_currentFile);
    m_durationTexts.insert(row, built.durationText);
    // The name stays promised to this item until its encoder ends: an encoder writes its file
    // unnamed, so an item started beside it would otherwise be given the same name.
    m_services.builder.fileFunc().reserveName(built.command.outputPath);
    m_queue->start({row, item.path, built.command}); // itemStarting comes first
    return true;
}

// With several at once a RealMedia item's script goes into a folder of its own, so that no
// encoder reads another item's script; one at a time keeps the program folder's.
ConvertResult TBatchRun::buildItem(int row, const SourceItem &item)
{
    ConvertParameterBuilder &builder = m_services.builder;
    if (!severalAtOnce() || !IsRealMediaPath(item.path))
        return builder.CreateConvertParameter(item, m_services.parameter);
    const QString folder = itemScriptFolder(row);
    if (folder.isEmpty()) {
        ConvertResult refused;
        refused.error = QStringLiteral("A temporary folder for its script cannot be made.");
        return refused;
    }
    const QString shared = builder.scriptFolder();
    builder.setScriptFolder(folder);
    const auto restore = qScopeGuard([&] { builder.setScriptFolder(shared); });
    return builder.CreateConvertParameter(item, m_services.parameter);
}

// A folder of the run's own temporary folder for one row (with the separator); empty when it
// cannot be made.
QString TBatchRun::itemScriptFolder(int row)
{
    if (!m_scripts)
        m_scripts.emplace(QDir::tempPath() + QStringLiteral("/kelvane-scripts-XXXXXX"));
    const QString folder = m_scripts->filePath(QString::number(row));
    if (!m_scripts->isValid() || !QDir().mkpath(folder))
        return {};
    return folder + QLatin1Char('/');
}

// Runs on this object's (the user-interface) thread while the runner waits for it.
void TBatchRun::handleChunk(int row, const QString &chunk)
{
    // The row's own file, not the script that a RealMedia source is handed over in.
    if (severalAtOnce())
        m_progress.fileOutput(row, chunk, m_state.doneCount, m_state.checkedCount);
    else
        m_progress.HandleEncoderOutput(chunk, TRefreshInputs{m_state.doneCount, m_state.checkedCount,
                                                             m_durationTexts.value(row), m_items.value(row).path});
    Q_EMIT encoderOutput(chunk);
}

void TBatchRun::onJobFinished(const EncoderJobEnd &end)
{
    m_durationTexts.remove(end.key);
    m_services.builder.fileFunc().releaseName(end.outputPath);
    m_progress.fileEnded(end.key);
    try {
        countEnd(end);
        for (const QString &line : EncoderJobLogLines(end))
            log(line);
    } catch (const std::exception &e) {
        abortRun(QString::fromLocal8Bit(e.what()));
        return;
    }
    ++m_state.doneCount;
    // After a stop the progress window keeps the reset the stop gave it.
    if (!end.stopAsked && severalAtOnce())
        m_progress.showFilesInProgress(m_state.doneCount, m_state.checkedCount);
    else if (!end.stopAsked)
        m_progress.itemEnded(m_state.doneCount, m_state.checkedCount);
    advance();
}

void TBatchRun::countEnd(const EncoderJobEnd &end)
{
    switch (end.reason) {
    case EncoderJobEndReason::Stopped: ++m_stoppedCount; break;
    case EncoderJobEndReason::Failed: m_failures.append({end.source, end.failure}); break;
    case EncoderJobEndReason::Converted:
        ++m_convertedCount;
        Q_EMIT itemConverted(end.key, m_items.value(end.key), end.outputPath);
        if (end.shortfall)
            m_shorter.append({end.source, *end.shortfall});
        break;
    }
}

void TBatchRun::Stop()
{
    endAfterCurrentItem(TRunPhase::Stopped);
}

void TBatchRun::CloseStop()
{
    endAfterCurrentItem(TRunPhase::Closing);
}

// No item starts after the current ones, whose encoders are ended (or kept from starting). A
// Stop outranks a close: once stopped, the after-job step stays off.
void TBatchRun::endAfterCurrentItem(TRunPhase phase)
{
    if (!isRunning())
        return;
    if (m_state.phase != TRunPhase::Stopped)
        m_state.phase = phase;
    if (m_queue)
        m_queue->stop();
}

// The after-job step follows a run that was not stopped: the failure message comes first; the
// output folder opens when the run had no failures or converted at least one file; the
// power-off countdown starts only after a run without failures.
void TBatchRun::finishRun(AfterJob afterJobStep)
{
    const bool due = afterJobStep == AfterJob::Due && !m_state.stopRequested() && m_runError.isEmpty();
    const bool clean = due && m_failures.isEmpty();
    if (m_state.phase == TRunPhase::Stopped || m_state.phase == TRunPhase::Closing) {
        m_notStartedCount = std::max(0, m_state.checkedCount - m_state.doneCount);
        m_endedEarly = m_stoppedCount + m_notStartedCount > 0;
    }
    m_state.phase = TRunPhase::Idle;
    m_items.clear();
    m_scripts.reset(); // every encoder is over
    Q_EMIT runFinished();
    showFailures();
    if ((clean || (due && m_convertedCount > 0)) && isChecked(m_showOutputDirectory)) {
        const QString folder = m_services.parameter.outputFolder;
        if (!folder.isEmpty())
            m_shell.open(QUrl::fromLocalFile(folder));
    }
    if (clean && isChecked(m_shutdown))
        m_powerOff.start();
}

void TBatchRun::showFailures()
{
    if (!m_runError.isEmpty())
        ShowMessageBox(m_services.boxes, m_runError, MessageKind::Error);
    else if (!m_failures.isEmpty())
        ShowMessageBox(m_services.boxes, FailureMessage(m_failures), MessageKind::Error);
}

// An error that ends the whole run (the log cannot be written, say): nothing more starts, the
// encoders still running are ended, and once they are over the windows are restored and the
// error is shown.
void TBatchRun::abortRun(const QString &error)
{
    m_runError = error;
    if (m_queue && !m_queue->isIdle()) {
        m_queue->stop();
        return;
    }
    finishRun(AfterJob::Skip);
}

void TBatchRun::fail(const QString &fileName, const QString &reason)
{
    m_failures.append({fileName, reason});
    log(ConversionFailedLine(fileName, reason));
}

QString TBatchRun::FailureMessage(const QList<TFailedItem> &failures)
{
    QString text = QStringLiteral("These files could not be converted:");
    for (const TFailedItem &item : failures)
        text += QStringLiteral("\n\n") + item.fileName + QStringLiteral("\n") + item.reason;
    return text;
}

QString TBatchRun::summary() const
{
    if (m_state.checkedCount == 0)
        return {};
    TRunCounts counts;
    counts.converted = m_convertedCount;
    counts.failed = static_cast<int>(m_failures.size());
    counts.stopped = m_stoppedCount;
    counts.notStarted = m_notStartedCount;
    counts.endedEarly = m_endedEarly;
    counts.shorter = m_shorter;
    return RunSummaryText(counts);
}

void TBatchRun::log(const QString &line) const
{
    m_services.log.WriteLog(line);
}

// For lines whose loss must not hold up a stop or the end of a run.
void TBatchRun::logQuietly(const QString &line) const
{
    try {
        log(line);
    } catch (const std::exception &) {
    }
}

bool TBatchRun::severalAtOnce() const
{
    return m_queue && m_queue->slotCount() > 1;
}

int TBatchRun::rowCount() const
{
    return static_cast<int>(m_items.size());
}
