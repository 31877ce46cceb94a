#pragma once
// Taking rows out of the source list.
#include "media/SourceItem.h"

#include <QList>
#include <optional>

class SourceListModel;

// Removes the rows `selected` (any order, repeats allowed). The row just above `focused` is
// remembered first; its index after the removal is returned, or nothing when there was no
// focused row, the focused row was the first one, or the remembered row was removed too.
// Nothing is removed when `selected` is empty.
std::optional<int> RemoveSelectedRows(SourceListModel &model, QList<int> selected, std::optional<int> focused);

// Removes every row.
void ClearSourceList(SourceListModel &model);

// The check column's header: ticks every row, or clears every row when all are ticked already.
void ToggleAllChecked(SourceListModel &model);

// The audio track `track` (1-based) for each of the items `ids` whose file has that track; the
// others, and ids the list no longer holds, stay as they are. Returns the items that hold the
// choice now, in the order given, each once.
QList<SourceItemId> ChooseAudioTrackForItems(SourceListModel &model, const QList<SourceItemId> &ids, int track);
