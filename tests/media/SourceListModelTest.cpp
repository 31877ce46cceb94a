#include "common/SourceItems.h"
#include "media/SourceListModel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

SourceItem row(const QString &path, bool checked = true)
{
    return ItemWithTimes(path, "00:01:00", "00:00:00", "00:01:00", checked);
}

} // namespace

TEST(SourceListModel, ShowsSevenCaptionedColumnsWithTheCheckAsCheckState)
{
    SourceListModel model;
    const SourceItemId a = model.appendItem(row("/v/a.avi"));
    const SourceItemId b = model.appendItem(row("/v/b.avi", false));
    EXPECT_NE(a, b);
    EXPECT_EQ(model.rowOf(b), 1);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 7);
    QStringList captions;
    for (int c = 0; c < 7; ++c)
        captions << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(captions, QStringList({"", "File Name", "File Size", "Duration", "Start Time", "End Time", "Cut Time"}));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "/v/b.avi");
    EXPECT_FALSE(model.item(5).id.isValid());
    const QStringList texts{"/v/b.avi", "1 MB", "00:01:00", "00:00:00", "00:01:00", "00:01:00"};
    for (int c = 1; c < 7; ++c)
        EXPECT_EQ(ShownText(model, 1, c), texts.at(c - 1)) << c;
    EXPECT_FALSE(model.data(model.index(1, 0)).isValid()); // the check is no text
}

TEST(SourceListModel, OnlyTheCheckAndTheTwoTimesAreEditable)
{
    SourceListModel model;
    model.appendItem(row("/v/a.avi"));
    for (int c = 0; c < 7; ++c) {
        const Qt::ItemFlags f = model.flags(model.index(0, c));
        EXPECT_EQ(f.testFlag(Qt::ItemIsUserCheckable), c == 0) << c;
        EXPECT_EQ(f.testFlag(Qt::ItemIsEditable), c == 4 || c == 5) << c;
    }
    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(model.item(0).checked);
    // Typed times go through the segment selection's check, never straight into the item.
    EXPECT_FALSE(model.setData(model.index(0, 4), "00:00:10"));
    EXPECT_EQ(model.item(0).startMs, 0);
    EXPECT_FALSE(model.setData(model.index(0, 1), "/other.avi"));
    EXPECT_EQ(model.item(0).path, "/v/a.avi");
}

TEST(SourceListModel, SetTimesRemoveRowsAndClearNotifyViews)
{
    SourceListModel model;
    QList<SourceItemId> ids;
    for (const char *p : {"/a", "/b", "/c"})
        ids << model.appendItem(row(p));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setTimes(ids[1], 30000, 60000);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model.index(1, 0)); // the converted mark, start, end and cut
    EXPECT_EQ(changed[0][1].toModelIndex(), model.index(1, 6));
    EXPECT_EQ(ShownText(model, 1, SourceRow::CutTimeColumn), "00:00:30");
    model.setTimes(SourceItemId{99}, 0, 0);
    EXPECT_EQ(changed.size(), 1);

    EXPECT_TRUE(model.removeRows(0, 2));
    EXPECT_EQ(model.item(0).path, "/c");
    EXPECT_EQ(model.rowOf(ids[2]), 0); // ids outlive the rows' places
    EXPECT_FALSE(model.rowOf(ids[1]));
    EXPECT_NE(model.appendItem(row("/b")), ids[1]); // and are never given again
    EXPECT_FALSE(model.removeRows(0, 5));
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}
