#pragma once
// The source list: the items in grid order, as a table model. Only data() makes texts: the check
// as a check state, "True"/"False" nowhere; the size, the duration, the times and the cut as the
// grid shows them. Start and end are edited through SegmentSelection; the other columns are
// read-only. Rows are found by their item's id, never by path. A row whose file has more than
// one audio track tells its track count in the file name cell (AudioTrackCountRole) and names
// the track it converts in its tooltip.
//
// Beside the items the model keeps two facts about their files, which are no part of an item
// (undo leaves them alone): a file found missing (MissingRole, "missing" in every tip), and
// what a run converted an item into (ConvertedRole in the check cell, the output's name in its
// tip), shown while the item and the current settings are still what was converted.
#include "media/ConvertedMark.h"
#include "media/SourceItem.h"
#include "media/SourceRow.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSet>

#include <optional>

class SourceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The number of audio tracks of the row's file, in the file name column; 0 when it has one or
    // none, so that only rows with a choice show it.
    static constexpr int AudioTrackCountRole = Qt::UserRole + 1;
    // True in every cell of a row whose file was found missing.
    static constexpr int MissingRole = Qt::UserRole + 2;
    // True in the check cell of a row converted with the current settings.
    static constexpr int ConvertedRole = Qt::UserRole + 3;

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
    // Puts `items` in the list in their order. Items keep their ids; an item without one gets a
    // new one. Ids are never reused: later items are numbered after every id the list has held.
    void replaceItems(QList<SourceItem> items);

    // The file of item `id` was found missing (or back); rows show it greyed.
    void setMissing(SourceItemId id, bool missing);
    bool isMissing(SourceItemId id) const { return m_missing.contains(id.value); }

    // The settings a conversion would use now, as one text; a converted mark shows only while
    // it was made with these.
    void setSettingsKey(const QString &key);
    const QString &settingsKey() const { return m_settingsKey; }
    // Item `id` was converted: `mark` says into what and with what.
    void setConvertedMark(SourceItemId id, const ConvertedMark &mark);
    // The mark of item `id` when it still holds (same cut, track and settings).
    std::optional<ConvertedMark> convertedMark(SourceItemId id) const;
    // Every mark the model keeps, holding or not, by item id.
    const QHash<quint64, ConvertedMark> &convertedMarks() const { return m_marks; }

Q_SIGNALS:
    // The items changed: added, removed, reordered, or a cut, check, track or title changed.
    void itemsChanged();
    // A fact about the files changed: missing, converted.
    void factsChanged();

private:
    void rowChanged(int row, int firstColumn, int lastColumn);

    void allRowsChanged(int firstColumn, int lastColumn);

    QList<SourceItem> m_items;
    quint64 m_lastId = 0;
    QSet<quint64> m_missing;
    QHash<quint64, ConvertedMark> m_marks;
    QString m_settingsKey;
};

// The text the grid shows in `column` for `item` (empty for the check column).
QString SourceCellText(const SourceItem &item, int column);
