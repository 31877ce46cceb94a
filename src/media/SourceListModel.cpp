#include "media/SourceListModel.h"

#include "media/SourceRefusal.h"
#include "media/TimeText.h"

#include <algorithm>

QString SourceCellText(const SourceItem &item, int column)
{
    switch (column) {
    case SourceRow::FileNameColumn: return item.path;
    case SourceRow::FileSizeColumn: return SizeText(item.sizeBytes);
    case SourceRow::DurationColumn: return FormatTimeText(DurationSeconds(item));
    case SourceRow::StartTimeColumn: return FormatTimeText(StartSeconds(item));
    case SourceRow::EndTimeColumn: return FormatTimeText(EndSeconds(item));
    case SourceRow::CutTimeColumn: return FormatTimeText(ShownCutSeconds(item));
    default: return QString();
    }
}

SourceListModel::SourceListModel(QObject *parent) : QAbstractTableModel(parent) {}

int SourceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

int SourceListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : SourceRow::ColumnCount;
}

QVariant SourceListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const SourceItem &item = m_items.at(index.row());
    if (role == Qt::ToolTipRole && !item.hasSound)
        return item.path + u'\n' + SoundlessRowText(); // why the row was added unchecked
    if (index.column() == SourceRow::CheckColumn) {
        if (role == Qt::CheckStateRole)
            return item.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return SourceCellText(item, index.column());
    if (role == Qt::ToolTipRole && index.column() == SourceRow::FileNameColumn)
        return item.path; // the cell shortens a long path in its middle
    return {};
}

bool SourceListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_items.size())
        return false;
    if (index.column() == SourceRow::CheckColumn && role == Qt::CheckStateRole) {
        setChecked(m_items.at(index.row()).id, value.value<Qt::CheckState>() == Qt::Checked);
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
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_items.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_items.remove(row, count);
    endRemoveRows();
    return true;
}

SourceItem SourceListModel::item(int row) const
{
    return row >= 0 && row < m_items.size() ? m_items.at(row) : SourceItem();
}

std::optional<int> SourceListModel::rowOf(SourceItemId id) const
{
    const auto at = std::find_if(m_items.cbegin(), m_items.cend(), [&](const SourceItem &i) { return i.id == id; });
    if (!id.isValid() || at == m_items.cend())
        return std::nullopt;
    return static_cast<int>(at - m_items.cbegin());
}

SourceItemId SourceListModel::appendItem(SourceItem item)
{
    item.id = SourceItemId{++m_lastId};
    const int at = static_cast<int>(m_items.size());
    beginInsertRows(QModelIndex(), at, at);
    m_items.append(item);
    endInsertRows();
    return item.id;
}

void SourceListModel::setTimes(SourceItemId id, qint64 startMs, qint64 endMs)
{
    const std::optional<int> row = rowOf(id);
    if (!row)
        return;
    SourceItem &item = m_items[*row];
    if (item.startMs == startMs && item.endMs == endMs)
        return;
    item.startMs = startMs;
    item.endMs = endMs;
    rowChanged(*row, SourceRow::StartTimeColumn, SourceRow::CutTimeColumn);
}

void SourceListModel::setChecked(SourceItemId id, bool checked)
{
    const std::optional<int> row = rowOf(id);
    if (!row || m_items.at(*row).checked == checked)
        return;
    m_items[*row].checked = checked;
    rowChanged(*row, SourceRow::CheckColumn, SourceRow::CheckColumn);
}

void SourceListModel::rowChanged(int row, int firstColumn, int lastColumn)
{
    Q_EMIT dataChanged(index(row, firstColumn), index(row, lastColumn));
}

void SourceListModel::clear()
{
    beginResetModel();
    m_items.clear();
    endResetModel();
}
