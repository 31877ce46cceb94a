#include "media/SourceListModel.h"

#include "media/AudioTrackText.h"
#include "media/SourceRefusal.h"
#include "media/TimeText.h"

#include <QFileInfo>

#include <algorithm>

namespace {

bool hasTrackChoice(const SourceItem &item)
{
    return item.audioTracks.size() > 1 || item.audioTrack.has_value();
}

// "Audio track: 2: French - AC3 5.1", the track the item converts.
QString audioTrackLine(const SourceItem &item)
{
    const std::optional<int> track = EffectiveAudioTrack(item.audioTracks, item.audioTrack);
    for (const AudioTrack &candidate : item.audioTracks) {
        if (track && candidate.number == *track)
            return QStringLiteral("Audio track: ") + AudioTrackLabel(candidate);
    }
    return track ? QStringLiteral("Audio track: %1").arg(*track) : QString();
}

QVariant toolTip(const SourceItem &item, int column)
{
    const QString trackLine = hasTrackChoice(item) ? audioTrackLine(item) : QString();
    if (column == SourceRow::FileNameColumn) // the cell shortens a long path in its middle
        return trackLine.isEmpty() ? item.path : item.path + u'\n' + trackLine;
    return trackLine.isEmpty() ? QVariant() : QVariant(trackLine);
}

// The lines every cell's tip adds for the facts about the row's file.
QStringList factLines(bool missing, const std::optional<ConvertedMark> &mark)
{
    QStringList lines;
    if (missing)
        lines << QStringLiteral("missing: the file is no longer there");
    if (mark)
        lines << QStringLiteral("Converted to ") + QFileInfo(mark->outputPath).fileName();
    return lines;
}

QVariant withLines(const QVariant &tip, const QStringList &lines)
{
    if (lines.isEmpty())
        return tip;
    const QString text = tip.toString();
    return (text.isEmpty() ? QStringList() : QStringList{text}) + lines;
}

} // namespace

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
    if (role == MissingRole)
        return isMissing(item.id);
    if (role == ConvertedRole)
        return index.column() == SourceRow::CheckColumn && convertedMark(item.id).has_value();
    if (role == Qt::ToolTipRole) {
        const QVariant tip = item.hasSound ? toolTip(item, index.column())
                                           : QVariant(item.path + u'\n' + SoundlessRowText()); // why it is unchecked
        const QVariant full = withLines(tip, factLines(isMissing(item.id), convertedMark(item.id)));
        return full.typeId() == QMetaType::QStringList ? QVariant(full.toStringList().join(u'\n')) : full;
    }
    if (index.column() == SourceRow::CheckColumn) {
        if (role == Qt::CheckStateRole)
            return item.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return SourceCellText(item, index.column());
    if (role == AudioTrackCountRole && index.column() == SourceRow::FileNameColumn)
        return item.audioTracks.size() > 1 ? static_cast<int>(item.audioTracks.size()) : 0;
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
    Q_EMIT itemsChanged();
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
    Q_EMIT itemsChanged();
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
    rowChanged(*row, SourceRow::CheckColumn, SourceRow::CutTimeColumn); // a converted mark may go
    Q_EMIT itemsChanged();
}

void SourceListModel::setChecked(SourceItemId id, bool checked)
{
    const std::optional<int> row = rowOf(id);
    if (!row || m_items.at(*row).checked == checked)
        return;
    m_items[*row].checked = checked;
    rowChanged(*row, SourceRow::CheckColumn, SourceRow::CheckColumn);
    Q_EMIT itemsChanged();
}

void SourceListModel::setAudioTrack(SourceItemId id, std::optional<int> track)
{
    const std::optional<int> row = rowOf(id);
    if (!row || m_items.at(*row).audioTrack == track)
        return;
    m_items[*row].audioTrack = track;
    rowChanged(*row, 0, SourceRow::ColumnCount - 1); // the tooltip of every cell names it
    Q_EMIT itemsChanged();
}

void SourceListModel::rowChanged(int row, int firstColumn, int lastColumn)
{
    Q_EMIT dataChanged(index(row, firstColumn), index(row, lastColumn));
}

void SourceListModel::allRowsChanged(int firstColumn, int lastColumn)
{
    if (!m_items.isEmpty())
        Q_EMIT dataChanged(index(0, firstColumn), index(rowCount() - 1, lastColumn));
}

void SourceListModel::clear()
{
    if (m_items.isEmpty())
        return;
    beginResetModel();
    m_items.clear();
    endResetModel();
    Q_EMIT itemsChanged();
}

void SourceListModel::replaceItems(QList<SourceItem> items)
{
    for (const SourceItem &item : std::as_const(items))
        m_lastId = std::max(m_lastId, item.id.value);
    for (SourceItem &item : items) {
        if (!item.id.isValid())
            item.id = SourceItemId{++m_lastId};
    }
    if (items == m_items)
        return;
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
    Q_EMIT itemsChanged();
}

void SourceListModel::setMissing(SourceItemId id, bool missing)
{
    const std::optional<int> row = rowOf(id);
    if (!row || isMissing(id) == missing)
        return;
    if (missing)
        m_missing.insert(id.value);
    else
        m_missing.remove(id.value);
    rowChanged(*row, 0, SourceRow::ColumnCount - 1);
    Q_EMIT factsChanged();
}

void SourceListModel::setSettingsKey(const QString &key)
{
    if (key == m_settingsKey)
        return;
    m_settingsKey = key;
    allRowsChanged(0, SourceRow::ColumnCount - 1);
}

void SourceListModel::setConvertedMark(SourceItemId id, const ConvertedMark &mark)
{
    if (!id.isValid() || m_marks.value(id.value) == mark)
        return;
    m_marks.insert(id.value, mark);
    if (const std::optional<int> row = rowOf(id))
        rowChanged(*row, 0, SourceRow::ColumnCount - 1);
    Q_EMIT factsChanged();
}

std::optional<ConvertedMark> SourceListModel::convertedMark(SourceItemId id) const
{
    const auto mark = m_marks.constFind(id.value);
    const std::optional<int> row = rowOf(id);
    if (mark == m_marks.cend() || !row || !MarkHolds(*mark, m_items.at(*row), m_settingsKey))
        return std::nullopt;
    return *mark;
}
