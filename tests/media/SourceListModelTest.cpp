#include "media/SourceListModel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

SourceRow row(const QString &path, const QString &check = "True")
{
    return {check, path, "1 MB", "00:01:00", "00:00:00", "00:01:00", "00:01:00"};
}

} // namespace

TEST(SourceListModel, ShowsSevenCaptionedColumnsWithTheCheckAsCheckState)
{
    SourceListModel model;
    model.appendRow(row("/v/a.avi"));
    model.appendRow(row("/v/b.avi", "False"));
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 7);
    QStringList captions;
    for (int c = 0; c < 7; ++c)
        captions << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(captions, QStringList({"", "File Name", "File Size", "Duration", "Start Time", "End Time", "Cut Time"}));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "/v/b.avi");
    EXPECT_EQ(model.row(5), SourceRow());
}

TEST(SourceListModel, OnlyTheCheckAndTheTwoTimesAreEditable)
{
    SourceListModel model;
    model.appendRow(row("/v/a.avi"));
    for (int c = 0; c < 7; ++c) {
        const Qt::ItemFlags f = model.flags(model.index(0, c));
        EXPECT_EQ(f.testFlag(Qt::ItemIsUserCheckable), c == 0) << c;
        EXPECT_EQ(f.testFlag(Qt::ItemIsEditable), c == 4 || c == 5) << c;
    }
    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(model.row(0).checkValue, "False");
    EXPECT_TRUE(model.setData(model.index(0, 4), "00:00:10"));
    EXPECT_EQ(model.row(0).startTime, "00:00:10");
    EXPECT_FALSE(model.setData(model.index(0, 1), "/other.avi"));
    EXPECT_EQ(model.row(0).fileName, "/v/a.avi");
}

TEST(SourceListModel, SetFieldRemoveRowsAndClearNotifyViews)
{
    SourceListModel model;
    for (const char *p : {"/a", "/b", "/c"})
        model.appendRow(row(p));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setField(1, SourceRow::CutTimeColumn, "00:00:30");
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model.index(1, 6));
    EXPECT_EQ(model.row(1).cutTime, "00:00:30");
    model.setField(7, 0, "x");
    EXPECT_EQ(changed.size(), 1);

    EXPECT_TRUE(model.removeRows(0, 2));
    EXPECT_EQ(model.row(0).fileName, "/c");
    EXPECT_FALSE(model.removeRows(0, 5));
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}
