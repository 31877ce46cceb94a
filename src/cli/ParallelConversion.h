#pragma once
// Converts a list of files with up to N encoders at once. The files are measured one after
// another on a worker thread (the window's checks); a file is started as soon as it has been
// measured and a slot of the conversion queue is free, in list order. Each job has its own
// command, record and source item, and the queue gives it a runner of its own (its encoder in a
// process group of its own); the only thing jobs share is the set of output names reserved for
// the jobs not finished yet.
#include "cli/ItemReport.h"
#include "cli/JobCommand.h"
#include "media/AudioTracks.h"
#include "engine/ConversionQueue.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTemporaryDir>

#include <deque>
#include <list>
#include <memory>
#include <optional>

class SourceProbeRun;
struct ProbedSourceFile;

struct ConversionSettings {
    JobCommandContext context;
    int jobs = 1;
    std::optional<qint64> startSeconds;
    std::optional<qint64> endSeconds;
    std::optional<AudioTrackWish> audioTrack; // unset: each file's default track
};

class ParallelConversion : public QObject {
    Q_OBJECT
public:
    explicit ParallelConversion(ConversionSettings settings, QObject *parent = nullptr);
    // Ends every encoder still running (each may remove its unfinished file first) and waits.
    ~ParallelConversion() override;

    // Starts with `sources` (absolute paths) and returns at once; every file is reported once
    // through itemOver, then finished follows.
    void start(const QStringList &sources);
    // Starts nothing more and ends the running encoders; their files count as stopped, the
    // files not started yet as not started.
    void stop();

    RunProgress progress() const;
    // Set when the run could not go on (the log can't be written); files not started then are
    // reported as not started.
    const QString &runError() const { return m_runError; }

Q_SIGNALS:
    void itemOver(const ItemReport &report);
    void finished();

private:
    struct Job;

    void probed(const ProbedSourceFile &file);
    void probingOver();
    void fillSlots();
    void startJob(std::unique_ptr<Job> job);
    void launch(Job &job);
    Job *runningJob(int key) const;
    void jobOutput(int key, const QString &chunk);
    void jobEnded(const EncoderJobEnd &end);
    void halt(const QString &runError);
    void report(ItemReport report);
    void reportNotStarted(const QString &source);
    void finishWhenOver();
    QString scriptFolderFor();
    void logQuietly(const QString &line) const;

    ConversionSettings m_settings;
    QStringList m_sources;
    qsizetype m_probedCount = 0;
    std::unique_ptr<SourceProbeRun> m_probe;
    bool m_probing = false;
    std::deque<std::unique_ptr<Job>> m_waiting;
    std::list<std::unique_ptr<Job>> m_running; // the jobs in the queue's slots
    std::unique_ptr<ConversionQueue> m_queue;
    int m_lastKey = 0;
    bool m_halted = false;
    bool m_finished = false;
    QString m_runError;
    int m_filesKnown = 0;
    int m_filesOver = 0;
    qint64 m_totalSeconds = 0;
    qint64 m_convertedSeconds = 0;
    int m_jobNumber = 0;
    std::optional<QTemporaryDir> m_scripts;
};
