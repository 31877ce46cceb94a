#include "FakeCodecErrorReporter.h"
#include "FakePreviewControl.h"
#include "common/Fakes.h"
#include "common/SourceItems.h"
#include "media/SegmentSelection.h"
#include "media/SourceListModel.h"
#include "media/TimeText.h"
#include "media/widgets/MarkerSplitter.h"
#include "media/widgets/PreviewKeyBindings.h"
#include "media/widgets/SegmentController.h"
#include "media/widgets/SourceListController.h"
#include "media/widgets/TimeEditor.h"
#include "media/widgets/TimelinePanel.h"

#include <QApplication>
#include <QTest>
#include <QTreeView>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// The timeline and the source list placed as in the main window, over three files of 100, 50
// and 200 seconds.
class TimelineWindow : public ::testing::Test {
protected:
    QWidget window;
    TimelinePanel *timeline = new TimelinePanel(&window);
    QTreeView *grid = new QTreeView(&window);
    SourceListModel model;
    FakeMessageBoxes boxes;
    FakeCodecErrorReporter reporter;
    PreviewTimelineState state;
    FakePreviewControl preview;
    SourceListController *sources = nullptr;
    SegmentController *segments = nullptr;

    void SetUp() override
    {
        window.resize(692, 456);
        timeline->move(22, 234);
        grid->setGeometry(22, 292, 525, 138);
        sources = new SourceListController(grid, model, boxes, reporter, &window);
        segments = new SegmentController(*timeline, *sources, boxes, state, preview, &window);
        for (qint64 seconds : {100, 50, 200}) {
            model.appendItem(WholeFileItem(QStringLiteral("/v/%1s.avi").arg(seconds), 1024 * 1024, seconds * 1000));
        }
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWindow *screen() const { return window.windowHandle(); }
    // A point of `part` of the timeline in window coordinates.
    QPoint at(QWidget *part, QPoint inPart) const { return part->mapTo(&window, inPart); }
    QPoint cell(int row, int column) const
    {
        return grid->viewport()->mapTo(&window, grid->visualRect(model.index(row, column)).center());
    }
    QString field(int row, int column) const { return ShownText(model, row, column); }
    // Runs the calls queued on this thread (the grid's commit after Enter, a message after it).
    static void runQueuedCalls() { QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); }
    TimeEditor *openEditor(int row, int column)
    {
        QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, cell(row, column));
        return qobject_cast<TimeEditor *>(grid->indexWidget(model.index(row, column)));
    }
    // Types `text` into the cell's editor and commits it with Enter.
    void typeTime(int row, int column, const char *text)
    {
        TimeEditor *editor = openEditor(row, column);
        ASSERT_TRUE(editor);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        runQueuedCalls();
    }
};

} // namespace

TEST_F(TimelineWindow, DraggingTheStartMarkerSetsTheStartOfEverySelectedRowAsTheMouseMoves)
{
    // A click on the last row and Ctrl+clicks on the others select all three; the 200-second
    // row, last in grid order, is laid out last and decides.
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, cell(2, SourceRow::FileNameColumn));
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::ControlModifier, cell(0, SourceRow::FileNameColumn));
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::ControlModifier, cell(1, SourceRow::FileNameColumn));
    ASSERT_EQ(segments->selection().selectedDuration(), 200);
    MarkerSplitter *marker = timeline->Splitter1();
    ASSERT_EQ(marker->x(), 1);
    EXPECT_EQ(marker->cursor().shape(), Qt::PointingHandCursor);

    const QPoint grip = at(marker, QPoint(9, 9));
    QTest::mousePress(screen(), Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(screen(), grip + QPoint(60, 0)); // a = 61: 26 % of 200 seconds
    EXPECT_EQ(field(0, SourceRow::StartTimeColumn), "00:00:52") << "the rows follow while the mouse moves";
    QTest::mouseMove(screen(), grip + QPoint(119, 0)); // a = 120: 54 %
    QTest::mouseRelease(screen(), Qt::LeftButton, Qt::NoModifier, grip + QPoint(119, 0));

    EXPECT_EQ(marker->x(), 120);
    EXPECT_EQ(timeline->Panel2()->width(), 120);
    // Each row's start within its own length.
    EXPECT_EQ(field(2, SourceRow::StartTimeColumn), "00:01:48");
    EXPECT_EQ(field(0, SourceRow::StartTimeColumn), "00:01:40");
    EXPECT_EQ(field(1, SourceRow::StartTimeColumn), "00:00:50");
    EXPECT_EQ(field(2, SourceRow::CutTimeColumn), "00:01:32");
    EXPECT_EQ(field(0, SourceRow::CutTimeColumn), "00:00:00");
    EXPECT_EQ(field(1, SourceRow::CutTimeColumn), "00:00:00");
    EXPECT_EQ(state.previewStart, 108);
}

TEST_F(TimelineWindow, TheEndMarkerDraggedFullyRightAndFillerClicksMoveTheMarkersOutwards)
{
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, cell(0, SourceRow::FileNameColumn));
    MarkerSplitter *end = timeline->Splitter2();
    const QPoint grip = at(end, QPoint(9, 9));
    QTest::mousePress(screen(), Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(screen(), grip - QPoint(100, 0));
    QTest::mouseRelease(screen(), Qt::LeftButton, Qt::NoModifier, grip - QPoint(100, 0));
    ASSERT_EQ(timeline->Panel3()->width(), 101);
    EXPECT_EQ(field(0, SourceRow::EndTimeColumn), "00:00:54"); // (219 − 101) × 121 div 260 = 54 %
    EXPECT_EQ(end->x(), 140);

    QTest::mouseClick(screen(), Qt::LeftButton, Qt::ShiftModifier, at(timeline->Panel3(), QPoint(50, 9)));
    EXPECT_EQ(timeline->Panel3()->width(), 91);
    QTest::mouseClick(screen(), Qt::RightButton, Qt::NoModifier, at(timeline->Panel3(), QPoint(50, 9)));
    EXPECT_EQ(timeline->Panel3()->width(), 91);

    const QPoint moved = at(end, QPoint(9, 9));
    QTest::mousePress(screen(), Qt::LeftButton, Qt::NoModifier, moved);
    QTest::mouseMove(screen(), moved + QPoint(120, 0)); // past the right end of the timeline
    QTest::mouseRelease(screen(), Qt::LeftButton, Qt::NoModifier, moved + QPoint(120, 0));
    EXPECT_EQ(timeline->Panel3()->width(), 1);
    EXPECT_EQ(field(0, SourceRow::EndTimeColumn), "00:01:40") << "101 % stops at the end of the file";
    EXPECT_EQ(state.endMarkerText, "00:01:40");
}

TEST_F(TimelineWindow, TypedTimesAreCheckedWhenCommittedAndAnUnreadableOneIsRefusedWithAMessage)
{
    typeTime(0, SourceRow::EndTimeColumn, "00:05:00");
    EXPECT_EQ(field(0, SourceRow::EndTimeColumn), "00:01:40"); // capped at the duration
    EXPECT_EQ(field(0, SourceRow::CutTimeColumn), "00:01:40");

    TimeEditor *editor = openEditor(0, SourceRow::EndTimeColumn);
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, "1:10x"); // the x is refused as it is typed
    EXPECT_EQ(editor->time(), "1:10");
    QTest::keyClick(editor, Qt::Key_Return);
    runQueuedCalls();
    runQueuedCalls();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown.first().text.contains("hh:mm:ss"));
    EXPECT_EQ(field(0, SourceRow::EndTimeColumn), "00:01:40") << "the row keeps its times";
}

TEST_F(TimelineWindow, TheStartEditorCommitsAStepAtOnceButWaitsForTypedDigits)
{
    TimeEditor *editor = openEditor(1, SourceRow::StartTimeColumn);
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, "00:00:3");
    runQueuedCalls();
    EXPECT_EQ(grid->indexWidget(model.index(1, SourceRow::StartTimeColumn)), editor) << "still editing";
    EXPECT_EQ(field(1, SourceRow::StartTimeColumn), "00:00:00");

    QTest::keyClicks(editor, "0");
    QTest::keyClick(editor, Qt::Key_Up); // the seconds under the cursor: 00:00:31
    runQueuedCalls();
    EXPECT_EQ(field(1, SourceRow::StartTimeColumn), "00:00:31") << "the step is committed at once";
    EXPECT_EQ(field(1, SourceRow::CutTimeColumn), "00:00:19");
    ASSERT_EQ(grid->indexWidget(model.index(1, SourceRow::StartTimeColumn)), editor) << "the editor stays open";

    QTest::keyClick(editor, Qt::Key_Up); // steps on instead of moving the selection
    runQueuedCalls();
    EXPECT_EQ(field(1, SourceRow::StartTimeColumn), "00:00:32");
    EXPECT_EQ(grid->currentIndex().row(), 1);
    for (int i = 0; i < 20; ++i) // past the 50-second file: the check brings it back
        QTest::keyClick(editor, Qt::Key_Up);
    runQueuedCalls();
    EXPECT_EQ(field(1, SourceRow::StartTimeColumn), "00:00:50");
    EXPECT_EQ(editor->time(), "00:00:50") << "the editor shows the checked time";
    QTest::keyClick(editor, Qt::Key_Down);
    runQueuedCalls();
    EXPECT_EQ(field(1, SourceRow::StartTimeColumn), "00:00:49");
}

// A click on a marker changes no time, however far the file's percents lie from it; only a
// drag does. The clicked marker takes the keys and moves by whole seconds.
TEST_F(TimelineWindow, AClickOnAMarkerKeepsATypedTimeAndItsKeysMoveItBySeconds)
{
    typeTime(0, SourceRow::StartTimeColumn, "00:00:25");
    typeTime(0, SourceRow::EndTimeColumn, "00:01:13");
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, cell(0, SourceRow::FileNameColumn));
    ASSERT_EQ(field(0, SourceRow::StartTimeColumn), "00:00:25");

    for (MarkerSplitter *marker : {timeline->Splitter1(), timeline->Splitter2()}) {
        const QPoint grip = at(marker, QPoint(9, 9));
        QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, grip);
        QTest::mousePress(screen(), Qt::LeftButton, Qt::NoModifier, grip);
        QTest::mouseMove(screen(), grip + QPoint(2, 0)); // within the drag distance
        QTest::mouseRelease(screen(), Qt::LeftButton, Qt::NoModifier, grip + QPoint(2, 0));
        EXPECT_EQ(field(0, SourceRow::StartTimeColumn), "00:00:25");
        EXPECT_EQ(field(0, SourceRow::EndTimeColumn), "00:01:13");
        EXPECT_TRUE(marker->hasFocus());
    }

    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, at(timeline->Splitter1(), QPoint(9, 9)));
    QTest::keyClick(timeline->Splitter1(), Qt::Key_Right);
    EXPECT_EQ(field(0, SourceRow::StartTimeColumn), "00:00:26");
    QTest::keyClick(timeline->Splitter1(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(field(0, SourceRow::StartTimeColumn), "00:00:36");
    EXPECT_EQ(timeline->Splitter1()->x(), 80); // R(36 / 100 × 220) + 1
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, at(timeline->Splitter2(), QPoint(9, 9)));
    QTest::keyClick(timeline->Splitter2(), Qt::Key_Left);
    EXPECT_EQ(field(0, SourceRow::EndTimeColumn), "00:01:12");
    EXPECT_EQ(field(0, SourceRow::CutTimeColumn), "00:00:36");
}

// The preview's keys reach their handler from the timeline and from a focused marker, except
// the arrows that move the marker; a time being edited keeps its keys.
TEST_F(TimelineWindow, ThePreviewKeysGoToTheirHandlerWhileTheTimelineHasTheFocus)
{
    QList<int> handled;
    BindPreviewKeys(timeline, [&handled](int key, Qt::KeyboardModifiers) {
        handled << key;
        return true;
    });
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, cell(0, SourceRow::FileNameColumn));
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, at(timeline->Panel4(), QPoint(5, 9)));
    ASSERT_TRUE(timeline->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, at(timeline->Splitter1(), QPoint(9, 9)));
    ASSERT_EQ(QApplication::focusWidget(), timeline->Splitter1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I);
    EXPECT_EQ(handled, QList<int>({Qt::Key_Home, Qt::Key_I}));

    TimeEditor *editor = openEditor(0, SourceRow::StartTimeColumn);
    ASSERT_TRUE(editor);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O);
    EXPECT_EQ(handled.size(), 2);
}

// The playhead meets the start marker at the cut's start and the end marker at its end.
TEST_F(TimelineWindow, ThePlayheadStandsWhereTheMarkersWouldForItsTime)
{
    segments->selection().setSelectedStart(0); // nothing selected: nothing changes
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, cell(2, SourceRow::FileNameColumn));
    segments->selection().setSelectedStart(50);
    segments->selection().setSelectedEnd(150);
    EXPECT_FALSE(timeline->playhead()->isVisible());
    timeline->setPlayhead(50'000, 200'000);
    ASSERT_TRUE(timeline->playhead()->isVisible());
    // A line of two pixels whose right pixel is the first after the marker.
    EXPECT_EQ(timeline->playhead()->x() + 1, timeline->Splitter1()->x() + timeline->Splitter1()->width());
    timeline->setPlayhead(150'000, 200'000);
    EXPECT_EQ(timeline->playhead()->x() + 1, timeline->Splitter2()->x());
    timeline->setPlayhead(0, 0);
    EXPECT_FALSE(timeline->playhead()->isVisible());
}

TEST_F(TimelineWindow, AnEmptiedListPutsTheMarkersAtTheEnds)
{
    QTest::mouseClick(screen(), Qt::LeftButton, Qt::NoModifier, cell(1, SourceRow::FileNameColumn));
    segments->selection().dragStartMarker(80);
    sources->btnClearFileClick();
    EXPECT_EQ(timeline->Panel2()->width(), 2);
    EXPECT_EQ(timeline->Panel3()->width(), 2);
    EXPECT_EQ(timeline->Splitter2()->x(), 260 - 19 - 2);
}

TEST(MarkerPicture, BlackPixelsAreShownInTheMarkersBackgroundColour)
{
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(2, 0, qRgb(38, 198, 204));
    const QColor background(61, 65, 77);
    const QImage shown = WithBlackAs(picture, background);
    EXPECT_EQ(shown.pixel(0, 0), background.rgb());
    EXPECT_EQ(shown.pixel(1, 0), qRgba(0, 0, 0, 0));
    EXPECT_EQ(shown.pixel(2, 0), qRgb(38, 198, 204));

    MarkerSplitter marker; // painted stretched over its whole area
    marker.resize(19, 19);
    QImage black(17, 19, QImage::Format_ARGB32);
    black.fill(Qt::black);
    marker.setPicture(black, background);
    const QImage painted = marker.grab().toImage();
    EXPECT_EQ(painted.pixel(0, 0), background.rgb());
    EXPECT_EQ(painted.pixel(18, 18), background.rgb());
}
