#pragma once
// What the command-line converter tells about its files: each file once it is over, the files
// being converted while they run, and the counts of the whole run.
#include "engine/BatchReport.h"
#include "engine/SoundRoute.h"

#include <QList>
#include <QString>

#include "engine/LoudnessReport.h"

#include <optional>

enum class ItemOutcome { Converted, Failed, Stopped, NotStarted };

struct ItemReport {
    ItemReport() = default;
    // The fields from the first on, in their order; the ones left out keep their defaults.
    ItemReport(QString source, ItemOutcome outcome, QString output = {}, QString error = {}, QString commandLine = {},
               double seconds = 0)
        : source(std::move(source)), outcome(outcome), output(std::move(output)), error(std::move(error)),
          commandLine(std::move(commandLine)), seconds(seconds)
    {
    }

    QString source;      // the file, as an absolute path (or as named, when it was not taken)
    ItemOutcome outcome = ItemOutcome::Failed;
    QString output;      // Converted: the file written
    QString error;       // Failed: why, in one line
    QString commandLine; // the encoder command, when one was built
    double seconds = 0;  // how long its encoder ran
    std::optional<TShortfall> shortfall; // Converted: its sound ended before the end asked
    std::optional<LoudnessReport> loudness; // what the encoder measured and did, when it normalised
    SoundRoute audio;    // Converted with --keep-original: copied or encoded again, and why

    // A file that was not converted (failed, stopped or not started), and why.
    static ItemReport notConverted(const QString &source, ItemOutcome outcome, const QString &why = {});
    // A file converted into `output`.
    static ItemReport converted(const QString &source, const QString &output);
};

struct RunningItem {
    QString source;
    qint64 writtenSeconds = 0; // of output, from the encoder's status lines
    qint64 cutSeconds = 0;     // to be written in all
};

struct RunCounts {
    int converted = 0;
    int failed = 0;
    int stopped = 0;
    int notStarted = 0;

    void add(ItemOutcome outcome);
    int notConverted() const { return failed + stopped + notStarted; }
};

// Progress over the files measured so far, in seconds of sound.
struct RunProgress {
    QList<RunningItem> running;
    int filesKnown = 0;      // files taken into the run so far
    int filesOver = 0;       // of those, over (converted, failed or stopped)
    qint64 totalSeconds = 0; // to be written for every file taken
    qint64 doneSeconds = 0;  // written so far
    // Once a stop was asked: how the files ended so far, which the total line then counts.
    std::optional<RunCounts> stopping;
};
