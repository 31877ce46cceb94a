#include "media/TypedTimes.h"

#include "media/TimeText.h"

std::optional<qint64> ReadTypedTime(const QString &text)
{
    return ReadWrittenTime(text, 2);
}

QString UnreadableTimeMessage(const QString &text)
{
    return QStringLiteral("The time \"%1\" can't be read. Please type times as hh:mm:ss, for example 00:01:30; "
                          "the row keeps its times.")
        .arg(text);
}

SourceItem WithTypedTime(SourceItem item, TypedCell cell, std::optional<qint64> seconds)
{
    if (cell == TypedCell::Start)
        item.startMs = seconds.value_or(0) * 1000;
    else
        item.endMs = seconds ? *seconds * 1000 : item.durationMs;
    return item;
}

SourceItem CheckEditedTimes(SourceItem item)
{
    const qint64 duration = DurationSeconds(item);
    const qint64 start = StartSeconds(item);
    const qint64 end = EndSeconds(item);
    qint64 checkedStart = start;
    qint64 checkedEnd = end;
    if (start >= duration)
        checkedStart = duration;
    if (start >= end)
        checkedEnd = start;
    item.startMs = checkedStart * 1000;
    item.endMs = EndAtSeconds(item, checkedEnd);
    return item;
}
