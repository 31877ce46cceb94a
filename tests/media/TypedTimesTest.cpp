#include "FakePreviewControl.h"
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
        const SourceRow row{"True", "/v/a.avi", "1 MB", c.duration, c.start, c.end, "00:01:30"};
        const std::optional<CheckedTimes> checked = CheckEditedTimes(row);
        ASSERT_TRUE(checked) << c.what;
        EXPECT_EQ(checked->row.startTime, c.startAfter) << c.what;
        EXPECT_EQ(checked->row.endTime, c.endAfter) << c.what;
        EXPECT_EQ(checked->row.cutTime, c.cutAfter) << c.what;
        EXPECT_EQ(checked->row.duration, c.duration) << c.what;
    }
}

TEST(TypedTimes, OnlyHhMmSsWithTwoDigitHoursCanBeRead)
{
    for (const char *readable : {"00:00:00", "01:02:03", "99:59:59"})
        EXPECT_TRUE(IsTypedTimeReadable(readable)) << readable;
    for (const char *unreadable : {"1:30", "0:01:30", "00:1:30", "100:00:00", "00:60:00", "00:00:60", "ab:cd:ef",
                                   "00:01:30 ", "-0:01:30", "00.01.30", ""})
        EXPECT_FALSE(IsTypedTimeReadable(unreadable)) << unreadable;
    for (const char *unreadable : {"1:30", "00:1:30", "00:60:00", "ab:cd:ef", "00:01:30 "}) {
        const SourceRow row{"True", "/v/a.avi", "1 MB", "00:01:30", unreadable, "00:01:00", "00:01:00"};
        EXPECT_FALSE(CheckEditedTimes(row)) << unreadable;
    }
}

namespace {

struct EditedList : ::testing::Test {
    SourceListModel model;
    PreviewTimelineState state;
    FakePreviewControl preview;
    QList<int> selected{0, 1};
    SegmentSelection segments{model, state, preview, [this] { return selected; }};

    void SetUp() override
    {
        model.appendRow({"True", "/v/a.avi", "1 MB", "00:01:30", "00:00:10", "00:01:00", "00:00:50"});
        model.appendRow({"True", "/v/b.avi", "1 MB", "00:00:40", "00:00:05", "00:00:30", "00:00:25"});
        model.appendRow({"True", "/v/c.avi", "1 MB", "00:00:40", "00:00:05", "00:00:30", "00:00:25"});
    }
};

} // namespace

TEST_F(EditedList, AnUnreadableTimeChangesNothingAndSaysWhatIsExpected)
{
    const QList<SourceRow> before = model.rows();
    for (const char *typed : {"1:30", "00:1:30", "12:75:00"}) {
        const std::optional<QString> message = segments.commitTypedTime(0, SourceRow::EndTimeColumn, typed);
        ASSERT_TRUE(message) << typed;
        EXPECT_TRUE(message->contains("hh:mm:ss")) << message->toStdString();
        EXPECT_TRUE(message->contains(typed)) << message->toStdString();
    }
    EXPECT_EQ(model.rows(), before);
}

TEST_F(EditedList, ATypedTimeGoesIntoItsRowAndEverySelectedRowIsChecked)
{
    state.markersReady = true;
    preview.load("/v/a.avi");
    // Row 1 holds a start past its own duration, as a start marker of a longer row can leave it.
    model.setField(1, SourceRow::StartTimeColumn, "00:00:50");

    EXPECT_FALSE(segments.commitTypedTime(0, SourceRow::StartTimeColumn, "00:00:20"));

    EXPECT_EQ(model.row(0).startTime, "00:00:20");
    EXPECT_EQ(model.row(0).cutTime, "00:00:40");
    EXPECT_EQ(model.row(1).startTime, "00:00:40");
    EXPECT_EQ(model.row(1).endTime, "00:00:40"); // the end follows the start, within the file
    EXPECT_EQ(model.row(1).cutTime, "00:00:00");
    EXPECT_EQ(model.row(2).startTime, "00:00:05"); // not selected
    EXPECT_EQ(preview.seeks, QList<qint64>({20000, 40000})); // each checked row's start, in grid order
    EXPECT_EQ(state.previewStart, 0); // only the start marker sets where playback starts

    selected = {};
    EXPECT_FALSE(segments.commitTypedTime(2, SourceRow::EndTimeColumn, "")); // the edited row is checked too
    EXPECT_EQ(model.row(2).endTime, "00:00:40");
    EXPECT_EQ(model.row(2).cutTime, "00:00:35");
}
