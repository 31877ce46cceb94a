#pragma once
// The source list: the items in grid order, as a table model. Only data() makes texts: the check
// as a check state, "True"/"False" nowhere; the size, the duration, the times and the cut as the
// grid shows them. Start and end are edited through SegmentSelection; the other columns are
// read-only. Rows are found by their item's id, never by path. A row whose file has more than
// one audio track tells its track count in the file name cell (AudioTrackCountRole) and names
// the track it converts in its tooltip.
#include "media/SourceItem.h"
#include "media/SourceRow.h"

#include <QAbstractTableModel>
#include <QList>

#include <optional>

class SourceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The number of audio tracks of the row's file, in the file name column; 0 when it has one or
    // none, so that only rows with a choice show it.
    static constexpr int AudioTrackCountRole = Qt::UserRole + 1;

    explicit SourceListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The check column takes a check state; nothing else is set through here.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // The item at `row` (a copy); an item without id when out of range.
    SourceItem item(int row) const;
    const QList<SourceItem> &items() const { return m_items; }
    // The row of the item `id`; nothing when the list no longer holds it.
    std::optional<int> rowOf(SourceItemId id) const;
    // Appends `item` under a new id, which is returned (an id the item carries is not kept).
    SourceItemId appendItem(SourceItem item);
    // Sets the start and end of the item `id` (the grid's times and cut change with them).
    void setTimes(SourceItemId id, qint64 startMs, qint64 endMs);
    void setChecked(SourceItemId id, bool checked);
    // Sets the audio track the item `id` converts (1-based; nothing: the file's default); every
    // cell of its row changes (the tooltips name the track).
    void setAudioTrack(SourceItemId id, std::optional<int> track);
    void clear();

private:
    void rowChanged(int row, int firstColumn, int lastColumn);

    QList<SourceItem> m_items;
    quint64 m_lastId = 0;
};

// The text the grid shows in `column` for `item` (empty for the check column).
QString SourceCellText(const SourceItem &item, int column);
