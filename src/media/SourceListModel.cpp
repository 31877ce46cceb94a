#include "media/SourceListModel.h"

#include "media/SourceRefusal.h"

SourceListModel::SourceListModel(QObject *parent) : QAbstractTableModel(parent) {}

int SourceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SourceListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : SourceRow::ColumnCount;
}

QVariant SourceListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const SourceRow &r = m_rows.at(index.row());
    if (role == Qt::ToolTipRole && !r.hasSound)
        return r.fileName + u'\n' + SoundlessRowText(); // why the row was added unchecked
    if (index.column() == SourceRow::CheckColumn) {
        if (role == Qt::CheckStateRole)
            return r.isChecked() ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return r.field(index.column());
    if (role == Qt::ToolTipRole && index.column() == SourceRow::FileNameColumn)
        return r.fileName; // the cell shortens a long path in its middle
    return {};
}

bool SourceListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return false;
    if (index.column() == SourceRow::CheckColumn && role == Qt::CheckStateRole) {
        const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
        setField(index.row(), SourceRow::CheckColumn, checked ? QStringLiteral("True") : QStringLiteral("False"));
        return true;
    }
    const bool timeColumn = index.column() == SourceRow::StartTimeColumn || index.column() == SourceRow::EndTimeColumn;
    if (timeColumn && role == Qt::EditRole) {
        setField(index.row(), index.column(), value.toString());
        return true;
    }
    return false;
}

Qt::ItemFlags SourceListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == SourceRow::CheckColumn)
        f |= Qt::ItemIsUserCheckable;
    if (index.column() == SourceRow::StartTimeColumn || index.column() == SourceRow::EndTimeColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant SourceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const captions[] = {"", "File Name", "File Size", "Duration", "Start Time", "End Time",
                                           "Cut Time"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= SourceRow::ColumnCount)
        return {};
    return QString::fromLatin1(captions[section]);
}

bool SourceListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

SourceRow SourceListModel::row(int index) const
{
    return index >= 0 && index < m_rows.size() ? m_rows.at(index) : SourceRow();
}

void SourceListModel::appendRow(const SourceRow &row)
{
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.append(row);
    endInsertRows();
}

void SourceListModel::setField(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= SourceRow::ColumnCount)
        return;
    m_rows[row].setField(column, text);
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed);
}

void SourceListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}
