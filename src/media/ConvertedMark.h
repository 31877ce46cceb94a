#pragma once
// What a run wrote for a source item, and what it converted: the mark holds for the item only
// while its cut and track, and the run's settings and output folder (`settingsKey`), are still
// these.
#include "media/SourceItem.h"

#include <QString>
#include <optional>

struct ConvertedMark {
    QString outputPath;
    QString settingsKey;
    qint64 startMs = 0;
    qint64 endMs = 0;
    std::optional<int> audioTrack;

    friend bool operator==(const ConvertedMark &, const ConvertedMark &) = default;
};

// The mark of `item` converted into `outputPath` with the settings `settingsKey`.
inline ConvertedMark MarkOf(const SourceItem &item, const QString &outputPath, const QString &settingsKey)
{
    return {outputPath, settingsKey, item.startMs, item.endMs, item.audioTrack};
}

// True when `mark` still describes `item` converted with the settings `settingsKey`.
inline bool MarkHolds(const ConvertedMark &mark, const SourceItem &item, const QString &settingsKey)
{
    return mark.settingsKey == settingsKey && mark.startMs == item.startMs && mark.endMs == item.endMs &&
           mark.audioTrack == item.audioTrack;
}
