#include "media/SourceFileAdder.h"

#include "media/CodecErrorReporter.h"
#include "media/SourceFileTypes.h"
#include "media/SourceListModel.h"
#include "media/SourceProbeRun.h"
#include "support/FileFunc.h"
#include "support/MessageBoxHelpers.h"

#include <QPointer>
#include <algorithm>

struct SourceFileAdder::Operation {
    QStringList paths;
    std::function<void()> done;
};

namespace {

bool listHolds(const SourceListModel &model, const QString &path)
{
    const QList<SourceItem> &items = model.items();
    return std::any_of(items.cbegin(), items.cend(), [&](const SourceItem &item) { return item.path == path; });
}

QString sizeFailureText(const QString &path)
{
    return QStringLiteral("The size of the file \"%1\" cannot be read, so the file was not added to the list. "
                          "Please check that it still exists and that you may read it.")
        .arg(path);
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
    m_run = std::make_unique<SourceProbeRun>(
        pathsToMeasure(m_current->paths), m_sizeOf,
        [this](const ProbedSourceFile &file) {
            QMetaObject::invokeMethod(this, [this, file] { receive(file); }, Qt::QueuedConnection);
        },
        [this] { QMetaObject::invokeMethod(this, [this] { receiveEnd(); }, Qt::QueuedConnection); });
    m_run->start();
}

// Paths not in the list yet, not repeated, with an accepted extension; the rest is passed over.
QStringList SourceFileAdder::pathsToMeasure(const QStringList &paths) const
{
    QStringList chosen;
    for (const QString &path : DistinctPaths(paths)) {
        if (!listHolds(m_model, path) && IsAcceptedSourceFile(path))
            chosen << path;
    }
    return chosen;
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
    if (listHolds(m_model, file.path)) // added by an operation that ran meanwhile
        return;
    if (file.refused) {
        m_reporter.ShowReadErrorWindow(file.path);
        return;
    }
    if (!file.sizeError.isEmpty()) {
        ShowMessageBox(m_boxes, sizeFailureText(file.path), MessageKind::Error);
        return;
    }
    m_model.appendItem(WholeFileItem(file.path, file.size, file.milliseconds));
}

void SourceFileAdder::finishOperation()
{
    m_run.reset();
    const std::unique_ptr<Operation> over = std::move(m_current);
    m_measuringDone = false;
    Q_EMIT finished();
    if (over->done)
        over->done();
    if (!m_current)
        startNextOperation();
}
