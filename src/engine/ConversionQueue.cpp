#include "engine/ConversionQueue.h"

#include "engine/AdvanceSystem.h"
#include "engine/EncoderFailure.h"
#include "engine/EncoderProcesses.h"
#include "engine/OutputTemporaries.h"
#include "engine/ProgressRefresh.h"

#include <algorithm>

// A job in a slot. Its figures are only touched on the queue's thread: the runner hands each
// chunk over to it.
struct ConversionQueue::Running {
    EncoderJob job;
    std::unique_ptr<TAdvanceSystem> runner;
    QString lastLine; // the encoder's last line, for the reason of a failure
    qint64 writtenSeconds = -1; // of sound, from its newest status line
    TShortfallWatch shortfall;
    std::optional<LoudnessReport> loudness;
    SoundRouteReader route;
    bool stopAsked = false;

    void take(const QString &chunk)
    {
        if (const QString line = LastOutputLine(chunk); !line.isEmpty())
            lastLine = line;
        if (const qint64 seconds = LatestStatusSeconds(chunk); seconds >= 0)
            writtenSeconds = seconds;
        shortfall.take(chunk);
        if (const auto report = FindLoudnessReport(chunk))
            loudness = report;
        route.feed(chunk);
    }
};

QStringList EncoderJobLogLines(const EncoderJobEnd &end)
{
    switch (end.reason) {
    case EncoderJobEndReason::Failed: return {ConversionFailedLine(end.source, end.failure, end.encoderOutput)};
    case EncoderJobEndReason::Stopped: return {ConversionStoppedLine(end.source)};
    case EncoderJobEndReason::Converted: break;
    }
    QStringList lines;
    if (end.loudness)
        lines << QStringLiteral("Loudness of %1: %2").arg(end.source, LoudnessReportText(*end.loudness));
    if (end.route.known())
        lines << SoundRouteLogLine(end.source, end.route);
    if (end.shortfall)
        lines << end.source + QStringLiteral(": ") + ShortfallText(*end.shortfall);
    return lines;
}

ConversionQueue::ConversionQueue(int slots, Logger logQuietly, QObject *parent)
    : QObject(parent), m_slots(std::max(1, slots)), m_logQuietly(std::move(logQuietly))
{
}

ConversionQueue::~ConversionQueue() = default;

void ConversionQueue::start(const EncoderJob &job)
{
    auto running = std::make_unique<Running>();
    Running *const raw = running.get();
    raw->job = job;
    const int key = job.key;
    raw->runner = std::make_unique<TAdvanceSystem>(
        job.command.program, job.command.arguments,
        [this, raw, key](const QString &chunk) {
            raw->take(chunk);
            Q_EMIT jobOutput(key, chunk);
        },
        this);
    raw->runner->setOnEnded(RemoveTemporaryWhenFailed(job.command.outputPath));
    connect(raw->runner.get(), &TAdvanceSystem::captureFinished, this,
            [this, raw](bool started, const TExitStatus &status) { ended(raw, started, status); });
    m_running.push_back(std::move(running));
    // A stop that comes while the receivers bring up their windows keeps the encoder from starting.
    Q_EMIT jobStarting(key);
    raw->runner->start();
}

void ConversionQueue::stop()
{
    for (const std::unique_ptr<Running> &job : m_running) {
        job->stopAsked = true;
        KillEncoder(job->runner.get(), m_logQuietly);
    }
}

void ConversionQueue::ended(Running *which, bool started, const TExitStatus &status)
{
    const auto at = std::find_if(m_running.begin(), m_running.end(), [&](const auto &job) { return job.get() == which; });
    if (at == m_running.end())
        return;
    const std::unique_ptr<Running> job = std::move(*at);
    m_running.erase(at);
    job->runner->wait(); // its body has emitted the signal as its last act
    job->runner.reset();

    EncoderJobEnd end;
    end.key = job->job.key;
    end.source = job->job.source;
    end.outputPath = job->job.command.outputPath;
    end.stopAsked = job->stopAsked;
    const QString failure = EncoderFailure(job->job.command.program, end.outputPath, job->lastLine, started, status,
                                           {job->writtenSeconds, job->job.lengthSeconds});
    if (job->stopAsked && !status.succeeded()) {
        end.reason = EncoderJobEndReason::Stopped;
    } else if (!failure.isEmpty()) {
        end.reason = EncoderJobEndReason::Failed;
        end.failure = failure;
        end.encoderOutput = EncoderOutputForLog(job->job.command.program, job->lastLine, failure);
    } else {
        end.reason = EncoderJobEndReason::Converted;
        end.shortfall = job->shortfall.shortfall();
        end.loudness = job->loudness;
        end.route = job->route.route();
    }
    Q_EMIT jobFinished(end);
}
