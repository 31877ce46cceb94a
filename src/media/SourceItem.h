#pragma once
// One file of the source list, without any window: its identity, path, size and times. The
// grid's texts ("True", "1.5 MB", "00:01:40") are made from it only where they are shown.
#include <QString>
#include <QtGlobal>

#include <compare>
#include <optional>

// Names one item for as long as the list holds it; never reused within a list. Two files whose
// paths differ only in letter case are two items.
struct SourceItemId {
    quint64 value = 0; // 0: no item
    bool isValid() const { return value != 0; }
    friend auto operator<=>(const SourceItemId &, const SourceItemId &) = default;
};

struct SourceItem {
    SourceItemId id;
    QString path;          // full path as delivered by the dialog, the drop or the command line
    qint64 sizeBytes = 0;
    qint64 durationMs = 0; // the file's length as the probe measured it
    // The part to convert. The start is always whole seconds; the end is whole seconds, or the
    // exact duration when the part runs to the very end of the file (the "uncut" end).
    qint64 startMs = 0;
    qint64 endMs = 0;
    bool checked = true;
    // False for a video without sound, which is added unchecked.
    bool hasSound = true;
    // Choices of this item alone; unset means the run's choice.
    std::optional<int> audioTrack;

    friend bool operator==(const SourceItem &, const SourceItem &) = default;
};

// A new, checked item covering its whole file (start 0, end the exact duration).
SourceItem WholeFileItem(const QString &path, qint64 sizeBytes, qint64 durationMs);

// Whole seconds of the duration, as the grid shows them (truncated).
inline qint64 DurationSeconds(const SourceItem &item) { return item.durationMs / 1000; }
inline qint64 StartSeconds(const SourceItem &item) { return item.startMs / 1000; }
inline qint64 EndSeconds(const SourceItem &item) { return item.endMs / 1000; }

// The end for an end time of `seconds`: at or past the file's whole seconds it is the file's
// exact end, so the fraction of a second the grid does not show is converted too.
qint64 EndAtSeconds(const SourceItem &item, qint64 seconds);

// The cut as the grid shows it: min(end, duration) − start in whole seconds, 0 when negative.
qint64 ShownCutSeconds(const SourceItem &item);

// What the encoder is asked to convert: from `startSeconds`, `lengthSeconds` long. A part that
// runs to the file's exact end is rounded up to whole seconds (the encoder stops at the end of
// the file); otherwise end − start, which may be 0 or negative when a marker left the start
// past the end.
struct ConversionRange {
    qint64 startSeconds = 0;
    qint64 lengthSeconds = 0;
};
ConversionRange ConversionRangeOf(const SourceItem &item);
