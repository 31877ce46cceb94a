#pragma once
// The main window's preview controls: the video window shows the preview graph's pictures, the
// logo covers it while nothing is loaded, and the position display shows the playing position.
#include "media/PreviewPlayer.h"
#include "media/SourceItem.h"

#include <QList>

class FilterGraph;
class QLabel;
class QTreeView;
class QWidget;
class SourceListModel;
class VideoWindow;

// Binds the controls to the player and the graph; none is owned.
void ShowPreview(PreviewPlayer &player, FilterGraph &graph, VideoWindow *video, QWidget *logo, QLabel *position);

// The items of the grid's selected rows, in grid order.
QList<SourceItem> SelectedSourceItems(const QTreeView &grid, const SourceListModel &model);
