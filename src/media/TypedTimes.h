#pragma once
// The check that runs when a start or end time typed into the source list is committed: it
// fills cleared cells, keeps the start within the file and the end after the start and within
// the file; the cut follows from the times.
#include "media/SourceItem.h"

#include <QString>
#include <optional>

// The seconds of a time typed the one way the list takes it: hh:mm:ss with two-digit hours and
// minutes and seconds below 60 ("01:02:03"); nothing for any other text.
std::optional<qint64> ReadTypedTime(const QString &text);
inline bool IsTypedTimeReadable(const QString &text) { return ReadTypedTime(text).has_value(); }

// What the user is told about a typed time that can't be read.
QString UnreadableTimeMessage(const QString &text);

// Which cell a typed time went into, and the seconds typed; nothing for a cleared cell.
enum class TypedCell { Start, End };
// `item` with the typed time written into its cell: a cleared start is the beginning of the
// file, a cleared end its exact end.
SourceItem WithTypedTime(SourceItem item, TypedCell cell, std::optional<qint64> seconds);

// Applied to one item, in this order, in whole seconds as the grid shows them:
//   - a start at or past the duration becomes the duration;
//   - a start at or past the end becomes the end as well (as it was before this check);
//   - an end at or past the duration becomes the file's exact end; no end is left past it.
// Start and end are read as they were before these corrections.
SourceItem CheckEditedTimes(SourceItem item);
