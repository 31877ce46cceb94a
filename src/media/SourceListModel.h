#pragma once
// The source list as a table model of SourceRow texts. Column 0 shows "True"/"False" as a check
// state; start and end times are editable; the other columns are read-only.
#include "media/SourceRow.h"

#include <QAbstractTableModel>
#include <QList>

class SourceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
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
    void clear();

private:
    QList<SourceRow> m_rows;
};
