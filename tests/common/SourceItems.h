#pragma once
// Source items for tests, written with the times the grid shows, and the grid's texts read back.
#include "media/SourceListModel.h"
#include "media/TimeText.h"

// An item of `duration` cut from `start` to `end` (hh:mm:ss each), the times taken as they are.
inline SourceItem ItemWithTimes(const QString &path, const QString &duration, const QString &start,
                                const QString &end, bool checked = true, qint64 sizeBytes = 1024 * 1024)
{
    SourceItem item = WholeFileItem(path, sizeBytes, ReadTimeText(duration) * 1000);
    item.startMs = ReadTimeText(start) * 1000;
    item.endMs = ReadTimeText(end) * 1000;
    item.checked = checked;
    return item;
}

// The text the grid shows in one cell.
inline QString ShownText(const SourceListModel &model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}
