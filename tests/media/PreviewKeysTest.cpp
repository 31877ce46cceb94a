#include "ScriptedMediaGraph.h"
#include "common/SourceItems.h"
#include "media/PreviewKeys.h"
#include "media/PreviewPlayer.h"
#include "media/SegmentSelection.h"
#include "media/SourceListModel.h"
#include "media/TimeText.h"

#include <gtest/gtest.h>
#include <memory>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

struct Key {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};
const Key Right{Qt::Key_Right};
const Key Left{Qt::Key_Left};
const Key ShiftRight{Qt::Key_Right, Qt::ShiftModifier};
const Key ShiftLeft{Qt::Key_Left, Qt::ShiftModifier};
const Key Home{Qt::Key_Home};
const Key End{Qt::Key_End};
const Key Comma{Qt::Key_Comma};
const Key Period{Qt::Key_Period};
const Key I{Qt::Key_I};
const Key O{Qt::Key_O};

// The list, the timeline over it and the real player on a scripted graph, with the keys; the
// rows are selected and the last one is played.
struct Rig {
    SourceListModel model;
    PreviewTimelineState state;
    ScriptedMediaGraph graph;
    PreviewPlayer player{graph, [](const QString &) {}};
    QList<int> selected;
    SegmentSelection segments{model, state, player, [this] { return selected; }};
    PreviewKeys keys{player, segments};

    Rig()
    {
        player.setItemLookup([this](SourceItemId id) -> std::optional<SourceItem> {
            const std::optional<int> row = model.rowOf(id);
            return row ? std::optional<SourceItem>(model.item(*row)) : std::nullopt;
        });
    }
    int addRow(const QString &duration, const QString &start, const QString &end)
    {
        const int row = model.rowCount();
        model.appendItem(ItemWithTimes(QStringLiteral("/v/clip%1.mp4").arg(row), duration, start, end));
        return row;
    }
    // Selects the rows, lays the markers out and plays the last one.
    void selectAndPlay(const QList<int> &rows)
    {
        selected = rows;
        segments.LayoutSegmentMarkers();
        graph.duration = MediaTime::millisecondsToReference(model.item(rows.last()).durationMs);
        player.btnPlayClick({model.item(rows.last())});
    }
    void press(const QList<Key> &sequence)
    {
        for (const Key &k : sequence)
            keys.keyPressed(k.key, k.modifiers);
    }
    QString start(int row) const { return ShownText(model, row, SourceRow::StartTimeColumn); }
    QString end(int row) const { return ShownText(model, row, SourceRow::EndTimeColumn); }
};

} // namespace

// A two-hour file cut from 01:23:40 to 01:40:00 (01:23:40 is 5020 s), playing from its start,
// then paused unless the case says it plays on.
TEST(PreviewKeys, SeekStepAndCutAtThePlayhead)
{
    struct Case {
        const char *what;
        QList<Key> keys;
        qint64 position; // ms
        QString start, end;
        bool playing = false;
        QString end2h = QStringLiteral("01:40:00");
        QString lastCall = {};
    };
    const Case cases[] = {
        {"Right: 5 s on", {Right}, 5'025'000, "01:23:40", "01:40:00"},
        {"Left: 5 s back", {Left}, 5'015'000, "01:23:40", "01:40:00"},
        {"Shift+Right, Shift+Right: 1 s on each", {ShiftRight, ShiftRight}, 5'022'000, "01:23:40", "01:40:00"},
        {"Shift+Left: 1 s back", {ShiftLeft}, 5'019'000, "01:23:40", "01:40:00"},
        {"Ctrl+Right does nothing", {Key{Qt::Key_Right, Qt::ControlModifier}}, 5'020'000, "01:23:40", "01:40:00"},
        {"End: the end of the cut", {End}, 6'000'000, "01:23:40", "01:40:00"},
        {"Home after seeking: the start of the cut", {Right, Right, Home}, 5'020'000, "01:23:40", "01:40:00"},
        {"End, Right: never past the end of the file", {End, Right}, 7'200'000, "01:23:40", "02:00:00", false, "02:00:00"},
        {"comma: a frame back", {Comma}, 5'019'960, "01:23:40", "01:40:00", false, "01:40:00", "Step -1"},
        {"period: a frame on", {Period}, 5'020'040, "01:23:40", "01:40:00", false, "01:40:00", "Step +1"},
        {"a frame step while playing does nothing", {Period}, 5'020'000, "01:23:40", "01:40:00", true, "01:40:00",
         "Seek 5020000"},
        {"Home, five times Shift+Right, I: the start to the second", {Home, ShiftRight, ShiftRight, ShiftRight,
         ShiftRight, ShiftRight, I}, 5'025'000, "01:23:45", "01:40:00"},
        {"Right, O: the end to the second", {Right, O}, 5'025'000, "01:23:40", "01:23:45"},
        {"O before the start: the end comes to the start", {Left, O}, 5'015'000, "01:23:40", "01:23:40"},
        {"I past the end: the end follows the start", {End, Right, I}, 6'005'000, "01:40:05", "01:40:05"},
        {"Right while playing: from where it plays", {Right}, 5'025'000, "01:23:40", "01:40:00", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        const int row = r.addRow("02:00:00", "01:23:40", c.end2h);
        r.selectAndPlay({row});
        if (!c.playing)
            r.player.btnPauseClick();
        r.press(c.keys);
        EXPECT_EQ(r.player.positionMilliseconds(), c.position);
        EXPECT_EQ(r.player.positionText(), FormatTimeText(c.position / 1000)) << "the display follows";
        EXPECT_EQ(r.start(row), c.start);
        EXPECT_EQ(r.end(row), c.end);
        EXPECT_EQ(r.player.isPlaying(), c.playing);
        if (!c.lastCall.isEmpty()) {
            EXPECT_EQ(r.graph.calls.last(), c.lastCall);
        }
    }
}

TEST(PreviewKeys, NothingHappensWithNothingLoaded)
{
    Rig r;
    const int row = r.addRow("00:01:40", "00:00:10", "00:01:00");
    r.selected = {row};
    r.press({Right, Home, Period, I, O});
    EXPECT_TRUE(r.graph.calls.isEmpty());
    EXPECT_EQ(r.start(row), "00:00:10");
    EXPECT_EQ(r.end(row), "00:01:00");
}

// Several rows selected: I writes the second into each, within each row's own length.
TEST(PreviewKeys, IBringsTheStartBackIntoEachSelectedRowsOwnLength)
{
    Rig r;
    const int fiveMinutes = r.addRow("00:05:00", "00:00:00", "00:05:00");
    const int twoHours = r.addRow("02:00:00", "00:00:00", "02:00:00");
    r.selectAndPlay({fiveMinutes, twoHours});
    r.player.btnPauseClick();
    r.player.seekWithinFile(1'800'000);
    r.press({I});
    EXPECT_EQ(r.start(twoHours), "00:30:00");
    EXPECT_EQ(r.start(fiveMinutes), "00:05:00");
    EXPECT_EQ(r.end(fiveMinutes), "00:05:00") << "no start past its end";
    // The markers follow the last row: 30 minutes of 2 hours is 55 pixels.
    EXPECT_EQ(r.segments.leftFillerWidth(), 56);
}

// The pause at the cut's end follows the row's end as it is now, also when it changed while
// the file plays.
TEST(PreviewKeys, PlaybackPausesAtTheEndSetWithO)
{
    Rig r;
    const int row = r.addRow("00:01:40", "00:00:00", "00:01:40");
    r.selectAndPlay({row});
    r.graph.position = MediaTime::millisecondsToReference(30'000);
    r.press({O});
    ASSERT_EQ(r.end(row), "00:00:30");
    r.graph.position = MediaTime::millisecondsToReference(30'400);
    r.player.dstrckbrMainformTimer();
    EXPECT_FALSE(r.player.isPlaying());
}

// A focused marker moved by keys: exact seconds, whatever the length of the file.
TEST(MarkerKeys, MoveTheMarkerBySecondsWithinTheCut)
{
    struct Case {
        const char *what;
        bool startMarker;
        Key key;
        const char *duration, *start, *end;
        const char *startAfter, *endAfter;
    };
    const Case cases[] = {
        {"Right: 1 s on a two-hour file", true, Right, "02:00:00", "00:10:00", "02:00:00", "00:10:01", "02:00:00"},
        {"Shift+Left: 10 s", true, ShiftLeft, "02:00:00", "00:10:00", "02:00:00", "00:09:50", "02:00:00"},
        {"Left at the beginning stays", true, Left, "00:01:40", "00:00:00", "00:01:40", "00:00:00", "00:01:40"},
        {"Shift+Right stops at the end", true, ShiftRight, "00:01:40", "00:01:10", "00:01:15", "00:01:15",
         "00:01:15"},
        {"Ctrl+Right does nothing", true, Key{Qt::Key_Right, Qt::ControlModifier}, "00:01:40", "00:00:25",
         "00:01:15", "00:00:25", "00:01:15"},
        {"end, Shift+Left: 10 s", false, ShiftLeft, "00:01:40", "00:00:25", "00:01:40", "00:00:25", "00:01:30"},
        {"end, Right at the file's end stays", false, Right, "00:01:40", "00:00:25", "00:01:40", "00:00:25",
         "00:01:40"},
        {"end, Left stops at the start", false, Left, "00:01:40", "00:00:25", "00:00:25", "00:00:25", "00:00:25"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        const int row = r.addRow(c.duration, c.start, c.end);
        r.selected = {row};
        r.segments.LayoutSegmentMarkers();
        const int seconds = MarkerNudgeSeconds(c.key.key, c.key.modifiers);
        if (c.startMarker)
            r.segments.nudgeStartMarker(seconds);
        else
            r.segments.nudgeEndMarker(seconds);
        EXPECT_EQ(r.start(row), c.startAfter);
        EXPECT_EQ(r.end(row), c.endAfter);
    }
}
