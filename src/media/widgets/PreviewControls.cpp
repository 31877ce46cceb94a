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

QStringList SelectedSourceFiles(const QTreeView &grid, const SourceListModel &model)
{
    QList<int> rows;
    if (const QItemSelectionModel *selection = grid.selectionModel()) {
        for (const QModelIndex &index : selection->selectedRows())
            rows << index.row();
    }
    std::sort(rows.begin(), rows.end());
    QStringList files;
    for (int row : rows)
        files << model.item(row).path;
    return files;
}
