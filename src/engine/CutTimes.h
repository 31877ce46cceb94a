#pragma once
// The cut range and the chosen audio track of a source, looked up in the source list by path
// (ASCII letters compared without regard to case; the last matching row wins).
#include "media/SourceListModel.h"

#include <optional>
#include <stdexcept>

// Raised when a piece of a start or end time is not a decimal integer.
class TimeTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The number of rows holding `sourcePath`.
int CountRowsHolding(const SourceListModel &sources, const QString &sourcePath);

// The startTime of the last row holding `sourcePath`; empty when none.
QString LookupStartTime(const SourceListModel &sources, const QString &sourcePath);

// End seconds minus start seconds of the last row holding `sourcePath`, as decimal text (may be
// 0 or negative); empty when none. A time that is not three ":"-separated pieces counts as 0.
// A row whose end is still its whole duration takes the file to its exact end instead: its
// measured length less the start, rounded up to whole seconds (the grid shows truncated
// seconds; the encoder stops at the end of the file).
// Throws TimeTextError when a piece is not a decimal integer or the seconds do not fit in 64 bits.
QString LookupDuration(const SourceListModel &sources, const QString &sourcePath);

// The audio track chosen in the last row holding `sourcePath`; nothing when none was chosen or
// no row holds it.
std::optional<int> LookupChosenAudioTrack(const SourceListModel &sources, const QString &sourcePath);

// Seconds of an hh:mm:ss text under the rule above (ReadTimeText's reading).
qint64 TimeTextSeconds(const QString &timeText);
