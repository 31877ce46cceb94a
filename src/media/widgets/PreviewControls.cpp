#include "media/widgets/PreviewControls.h"

#include "media/FilterGraph.h"
#include "media/PreviewPlayer.h"
#include "media/SourceListModel.h"
#include "media/widgets/VideoWindow.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QTreeView>
#include <algorithm>

void ShowPreview(PreviewPlayer &player, FilterGraph &graph, VideoWindow *video, QWidget *logo, QLabel *position)
{
    video->setSource(&graph);
    logo->setVisible(player.logoVisible());
    position->setText(player.positionText());
    QObject::connect(&player, &PreviewPlayer::logoVisibleChanged, logo, &QWidget::setVisible);
    QObject::connect(&player, &PreviewPlayer::positionTextChanged, position, &QLabel::setText);
}

QList<SourceItem> SelectedSourceItems(const QTreeView &grid, const SourceListModel &model)
{
    QList<int> rows;
    if (const QItemSelectionModel *selection = grid.selectionModel()) {
        for (const QModelIndex &index : selection->selectedRows())
            rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    QList<SourceItem> items;
    for (int row : rows)
        items << model.item(row);
    return items;
}
