#pragma once
// What a batch run tells about its items, kept apart from the run so that any queue of jobs
// can use it: the checked items that have nothing to convert, the encoder's notice that the
// sound ended before the end asked, and the one-line summary of a run.
#include "media/SourceItem.h"

#include <QList>
#include <QString>
#include <optional>

// A checked item whose end is not after its start (in the whole seconds the grid shows).
struct TEmptyCut {
    SourceItemId item;
    QString fileName;
    QString startTime; // hh:mm:ss
    QString endTime;   // hh:mm:ss

    friend bool operator==(const TEmptyCut &, const TEmptyCut &) = default;
};

// The checked items of `items` with nothing to convert (end at or before start), in list order.
QList<TEmptyCut> ItemsWithNothingToConvert(const QList<SourceItem> &items);

// The one message that names them: "nothing to convert between 00:00:20 and 00:00:20".
QString NothingToConvertMessage(const QList<TEmptyCut> &cuts);

// The sound of a converted file ended before the end that was asked.
struct TShortfall {
    double soundSeconds = 0; // what the output holds
    double askedSeconds = 0; // what was asked

    friend bool operator==(const TShortfall &, const TShortfall &) = default;
};

// Reads the encoder's line "Notice: the sound ends at 14.49 s, before the end asked (30 s)"
// (any letter case of "notice"); nothing for any other line.
std::optional<TShortfall> ParseShortfallNotice(const QString &line);

// Follows an encoder's output, chunk by chunk (a chunk may end inside a line), for the notice
// that its sound ended early.
class TShortfallWatch {
public:
    void take(const QString &chunk);
    const std::optional<TShortfall> &shortfall() const { return m_shortfall; }

private:
    QString m_lineStart; // the line that has not ended yet
    std::optional<TShortfall> m_shortfall;
};

// "converted, shorter than listed (14.5 s of 30 s)"
QString ShortfallText(const TShortfall &shortfall);

// A converted item whose sound ended early.
struct TShortItem {
    QString fileName;
    TShortfall shortfall;
};

// How a run's checked items ended.
struct TRunCounts {
    int converted = 0;  // converted, the short ones included
    int failed = 0;
    int stopped = 0;    // ended by Stop or by closing the progress window
    int notStarted = 0; // left when the run was ended early
    bool endedEarly = false;
    QList<TShortItem> shorter; // converted, but shorter than listed
};

// The status line after a run: "9 files converted, 1 failed." or, after a stop,
// "Stopped: 1 converted, 1 stopped, 2 not started."; a file converted short is named after it
// ("talk.mp4: converted, shorter than listed (14.5 s of 30 s).").
QString RunSummaryText(const TRunCounts &counts);
