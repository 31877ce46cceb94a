#include "FakePreviewControl.h"
#include "common/SourceItems.h"
#include "media/SegmentSelection.h"
#include "media/SourceListModel.h"
#include "media/TypedTimes.h"

#include <gtest/gtest.h>

TEST(TypedTimes, TheCheckKeepsStartAndEndWithinTheFileAndWorksOutTheCut)
{
    struct Case {
        const char *what;
        const char *duration, *start, *end;             // as typed
        const char *startAfter, *endAfter, *cutAfter;
    };
    const Case cases[] = {
        {"a start and end inside the file", "00:01:30", "00:00:10", "00:01:00", "00:00:10", "00:01:00", "00:00:50"},
        {"a start past the duration", "00:01:30", "00:02:00", "00:01:30", "00:01:30", "00:01:30", "00:00:00"},
        {"a start past the end and the duration", "00:01:30", "00:02:00", "00:01:00", "00:01:30", "00:01:30",
         "00:00:00"},
        {"a start past the end", "00:01:30", "00:01:10", "00:01:00", "00:01:10", "00:01:10", "00:00:00"},
        {"a start at the end", "00:01:30", "00:01:00", "00:01:00", "00:01:00", "00:01:00", "00:00:00"},
        {"an end past the duration", "00:01:30", "00:00:10", "00:05:00", "00:00:10", "00:01:30", "00:01:20"},
        {"a cleared start", "00:01:30", "", "00:01:00", "00:00:00", "00:01:00", "00:01:00"},
        {"a cleared end", "00:01:30", "00:00:10", "", "00:00:10", "00:01:30", "00:01:20"},
        {"a file of 100 hours", "100:00:00", "99:00:00", "", "99:00:00", "100:00:00", "01:00:00"},
    };
    for (const Case &c : cases) {
        SourceItem item = ItemWithTimes("/v/a.avi", c.duration, "00:00:00", "00:00:00");
        item = WithTypedTime(item, TypedCell::Start, ReadTypedTime(c.start));
        item = WithTypedTime(item, TypedCell::End, ReadTypedTime(c.end));
        const SourceItem checked = CheckEditedTimes(item);
        EXPECT_EQ(SourceCellText(checked, SourceRow::StartTimeColumn), c.startAfter) << c.what;
        EXPECT_EQ(SourceCellText(checked, SourceRow::EndTimeColumn), c.endAfter) << c.what;
        EXPECT_EQ(SourceCellText(checked, SourceRow::CutTimeColumn), c.cutAfter) << c.what;
        EXPECT_EQ(checked.durationMs, item.durationMs) << c.what;
    }
    // An end at the file's whole seconds is its exact end, with the fraction the grid leaves out.
    SourceItem item = WholeFileItem("/v/a.avi", 1, 90500);
    item = CheckEditedTimes(WithTypedTime(item, TypedCell::End, 90));
    EXPECT_EQ(item.endMs, 90500);
    item = CheckEditedTimes(WithTypedTime(item, TypedCell::End, 60));
    EXPECT_EQ(item.endMs, 60000);
}

TEST(TypedTimes, OnlyHhMmSsWithTwoDigitHoursCanBeRead)
{
    for (const char *readable : {"00:00:00", "01:02:03", "99:59:59"})
        EXPECT_TRUE(IsTypedTimeReadable(readable)) << readable;
    for (const char *unreadable : {"1:30", "0:01:30", "00:1:30", "100:00:00", "00:60:00", "00:00:60", "ab:cd:ef",
                                   "00:01:30 ", "-0:01:30", "00.01.30", ""})
        EXPECT_FALSE(IsTypedTimeReadable(unreadable)) << unreadable;
    EXPECT_EQ(ReadTypedTime("01:02:03"), 3723);
}

namespace {

struct EditedList : ::testing::Test {
    SourceListModel model;
    PreviewTimelineState state;
    FakePreviewControl preview;
    QList<int> selected{0, 1};
    SegmentSelection segments{model, state, preview, [this] { return selected; }};

    QString shown(int row, int column) const { return ShownText(model, row, column); }

    void SetUp() override
    {
        model.appendItem(ItemWithTimes("/v/a.avi", "00:01:30", "00:00:10", "00:01:00"));
        model.appendItem(ItemWithTimes("/v/b.avi", "00:00:40", "00:00:05", "00:00:30"));
        model.appendItem(ItemWithTimes("/v/c.avi", "00:00:40", "00:00:05", "00:00:30"));
    }
};

} // namespace

TEST_F(EditedList, AnUnreadableTimeChangesNothingAndSaysWhatIsExpected)
{
    const QList<SourceItem> before = model.items();
    for (const char *typed : {"1:30", "00:1:30", "12:75:00"}) {
        const std::optional<QString> message = segments.commitTypedTime(0, SourceRow::EndTimeColumn, typed);
        ASSERT_TRUE(message) << typed;
        EXPECT_TRUE(message->contains("hh:mm:ss")) << message->toStdString();
        EXPECT_TRUE(message->contains(typed)) << message->toStdString();
    }
    EXPECT_EQ(model.items(), before);
}

TEST_F(EditedList, ATypedTimeGoesIntoItsRowAndEverySelectedRowIsChecked)
{
    state.markersReady = true;
    preview.load("/v/a.avi");
    // Row 1 holds a start past its own duration, as a start marker of a longer row can leave it.
    model.setTimes(model.item(1).id, 50000, model.item(1).endMs);

    EXPECT_FALSE(segments.commitTypedTime(0, SourceRow::StartTimeColumn, "00:00:20"));

    EXPECT_EQ(shown(0, SourceRow::StartTimeColumn), "00:00:20");
    EXPECT_EQ(shown(0, SourceRow::CutTimeColumn), "00:00:40");
    EXPECT_EQ(shown(1, SourceRow::StartTimeColumn), "00:00:40");
    EXPECT_EQ(shown(1, SourceRow::EndTimeColumn), "00:00:40"); // the end follows the start, within the file
    EXPECT_EQ(shown(1, SourceRow::CutTimeColumn), "00:00:00");
    EXPECT_EQ(shown(2, SourceRow::StartTimeColumn), "00:00:05"); // not selected
    EXPECT_EQ(preview.seeks, QList<qint64>({20000, 40000})); // each checked row's start, in grid order
    EXPECT_EQ(state.previewStart, 0); // only the start marker sets where playback starts

    selected = {};
    EXPECT_FALSE(segments.commitTypedTime(2, SourceRow::EndTimeColumn, "")); // the edited row is checked too
    EXPECT_EQ(shown(2, SourceRow::EndTimeColumn), "00:00:40");
    EXPECT_EQ(shown(2, SourceRow::CutTimeColumn), "00:00:35");
}
