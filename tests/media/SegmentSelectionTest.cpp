#include "FakePreviewControl.h"
#include "common/SourceItems.h"
#include "media/SegmentMarkers.h"
#include "media/SegmentSelection.h"
#include "media/SourceListModel.h"
#include "media/TimeText.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A list of rows, the timeline over it and a preview; `selected` is what the grid has selected.
struct Timeline {
    SourceListModel model;
    PreviewTimelineState state;
    FakePreviewControl preview;
    QList<int> selected;
    SegmentSelection segments{model, state, preview, [this] { return selected; }};

    // A row of `duration` seconds cut from `start` to `end`.
    int addRow(qint64 duration, qint64 start, qint64 end, const QString &path = {})
    {
        const int index = model.rowCount();
        const QString name = path.isEmpty() ? QStringLiteral("/v/clip%1.avi").arg(index) : path;
        model.appendItem(ItemWithTimes(name, FormatTimeText(duration), FormatTimeText(start), FormatTimeText(end)));
        return index;
    }
    // Lays out the rows `rows` as a click in the grid would.
    void select(const QList<int> &rows)
    {
        selected = rows;
        segments.LayoutSegmentMarkers();
    }
    // Places the markers at the filler widths a and b, through a 220-second row that selects
    // only itself.
    void placeMarkers(int a, int b)
    {
        select({addRow(220, a - 1, 221 - b)});
        ASSERT_EQ(segments.leftFillerWidth(), a);
        ASSERT_EQ(segments.rightFillerWidth(), b);
    }
    QString field(int row, int column) const { return ShownText(model, row, column); }
    QString start(int row) const { return field(row, SourceRow::StartTimeColumn); }
    QString end(int row) const { return field(row, SourceRow::EndTimeColumn); }
    QString cut(int row) const { return field(row, SourceRow::CutTimeColumn); }
};

} // namespace

TEST(SegmentMarkerLayout, FillerWidthsFollowStartAndEndOfTheLastLaidOutRow)
{
    struct Case {
        const char *what;
        qint64 duration, start, end;
        int a, b;
    };
    const Case cases[] = {
        {"a quarter to three quarters", 100, 25, 75, 56, 56},
        {"the whole file", 100, 0, 100, 1, 1},
        {"start equal to end: no span", 100, 50, 50, 111, 111},
        {"27.5 and 137.5 pixels round to the even 28 and 138", 8, 1, 5, 29, 83},
        {"82.5 pixels round to the even 82", 8, 3, 8, 83, 1},
        {"a left filler 1 pixel off stays", 220, 1, 220, 1, 1},
        {"a right filler 2 pixels off stays", 220, 0, 218, 1, 1},
        {"a right filler 3 pixels off moves", 220, 0, 217, 1, 4},
    };
    for (const Case &c : cases) {
        auto timeline = std::make_unique<Timeline>();
        timeline->select({timeline->addRow(c.duration, c.start, c.end)});
        EXPECT_EQ(timeline->segments.leftFillerWidth(), c.a) << c.what;
        EXPECT_EQ(timeline->segments.rightFillerWidth(), c.b) << c.what;
        EXPECT_EQ(timeline->segments.selectedDuration(), c.duration) << c.what;
        EXPECT_TRUE(timeline->state.markersReady) << c.what;
    }
}

TEST(SegmentMarkerLayout, ThePreviewedFilesRowIsLeftAloneAndAnyOtherStopsThePreview)
{
    Timeline t;
    const int previewed = t.addRow(100, 25, 75, "/v/playing.avi");
    const int other = t.addRow(50, 10, 40);
    t.preview.load("/v/playing.avi");

    t.select({previewed});
    EXPECT_EQ(t.preview.stops, 0);
    EXPECT_FALSE(t.state.markersReady);
    EXPECT_EQ(t.segments.leftFillerWidth(), 1);
    EXPECT_EQ(t.segments.selectedDuration(), 0);

    t.select({previewed, other}); // the other row stops the preview and places the markers
    EXPECT_EQ(t.preview.stops, 1);
    EXPECT_EQ(t.segments.leftFillerWidth(), 45);  // R(10 / 50 × 220) + 1
    EXPECT_EQ(t.segments.rightFillerWidth(), 45); // 221 − R(40 / 50 × 220)
    EXPECT_EQ(t.segments.selectedDuration(), 50);
}

TEST(SegmentMarkerArithmetic, MarkersGiveWholePercentsOfTheDuration)
{
    using namespace SegmentMarkers;
    const std::pair<int, int> startPercents[] = {{1, 0}, {5, 0}, {6, 1}, {120, 54}, {219, 100}, {220, 100}};
    for (const auto &[a, percent] : startPercents)
        EXPECT_EQ(StartPercent(a), percent) << "a = " << a;
    const std::pair<int, int> endPercents[] = {{1, 101}, {2, 100}, {3, 100}, {111, 50}, {221, 0}};
    for (const auto &[b, percent] : endPercents)
        EXPECT_EQ(EndPercent(b), percent) << "b = " << b;
}

// Three rows of 100, 50 and 200 seconds selected; the last one is laid out last.
TEST(SegmentStartMarker, WritesTheStartIntoEverySelectedRowWithinItsOwnLengthAndSeeksThePreview)
{
    Timeline t;
    const int hundred = t.addRow(100, 0, 100);
    const int fifty = t.addRow(50, 0, 30);
    const int twoHundred = t.addRow(200, 0, 200);
    const int unselected = t.addRow(200, 0, 200);
    t.select({hundred, fifty, twoHundred});
    t.preview.load("/v/elsewhere.avi");

    t.segments.dragStartMarker(120); // (117 × 121) div 260 = 54 % of 200 seconds

    EXPECT_EQ(t.state.previewStart, 108);
    EXPECT_EQ(t.start(twoHundred), "00:01:48");
    EXPECT_EQ(t.cut(twoHundred), "00:01:32");
    // The shorter rows' starts stay within their own length, and their ends follow: no start
    // is left past its row's end.
    EXPECT_EQ(t.start(hundred), "00:01:40");
    EXPECT_EQ(t.end(hundred), "00:01:40");
    EXPECT_EQ(t.start(fifty), "00:00:50");
    EXPECT_EQ(t.end(fifty), "00:00:50");
    EXPECT_EQ(t.cut(hundred), "00:00:00");
    EXPECT_EQ(t.cut(fifty), "00:00:00");
    EXPECT_EQ(t.start(unselected), "00:00:00");
    EXPECT_EQ(t.preview.seeks, QList<qint64>({108000}));
}

TEST(SegmentStartMarker, AFailedSeekIsIgnoredAndNothingIsSoughtBeforeTheFirstLayout)
{
    Timeline t;
    t.selected = {t.addRow(100, 0, 100)};
    t.preview.load("/v/elsewhere.avi");
    t.segments.SetStartTimeAndPlay(); // markers not laid out yet: no seek
    EXPECT_TRUE(t.preview.seeks.isEmpty());

    t.segments.LayoutSegmentMarkers();
    t.preview.load("/v/elsewhere.avi");
    t.preview.seekFails = true;
    EXPECT_NO_THROW(t.segments.dragStartMarker(60));
    EXPECT_EQ(t.start(0), "00:00:26"); // (57 × 121) div 260 = 26 %
}

TEST(SegmentEndMarker, EndsAreWholePercentsAndNeverPastTheFilesEnd)
{
    struct Case {
        int b;
        const char *end;
        const char *cut;
    };
    const Case cases[] = {
        {1, "00:01:40", "00:01:30"},   // 101 % capped at the duration
        {2, "00:01:40", "00:01:30"},   // 100 %
        {111, "00:00:50", "00:00:40"}, // 50 %
    };
    for (const Case &c : cases) {
        auto t = std::make_unique<Timeline>();
        t->select({t->addRow(100, 10, 60)});
        t->segments.dragEndMarker(c.b);
        EXPECT_EQ(t->end(0), c.end) << "b = " << c.b;
        EXPECT_EQ(t->cut(0), c.cut) << "b = " << c.b;
        EXPECT_EQ(t->state.endMarkerText, c.end) << "b = " << c.b;
    }
}

TEST(SegmentEndMarker, EachSelectedRowEndsAtTheLatestWithinItsOwnFile)
{
    Timeline t;
    const int sixty = t.addRow(60, 0, 60);
    const int hundred = t.addRow(100, 0, 100);
    t.select({sixty, hundred});
    t.segments.dragEndMarker(45); // (174 × 121) div 260 = 80 % of 100 seconds

    EXPECT_EQ(t.end(hundred), "00:01:20");
    EXPECT_EQ(t.end(sixty), "00:01:00");
    EXPECT_EQ(t.cut(sixty), "00:01:00");
    EXPECT_EQ(t.state.endMarkerText, "00:01:20");
}

TEST(SegmentMarkers, TouchingMarkersGiveUpAPixelBeforeTheyMove)
{
    Timeline t;
    t.select({t.addRow(100, 50, 50)});
    ASSERT_EQ(SegmentMarkers::SpanWidth(t.segments.leftFillerWidth(), t.segments.rightFillerWidth()), 0);

    t.segments.SetStartTimeAndPlay(); // the start marker released after a drag
    EXPECT_EQ(t.segments.leftFillerWidth(), 110);
    EXPECT_EQ(t.start(0), "00:00:49"); // (107 × 121) div 260

    Timeline other;
    other.select({other.addRow(100, 50, 50)});
    other.segments.Splitter2Moved(); // the end marker released after a drag
    EXPECT_EQ(other.segments.rightFillerWidth(), 110);
    EXPECT_EQ(other.end(0), "00:00:50"); // (219 − 110) × 121 div 260 = 50 %
}

TEST(SegmentMarkers, DraggingKeepsAFillerAndASpanOfAPixel)
{
    Timeline t;
    t.placeMarkers(100, 100);
    t.segments.dragStartMarker(-40);
    EXPECT_EQ(t.segments.leftFillerWidth(), 1);
    t.segments.dragStartMarker(500);
    EXPECT_EQ(t.segments.leftFillerWidth(), 121); // 222 − 100 − 1
    t.segments.dragEndMarker(500);
    EXPECT_EQ(t.segments.rightFillerWidth(), 100); // the span already is a pixel: no room
    t.segments.dragEndMarker(0);
    EXPECT_EQ(t.segments.rightFillerWidth(), 1);
}

TEST(SegmentFillerClicks, MoveTheMarkerOutwardsByTheStepOfTheModifiers)
{
    struct Case {
        const char *what;
        bool leftFiller;
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        int a, b;               // filler widths before the click
        int aAfter, bAfter;
    };
    const Case cases[] = {
        {"Ctrl alone: 1 pixel", true, Qt::LeftButton, Qt::ControlModifier, 56, 56, 55, 56},
        {"Shift alone: 10 pixels", true, Qt::LeftButton, Qt::ShiftModifier, 56, 56, 46, 56},
        {"no modifier: 5 pixels", true, Qt::LeftButton, Qt::NoModifier, 56, 56, 51, 56},
        {"Ctrl and Shift: 5 pixels", true, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, 56, 56, 51, 56},
        {"Ctrl and Alt: 5 pixels", true, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, 56, 56, 51, 56},
        {"right filler, Shift", false, Qt::LeftButton, Qt::ShiftModifier, 56, 56, 56, 46},
        {"the right button does nothing", true, Qt::RightButton, Qt::NoModifier, 56, 56, 56, 56},
        {"a filler no wider than the step stays", true, Qt::LeftButton, Qt::NoModifier, 5, 56, 5, 56},
        {"a filler a pixel wider than the step", false, Qt::LeftButton, Qt::NoModifier, 56, 6, 56, 1},
        {"a span of 7 pixels still allows it", true, Qt::LeftButton, Qt::ControlModifier, 100, 115, 99, 115},
        {"a span below 7 pixels does not", true, Qt::LeftButton, Qt::ControlModifier, 100, 116, 100, 116},
    };
    for (const Case &c : cases) {
        auto t = std::make_unique<Timeline>();
        t->placeMarkers(c.a, c.b);
        const QString startBefore = t->start(0);
        if (c.leftFiller)
            t->segments.Panel2MouseDown(c.button, c.modifiers);
        else
            t->segments.Panel3MouseDown(c.button, c.modifiers);
        EXPECT_EQ(t->segments.leftFillerWidth(), c.aAfter) << c.what;
        EXPECT_EQ(t->segments.rightFillerWidth(), c.bAfter) << c.what;
        if (c.leftFiller && c.aAfter != c.a) { // the start follows the marker
            EXPECT_EQ(t->start(0), FormatTimeText(SegmentMarkers::StartPercent(c.aAfter) * 220 / 100)) << c.what;
        } else if (c.leftFiller) {
            EXPECT_EQ(t->start(0), startBefore) << c.what;
        }
    }
}

TEST(SegmentMarkers, AnEmptiedListPutsBothMarkersAtTheEnds)
{
    Timeline t;
    t.placeMarkers(80, 90);
    t.segments.SetFillerWidths(SegmentMarkers::EmptyListFillerWidth);
    EXPECT_EQ(t.segments.leftFillerWidth(), 2);
    EXPECT_EQ(t.segments.rightFillerWidth(), 2);
}

// Linux names are case-sensitive: two files whose names differ only in letter case are two
// rows, and a marker moved over one of them cuts that one alone.
TEST(SegmentCutSeconds, RowsOfNamesThatDifferOnlyInLetterCaseKeepTheirOwnCuts)
{
    Timeline t;
    t.addRow(100, 10, 40, "/v/Clip.avi");
    t.addRow(100, 20, 90, "/v/CLIP.avi");
    t.select({1});
    t.segments.dragStartMarker(t.segments.leftFillerWidth() + 30);
    EXPECT_EQ(t.start(0), "00:00:10");
    EXPECT_EQ(t.cut(0), "00:00:30");
    EXPECT_NE(t.start(1), "00:00:20");
    EXPECT_EQ(t.cut(1), FormatTimeText(90 - ReadTimeText(t.start(1))));
    EXPECT_EQ(t.segments.commitTypedTime(0, SourceRow::EndTimeColumn, "00:00:50"), std::nullopt);
    EXPECT_EQ(t.cut(0), "00:00:40");
    EXPECT_EQ(t.end(1), "00:01:30");
}

// A committed time of the selected row moves its marker at once, also while that row's file is
// being previewed; the preview goes on, at the typed start.
TEST(SegmentTypedTimes, TheMarkersFollowACommittedTimeAtOnceWhileThePreviewPlays)
{
    Timeline t;
    const int row = t.addRow(100, 0, 100, "/v/playing.avi");
    t.select({row});
    t.preview.load("/v/playing.avi");
    ASSERT_EQ(t.segments.leftFillerWidth(), 1);
    const int stops = t.preview.stops;

    EXPECT_FALSE(t.segments.commitTypedTime(row, SourceRow::StartTimeColumn, "00:00:25"));
    EXPECT_EQ(t.segments.leftFillerWidth(), 56); // R(25 / 100 × 220) + 1
    EXPECT_FALSE(t.segments.commitTypedTime(row, SourceRow::EndTimeColumn, "00:01:15"));
    EXPECT_EQ(t.segments.rightFillerWidth(), 56); // 221 − R(75 / 100 × 220)
    EXPECT_EQ(t.preview.stops, stops);
    EXPECT_EQ(t.preview.previewFile(), "/v/playing.avi");
}
