#pragma once
// The source list as a table model of SourceRow texts. Column 0 shows "True"/"False" as a check
// state; start and end times are editable; the other columns are read-only. A row whose file has
// more than one audio track tells its track count in the file name cell (AudioTrackCountRole)
// and names the track it converts in its tooltip.
#include "media/SourceRow.h"

#include <QAbstractTableModel>
#include <QList>

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
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // The row at `index` (a copy); an empty row when out of range.
    SourceRow row(int index) const;
    const QList<SourceRow> &rows() const { return m_rows; }
    void appendRow(const SourceRow &row);
    // Sets one text of one row; emits dataChanged. Out of range does nothing.
    void setField(int row, int column, const QString &text);
    // Sets the audio track the row converts (1-based; nothing: the file's default); emits
    // dataChanged for the whole row. Out of range does nothing.
    void setChosenAudioTrack(int row, std::optional<int> track);
    void clear();

private:
    QList<SourceRow> m_rows;
};
