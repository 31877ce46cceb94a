#include "media/SourceItem.h"

#include <algorithm>

SourceItem WholeFileItem(const QString &path, qint64 sizeBytes, qint64 durationMs)
{
    SourceItem item;
    item.path = path;
    item.sizeBytes = sizeBytes;
    item.durationMs = durationMs;
    item.startMs = 0;
    item.endMs = durationMs;
    return item;
}

qint64 EndAtSeconds(const SourceItem &item, qint64 seconds)
{
    return seconds >= DurationSeconds(item) ? item.durationMs : seconds * 1000;
}

qint64 ShownCutSeconds(const SourceItem &item)
{
    return std::max<qint64>(0, std::min(EndSeconds(item), DurationSeconds(item)) - StartSeconds(item));
}

ConversionRange ConversionRangeOf(const SourceItem &item)
{
    const qint64 start = StartSeconds(item);
    const bool toFileEnd = item.endMs == item.durationMs && item.durationMs > 0 && start <= DurationSeconds(item);
    const qint64 left = item.durationMs - start * 1000;
    if (toFileEnd && left > 0)
        return {start, (left + 999) / 1000};
    return {start, EndSeconds(item) - start};
}
