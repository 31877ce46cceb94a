#include "cli/ParallelConversion.h"

#include "cli/AudioTrackChoice.h"
#include "cli/SourceCut.h"
#include "engine/OutputTemporaries.h"
#include "engine/ProgressRefresh.h"
#include "media/SourceProbeRun.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

struct ParallelConversion::Job {
    int key = 0;              // its name in the queue
    CutSource cut;
    JobCommand command;
    QString scriptFolder;     // the folder of this job's own script
    qint64 writtenSeconds = 0;
    QElapsedTimer clock;

    const QString &source() const { return cut.item.path; }
};

namespace {

// Why the window would not take a measured file into its list; empty when it would.
QString measureRefusal(const ProbedSourceFile &file)
{
    if (file.refused) {
        if (!QFileInfo(file.path).isReadable())
            return QStringLiteral("it cannot be read (no permission).");
        return QStringLiteral("it cannot be read as a video, or it lasts less than a second.");
    }
    if (!file.sizeError.isEmpty())
        return QStringLiteral("its size cannot be read: ") + file.sizeError;
    return {};
}

} // namespace

ParallelConversion::ParallelConversion(ConversionSettings settings, QObject *parent)
    : QObject(parent), m_settings(std::move(settings))
{
    m_settings.jobs = std::max(1, m_settings.jobs);
    m_queue = std::make_unique<ConversionQueue>(m_settings.jobs, [this](const QString &line) { logQuietly(line); });
    connect(m_queue.get(), &ConversionQueue::jobOutput, this, &ParallelConversion::jobOutput);
    connect(m_queue.get(), &ConversionQueue::jobFinished, this, &ParallelConversion::jobEnded);
}

ParallelConversion::~ParallelConversion()
{
    m_probe.reset();
    m_queue.reset(); // each runner ends its encoder with the usual grace and waits for it
}

void ParallelConversion::start(const QStringList &sources)
{
    m_sources = sources;
    RemoveStaleOutputTemporaries(m_settings.context.outputFolderText, std::chrono::system_clock::now(),
                                 [this](const QString &line) { logQuietly(line); });
    if (!sources.isEmpty()) {
        m_probing = true;
        m_probe = std::make_unique<SourceProbeRun>(
            sources, [](const QString &path) { return FileSizeOf(path); },
            [this](const ProbedSourceFile &file) {
                QMetaObject::invokeMethod(this, [this, file] { probed(file); }, Qt::QueuedConnection);
            },
            [this] { QMetaObject::invokeMethod(this, [this] { probingOver(); }, Qt::QueuedConnection); });
        m_probe->start();
    }
    finishWhenOver();
}

void ParallelConversion::probed(const ProbedSourceFile &file)
{
    ++m_probedCount;
    if (m_halted) {
        reportNotStarted(file.path);
        return;
    }
    QString refusal = measureRefusal(file);
    auto job = std::make_unique<Job>();
    if (refusal.isEmpty()) {
        job->cut = CutSourceItem(file, m_settings.startSeconds, m_settings.endSeconds);
        refusal = job->cut.refusal;
    }
    if (refusal.isEmpty())
        refusal = ChooseAudioTrack(job->cut.item, m_settings.audioTrack);
    if (!refusal.isEmpty()) {
        report(ItemReport::notConverted(file.path, ItemOutcome::Failed, refusal));
        return;
    }
    m_totalSeconds += job->cut.cutSeconds;
    m_waiting.push_back(std::move(job));
    fillSlots();
}

void ParallelConversion::probingOver()
{
    m_probing = false;
    m_probe.reset();
    if (m_halted) {
        for (qsizetype i = m_probedCount; i < m_sources.size(); ++i)
            reportNotStarted(m_sources.at(i));
        m_probedCount = m_sources.size();
    }
    finishWhenOver();
}

void ParallelConversion::fillSlots()
{
    while (!m_halted && !m_waiting.empty() && m_queue->hasFreeSlot()) {
        std::unique_ptr<Job> job = std::move(m_waiting.front());
        m_waiting.pop_front();
        startJob(std::move(job));
    }
    finishWhenOver();
}

void ParallelConversion::startJob(std::unique_ptr<Job> job)
{
    try {
        job->scriptFolder = scriptFolderFor();
        job->command = BuildJobCommand(m_settings.context, job->cut.item, job->scriptFolder);
    } catch (const LogWriteError &e) {
        // Without the log no command can be built: nothing more is started.
        const QString error = QString::fromLocal8Bit(e.what());
        report(ItemReport::notConverted(job->source(), ItemOutcome::Failed, error));
        halt(error);
        return;
    } catch (const std::exception &e) {
        report(ItemReport::notConverted(job->source(), ItemOutcome::Failed, QString::fromLocal8Bit(e.what())));
        return;
    }
    if (!job->command.result.ok()) {
        report(ItemReport::notConverted(job->source(), ItemOutcome::Failed, job->command.result.error));
        return;
    }
    Job &started = *job;
    m_running.push_back(std::move(job));
    launch(started);
}

void ParallelConversion::launch(Job &job)
{
    job.key = ++m_lastKey;
    job.clock.start();
    m_queue->start({job.key, job.source(), job.command.result.command, job.cut.cutSeconds});
}

ParallelConversion::Job *ParallelConversion::runningJob(int key) const
{
    const auto at = std::find_if(m_running.begin(), m_running.end(), [&](const auto &job) { return job->key == key; });
    return at == m_running.end() ? nullptr : at->get();
}

void ParallelConversion::jobOutput(int key, const QString &chunk)
{
    if (Job *job = runningJob(key)) {
        if (const qint64 seconds = LatestStatusSeconds(chunk); seconds >= 0)
            job->writtenSeconds = seconds;
    }
}

void ParallelConversion::jobEnded(const EncoderJobEnd &end)
{
    const auto at = std::find_if(m_running.begin(), m_running.end(), [&](const auto &job) { return job->key == end.key; });
    if (at == m_running.end())
        return;
    std::unique_ptr<Job> job = std::move(*at);
    m_running.erase(at);
    m_settings.context.fileFunc->releaseName(job->command.outputPath);
    if (!job->scriptFolder.isEmpty())
        QDir(job->scriptFolder).removeRecursively();

    ItemReport item;
    item.source = job->source();
    item.commandLine = job->command.result.command.commandLine;
    item.seconds = static_cast<double>(job->clock.elapsed()) / 1000.0;
    switch (end.reason) {
    case EncoderJobEndReason::Stopped: item.outcome = ItemOutcome::Stopped; break;
    case EncoderJobEndReason::Failed:
        item.outcome = ItemOutcome::Failed;
        item.error = end.failure;
        break;
    case EncoderJobEndReason::Converted:
        item.outcome = ItemOutcome::Converted;
        item.output = job->command.outputPath;
        item.shortfall = end.shortfall;
        item.loudness = end.loudness;
        item.audio = end.route;
        m_convertedSeconds += job->cut.cutSeconds;
        break;
    }
    for (const QString &line : EncoderJobLogLines(end))
        logQuietly(line);
    report(item);
    fillSlots();
}

void ParallelConversion::stop()
{
    halt({});
    m_queue->stop();
    finishWhenOver();
}

// Starts nothing more: the files waiting are reported as not started, measuring ends after the
// file it is at (the files after it are reported when it has ended).
void ParallelConversion::halt(const QString &runError)
{
    if (m_runError.isEmpty())
        m_runError = runError;
    if (m_halted)
        return;
    m_halted = true;
    while (!m_waiting.empty()) {
        const std::unique_ptr<Job> job = std::move(m_waiting.front());
        m_waiting.pop_front();
        reportNotStarted(job->source());
    }
    if (m_probe)
        m_probe.reset(); // its end is still announced, through probingOver
}

void ParallelConversion::report(ItemReport item)
{
    ++m_filesOver;
    Q_EMIT itemOver(item);
}

void ParallelConversion::reportNotStarted(const QString &source)
{
    report(ItemReport::notConverted(source, ItemOutcome::NotStarted, m_runError));
}

void ParallelConversion::finishWhenOver()
{
    if (m_finished || m_probing || !m_waiting.empty() || !m_running.empty())
        return;
    m_finished = true;
    Q_EMIT finished();
}

// Every job gets a folder of its own for the script the builder writes, inside one temporary
// folder of the run.
QString ParallelConversion::scriptFolderFor()
{
    if (!m_scripts)
        m_scripts.emplace(QDir::tempPath() + QStringLiteral("/kelvane-convert-XXXXXX"));
    if (!m_scripts->isValid())
        throw std::runtime_error(
            QStringLiteral("Cannot make a temporary folder for the scripts: %1").arg(m_scripts->errorString()).toStdString());
    return m_scripts->filePath(QString::number(++m_jobNumber));
}

RunProgress ParallelConversion::progress() const
{
    RunProgress progress;
    progress.filesKnown = static_cast<int>(m_sources.size());
    progress.filesOver = m_filesOver;
    progress.totalSeconds = m_totalSeconds;
    progress.doneSeconds = m_convertedSeconds;
    for (const std::unique_ptr<Job> &job : m_running) {
        const qint64 written = std::clamp<qint64>(job->writtenSeconds, 0, job->cut.cutSeconds);
        progress.running << RunningItem{job->source(), written, job->cut.cutSeconds};
        progress.doneSeconds += written;
    }
    return progress;
}

void ParallelConversion::logQuietly(const QString &line) const
{
    try {
        m_settings.context.log->WriteLog(line);
    } catch (const std::exception &) {
    }
}
