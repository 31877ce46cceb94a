#include "media/SourceFileAdder.h"

#include "media/CodecErrorReporter.h"
#include "media/SourceFileTypes.h"
#include "media/SourceFolderTree.h"
#include "media/SourceListModel.h"
#include "media/SourceProbeRun.h"
#include "support/FileFunc.h"
#include "support/MessageBoxHelpers.h"

#include <QPointer>
#include <QScopeGuard>
#include <QSet>
#include <algorithm>
#include <utility>

struct SourceFileAdder::Operation {
    QStringList paths;
    std::function<void()> done;
};

namespace {

QSet<QString> listedPaths(const SourceListModel &model)
{
    QSet<QString> paths;
    for (const SourceItem &item : model.items())
        paths.insert(item.path);
    return paths;
}

bool listHolds(const SourceListModel &model, const QString &path)
{
    const QList<SourceItem> &items = model.items();
    return std::any_of(items.cbegin(), items.cend(), [&](const SourceItem &item) { return item.path == path; });
}

SourceItem newItem(const ProbedSourceFile &file)
{
    SourceItem item = WholeFileItem(file.path, file.size, file.milliseconds);
    item.hasSound = file.hasSound;
    item.audioTracks = file.audioTracks;
    item.checked = file.hasSound; // nothing to convert: it waits unchecked
    return item;
}

} // namespace

SourceFileAdder::SourceFileAdder(SourceListModel &model, ICodecErrorReporter &reporter, IMessageBoxes &boxes,
                                 QObject *parent)
    : QObject(parent), m_model(model), m_reporter(reporter), m_boxes(boxes),
      m_sizeOf([](const QString &path) { return FileSizeOf(path); })
{
}

SourceFileAdder::~SourceFileAdder() { m_run.reset(); }

void SourceFileAdder::setSizeFunction(SizeFunction sizeOf) { m_sizeOf = std::move(sizeOf); }

bool SourceFileAdder::isBusy() const { return m_current != nullptr || !m_waiting.empty(); }

void SourceFileAdder::AddSourceFiles(const QStringList &paths, std::function<void()> done)
{
    m_waiting.push_back(Operation{paths, std::move(done)});
    if (!m_current)
        startNextOperation();
}

void SourceFileAdder::startNextOperation()
{
    if (m_waiting.empty())
        return;
    m_current = std::make_unique<Operation>(std::move(m_waiting.front()));
    m_waiting.pop_front();
    m_measuringDone = false;
    m_outcome = Outcome{};
    const QPointer<SourceFileAdder> self(this);
    m_run = std::make_unique<SourceProbeRun>(
        [this, paths = m_current->paths, listed = listedPaths(m_model)](const std::atomic<bool> &stop) {
            return pathsToMeasure(paths, listed, stop);
        },
        [this](int count) {
            QMetaObject::invokeMethod(this, [this, count] { listedCount(count); }, Qt::QueuedConnection);
        },
        m_sizeOf,
        [this](const ProbedSourceFile &file) {
            QMetaObject::invokeMethod(this, [this, file] { receive(file); }, Qt::QueuedConnection);
        },
        [this] { QMetaObject::invokeMethod(this, [this] { receiveEnd(); }, Qt::QueuedConnection); });
    m_run->start();
}

// On the worker: folders walked; paths not in the list yet, not repeated, with an accepted
// extension; the rest is passed over. The folders without a video go to the operation's outcome.
QStringList SourceFileAdder::pathsToMeasure(const QStringList &paths, const QSet<QString> &listed,
                                            const std::atomic<bool> &stop)
{
    const ExpandedPaths expanded = ExpandFolderTrees(paths, &stop);
    QMetaObject::invokeMethod(
        this,
        [this, without = expanded.foldersWithoutVideo, unreadable = expanded.unreadableFolders] {
            m_outcome.foldersWithoutVideo << without;
            m_outcome.unreadableFolders << unreadable;
        },
        Qt::QueuedConnection);
    QStringList chosen;
    for (const QString &path : DistinctPaths(expanded.paths)) {
        if (!listed.contains(path) && IsAcceptedSourceFile(path))
            chosen << path;
    }
    return chosen;
}

void SourceFileAdder::listedCount(int count)
{
    m_outcome.listed = count;
    Q_EMIT progress(0, count);
}

void SourceFileAdder::cancel()
{
    if (!isBusy())
        return;
    m_cancelled = true;
    m_ready.clear();
    if (m_run)
        m_run->stop();
}

void SourceFileAdder::receive(const ProbedSourceFile &file)
{
    m_ready.push_back(file);
    handleReady();
}

void SourceFileAdder::receiveEnd()
{
    m_measuringDone = true;
    Q_EMIT allMeasured();
    handleReady();
}

// Handles the measured files in order. A report window shown for one file may let further
// results arrive; they wait in the queue for the loop that is already running. While a report
// window is open, this object may be destroyed (the program ends): then nothing of it is touched.
void SourceFileAdder::handleReady()
{
    if (m_handling)
        return;
    const QPointer<SourceFileAdder> alive(this);
    m_handling = true;
    while (!m_ready.empty()) {
        const ProbedSourceFile file = std::move(m_ready.front());
        m_ready.pop_front();
        handle(file);
        if (!alive)
            return;
    }
    m_handling = false;
    if (m_measuringDone)
        finishOperation();
}

void SourceFileAdder::handle(const ProbedSourceFile &file)
{
    const auto counted = qScopeGuard([this] { Q_EMIT progress(++m_handled, m_outcome.listed); });
    if (m_cancelled || listHolds(m_model, file.path)) // added by an operation that ran meanwhile
        return;
    if (file.refused) {
        m_refused.append({file.path, file.refusal});
        return;
    }
    if (!file.sizeError.isEmpty()) {
        m_refused.append({file.path, SourceRefusal::SizeUnknown});
        return;
    }
    m_model.appendItem(newItem(file));
    ++m_outcome.added;
    if (!file.hasSound)
        m_soundless << file.path;
}

// One report for the whole operation, after its last row: the files left out, then the videos
// added unchecked for want of sound. A report window may outlive this object (the program
// ends): false then.
bool SourceFileAdder::reportOperation()
{
    const QPointer<SourceFileAdder> alive(this);
    const QList<RefusedSourceFile> refused = std::exchange(m_refused, {});
    const QStringList soundless = std::exchange(m_soundless, {});
    if (!refused.isEmpty())
        m_reporter.ReportRefusedFiles(refused);
    if (!alive)
        return false;
    if (!soundless.isEmpty())
        ShowMessageBox(m_boxes, SoundlessFilesText(soundless), MessageKind::Warning);
    return alive;
}

void SourceFileAdder::finishOperation()
{
    m_run.reset();
    if (!reportOperation())
        return;
    endOperation(std::move(m_current));
    if (!m_cancelled) {
        if (!m_current)
            startNextOperation();
        return;
    }
    // Cancelled: every waiting operation ends at once, adding nothing.
    const QPointer<SourceFileAdder> alive(this);
    while (alive && !m_waiting.empty()) {
        auto waiting = std::make_unique<Operation>(std::move(m_waiting.front()));
        m_waiting.pop_front();
        m_outcome = Outcome{};
        endOperation(std::move(waiting));
    }
    if (alive)
        m_cancelled = false;
}

void SourceFileAdder::endOperation(std::unique_ptr<Operation> over)
{
    m_measuringDone = false;
    m_handled = 0;
    m_lastOutcome = std::exchange(m_outcome, Outcome{});
    m_lastOutcome.cancelled = m_cancelled;
    Q_EMIT finished();
    if (over->done)
        over->done();
}
