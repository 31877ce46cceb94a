#pragma once
// The conversion queue: runs encoder jobs in up to N slots at once, each by its own runner (its
// encoder in a process group of its own), and says how each job ended in one form. The window's
// batch run and kelvane-convert both hand their jobs to it; what they build and how they report
// stays theirs. Nothing here waits or polls: the runners' signals drive it.
//
// With one slot the jobs run one after another, exactly as a caller starts them.
#include "engine/BatchReport.h"
#include "engine/CommandTemplates.h"
#include "engine/ExitStatus.h"
#include "engine/LoudnessReport.h"
#include "engine/SoundRoute.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <list>
#include <memory>
#include <optional>

class TAdvanceSystem;

// One encoder run: the caller's name for it, the file it converts (what its log lines name) and
// the plan (program, arguments, output path).
struct EncoderJob {
    int key = 0;
    QString source;
    EncoderCommand command;
    qint64 lengthSeconds = 0; // the sound it is to write, for a failure's reason; 0: not known
};

// How a job ended.
enum class EncoderJobEndReason {
    Converted, // the encoder ended well and its output file is there
    Failed,    // it could not start, failed, or wrote nothing
    Stopped,   // stop() ended it
};

struct EncoderJobEnd {
    int key = 0;
    QString source;
    QString outputPath;
    EncoderJobEndReason reason = EncoderJobEndReason::Failed;
    bool stopAsked = false;                // stop() came while it ran (it may have converted anyway)
    QString failure;                       // Failed: why, in the words of EncoderFailure
    QString encoderOutput;                 // Failed: the encoder's last line, when `failure` leaves it out (for the log)
    std::optional<TShortfall> shortfall;   // Converted: the sound ended before the end asked
    std::optional<LoudnessReport> loudness; // Converted: what normalising measured and did
    SoundRoute route;                      // Converted: which way the sound went, when said
};

// The log lines of a job that ended, in the one format both faces write: "Conversion failed:
// FILE (reason)", "Conversion stopped: FILE", or for a converted file its loudness, sound route
// and shortfall lines (none when there is nothing to say).
QStringList EncoderJobLogLines(const EncoderJobEnd &end);

class ConversionQueue : public QObject {
    Q_OBJECT
public:
    using Logger = std::function<void(const QString &line)>;

    // `slots` is at least 1. `logQuietly` takes the lines of ending encoders (it must not throw).
    explicit ConversionQueue(int slots, Logger logQuietly, QObject *parent = nullptr);
    // Ends every encoder still running (each may remove its unfinished file first) and waits.
    ~ConversionQueue() override;

    int slotCount() const { return m_slots; }
    int runningCount() const { return static_cast<int>(m_running.size()); }
    bool hasFreeSlot() const { return runningCount() < m_slots; }
    bool isIdle() const { return m_running.empty(); }

    // Starts `job` in a free slot (the caller checks hasFreeSlot): jobStarting comes first, and a
    // stop() from its receiver keeps the encoder from starting (the job then ends as stopped).
    void start(const EncoderJob &job);
    // Ends every running encoder (or keeps it from starting); they end as stopped, each through
    // jobFinished. Starting new jobs stays the caller's choice.
    void stop();

Q_SIGNALS:
    void jobStarting(int key);
    // A chunk of a job's encoder output, on this object's thread, as it comes.
    void jobOutput(int key, const QString &chunk);
    // The job is over; its runner is gone and its slot free.
    void jobFinished(const EncoderJobEnd &end);

private:
    struct Running;
    void ended(Running *job, bool started, const TExitStatus &status);

    int m_slots = 1;
    Logger m_logQuietly;
    std::list<std::unique_ptr<Running>> m_running;
};
