#include "media/SourceListEditing.h"

#include "media/SourceListModel.h"

#include <algorithm>

namespace {

// Removes the rows in `sorted` (ascending, no repeats) from the bottom up, a run at a time.
void removeSortedRows(SourceListModel &model, const QList<int> &sorted)
{
    qsizetype i = sorted.size() - 1;
    while (i >= 0) {
        qsizetype first = i;
        while (first > 0 && sorted.at(first - 1) == sorted.at(first) - 1)
            --first;
        model.removeRows(sorted.at(first), static_cast<int>(i - first + 1));
        i = first - 1;
    }
}

} // namespace

std::optional<int> RemoveSelectedRows(SourceListModel &model, QList<int> selected, std::optional<int> focused)
{
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    selected.removeIf([&](int row) { return row < 0 || row >= model.rowCount(); });
    if (selected.isEmpty())
        return std::nullopt;

    std::optional<int> above;
    if (focused && *focused > 0 && *focused < model.rowCount())
        above = *focused - 1;
    removeSortedRows(model, selected);

    if (!above || selected.contains(*above))
        return std::nullopt;
    const auto removedBefore = std::count_if(selected.cbegin(), selected.cend(), [&](int row) { return row < *above; });
    return *above - static_cast<int>(removedBefore);
}

void ClearSourceList(SourceListModel &model) { model.clear(); }

void ToggleAllChecked(SourceListModel &model)
{
    const QList<SourceItem> &items = model.items();
    const bool allChecked = std::all_of(items.cbegin(), items.cend(), [](const SourceItem &i) { return i.checked; });
    for (const SourceItem &item : QList<SourceItem>(items))
        model.setChecked(item.id, !allChecked);
}

QList<SourceItemId> ChooseAudioTrackForItems(SourceListModel &model, const QList<SourceItemId> &ids, int track)
{
    QList<SourceItemId> chosen;
    for (SourceItemId id : ids) {
        const std::optional<int> row = model.rowOf(id);
        if (!row || chosen.contains(id) || !HasAudioTrack(model.items().at(*row).audioTracks, track))
            continue;
        model.setAudioTrack(id, track);
        chosen << id;
    }
    return chosen;
}
