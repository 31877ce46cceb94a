#pragma once
// The check that runs when a start or end time typed into the source list is committed: it
// fills cleared cells, keeps the start within the file and the end after the start and within
// the file, and works out the cut time again.
#include "media/SourceRow.h"

#include <QString>
#include <optional>

// True for a time typed the one way the list takes it: hh:mm:ss with two-digit hours and
// minutes and seconds below 60 ("01:02:03").
bool IsTypedTimeReadable(const QString &text);

// What the user is told about a typed time that can't be read.
QString UnreadableTimeMessage(const QString &text);

struct CheckedTimes {
    SourceRow row;      // the row with its start, end and cut time corrected
    qint32 startSeconds; // the start after the check, where a loaded preview goes
};

// Applied to one row, in this order:
//   - an empty start becomes "00:00:00", an empty end the duration;
//   - a start at or past the duration becomes the duration;
//   - a start at or past the end becomes the end as well (as it was typed);
//   - an end at or past the duration becomes the duration; no end is left past it;
//   - the cut time becomes min(end, duration) − start, "00:00:00" when that is negative.
// Start and end are read as they were before these corrections. Nothing when the start or end
// is not a time hh:mm:ss (hours of two digits or more).
std::optional<CheckedTimes> CheckEditedTimes(const SourceRow &row);
