#include "ScriptedMediaGraph.h"
#include "media/PreviewPlayer.h"
#include "media/TimeText.h"

#include <functional>
#include <stdexcept>
#include <gtest/gtest.h>

// Lists of texts print as texts when a check fails.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

const QString A = QStringLiteral("/videos/a.avi");
const QString B = QStringLiteral("/videos/b.mp4");
const QString C = QStringLiteral("/videos/c.flv");
const QString Partial = QStringLiteral("/videos/no sound decoder.avi");
const QString Unreadable = QStringLiteral("/videos/unreadable.avi");
const QString PlayingVideoError = QStringLiteral("Playing Video error.");

// An item of the list for `path`, with its own id and the audio track chosen for it.
SourceItem itemOf(const QString &path, quint64 id, std::optional<int> track = std::nullopt)
{
    SourceItem item = WholeFileItem(path, 1000, 100'000);
    item.id = SourceItemId{id};
    item.audioTrack = track;
    return item;
}

// The items of the selected rows, in grid order.
QList<SourceItem> itemsOf(const QStringList &paths)
{
    QList<SourceItem> items;
    for (const QString &path : paths)
        items << itemOf(path, quint64(items.size() + 1));
    return items;
}

// A player on a scripted graph, with the log it writes.
struct Rig {
    Rig()
    {
        graph.outcomes.insert(Partial, RenderOutcome::Partial);
        graph.unreadable << Unreadable;
    }

    ScriptedMediaGraph graph;
    QStringList log;
    PreviewPlayer player{graph, [this](const QString &line) { log << line; }};

    // Plays the files as whole, 100-second items.
    void play(const QStringList &rows = {A}) { player.btnPlayClick(itemsOf(rows)); }
    // One tick of the position timer with the graph at `milliseconds`.
    void tickAt(qint64 milliseconds)
    {
        graph.position = MediaTime::millisecondsToReference(milliseconds);
        player.dstrckbrMainformTimer();
    }
    // What the graph was asked since `mark` calls.
    QStringList callsSince(qsizetype mark) const { return graph.calls.mid(mark); }
};

using Action = std::function<void(Rig &)>;

const Action unloaded = [](Rig &) {};
const Action playingA = [](Rig &r) { r.play({A}); };
const Action pausedA = [](Rig &r) {
    r.play({A});
    r.player.btnPauseClick();
};
Action play(QStringList rows)
{
    return [rows](Rig &r) { r.play(rows); };
}
const Action pause = [](Rig &r) { r.player.btnPauseClick(); };
const Action stop = [](Rig &r) { r.player.btnStopClick(); };

QStringList loads(const QString &path) { return {"Close", "Open", "Render " + path, "Pause", "Run"}; }
QStringList refuses(const QString &path) { return {"Close", "Open", "Render " + path, "Empty"}; }

struct Transition {
    const char *name;
    Action from;       // brings the player into the starting state
    Action event;
    QStringList calls; // what the event asks of the graph, in order
    QString file;      // previewFile afterwards
    bool playing;
    bool logo;
    bool logged;       // "Playing Video error." was written
};

const Transition transitions[] = {
    {"Unloaded, Play without a selected row", unloaded, play({}), {}, "", false, true, false},
    {"Unloaded, Pause", unloaded, pause, {}, "", false, true, false},
    {"Unloaded, Stop", unloaded, stop, {}, "", false, true, false},
    {"Unloaded, Play with a row", unloaded, play({A}), loads(A), A, true, false, false},
    {"Unloaded, Play with three rows keeps the last", unloaded, play({A, B, C}), loads(A) + loads(B) + loads(C), C,
     true, false, false},
    {"Unloaded, Play with a row that renders only partly", unloaded, play({Partial}), refuses(Partial), "", false,
     true, true},
    {"Unloaded, Play with a row that fails to render", unloaded, play({Unreadable}), refuses(Unreadable), "", false,
     true, true},
    {"Playing, Play changes nothing", playingA, play({B}), {}, A, true, false, false},
    {"Playing, Pause", playingA, pause, {"Pause"}, A, false, false, false},
    {"Playing, Stop", playingA, stop, {"Stop", "Close"}, "", false, true, false},
    {"Paused, Pause changes nothing", pausedA, pause, {}, A, false, false, false},
    {"Paused, Play runs on from the paused position", pausedA, play({B}), {"Run"}, A, true, false, false},
    {"Paused, Stop", pausedA, stop, {"Stop", "Close"}, "", false, true, false},
};

} // namespace

TEST(PreviewPlayer, StateTransitions)
{
    for (const Transition &t : transitions) {
        SCOPED_TRACE(t.name);
        Rig r;
        t.from(r);
        const qsizetype mark = r.graph.calls.size();
        t.event(r);

        EXPECT_EQ(r.callsSince(mark), t.calls);
        EXPECT_EQ(r.player.previewFile(), t.file);
        EXPECT_EQ(r.player.isPlaying(), t.playing);
        EXPECT_EQ(r.player.logoVisible(), t.logo);
        EXPECT_EQ(r.graph.running, t.playing);
        // The position timer runs exactly while the graph runs.
        EXPECT_EQ(r.player.positionTimer().isActive(), r.graph.running);
        EXPECT_EQ(r.log, t.logged ? QStringList{PlayingVideoError} : QStringList{});
    }
}

// Each row plays from its own start: a start set on a long file never makes a short one seek
// past its end and unload; a start past a row's file plays its last second.
TEST(PreviewPlayer, EachRowPlaysFromItsOwnStartWithinItsOwnLength)
{
    struct Case {
        const char *what;
        qint64 durationMs, startMs;
        QStringList seeks;
    };
    const Case cases[] = {
        {"from the beginning: no seek", 100'000, 0, {}},
        {"from its own start", 100'000, 30'000, {"Seek 30000"}},
        {"a start past the end of its file: its last second", 4'500, 30'000, {"Seek 3500"}},
        {"a file shorter than a second: its beginning", 800, 30'000, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        SourceItem item = WholeFileItem(A, 0, c.durationMs);
        item.startMs = c.startMs;
        r.player.btnPlayClick({item});
        EXPECT_EQ(r.callsSince(0), loads(A) + c.seeks);
        EXPECT_TRUE(r.player.isPlaying());
    }

    // The start marker put at 30:00 on a two-hour file; then a five-minute file is played.
    Rig r;
    SourceItem longFile = WholeFileItem(A, 0, 7'200'000);
    longFile.startMs = 1'800'000;
    const SourceItem shortFile = WholeFileItem(B, 0, 300'000);
    r.player.btnPlayClick({longFile});
    EXPECT_EQ(r.graph.calls.last(), "Seek 1800000");
    r.player.btnStopClick();
    const qsizetype mark = r.graph.calls.size();
    r.graph.duration = MediaTime::millisecondsToReference(300'000);
    r.player.btnPlayClick({shortFile});
    EXPECT_EQ(r.callsSince(mark), loads(B)) << "the short file plays from its own start";
    r.tickAt(1'000);
    EXPECT_EQ(r.player.previewFile(), B) << "it stays loaded";
    EXPECT_EQ(r.player.positionText(), "00:00:01");
}

namespace {

struct Step {
    enum Kind { Tick, Seek } kind;
    qint64 milliseconds;
};

struct TickCase {
    const char *name;
    QString endMarker; // the row's own cut end; empty: it runs to the file's end
    QList<Step> steps;
    QString display;
    bool playing;
    bool loaded;
    QStringList lastCalls; // the graph's last calls
    qint64 durationSeconds = 100;
};

const QString EndMarker = QStringLiteral("00:01:10");

const TickCase tickCases[] = {
    {"shows hours, minutes and seconds", "", {{Step::Tick, 3'723'900}}, "01:02:03", true, true, {"Run"}, 4000},
    // Paused at the beginning, the display shows where the preview is: 00:00:00.
    {"pauses at the beginning when it shows the end marker's time", EndMarker,
     {{Step::Tick, 69'000}, {Step::Tick, 70'900}}, "00:00:00", false, true, {"Seek 0", "Pause"}},
    {"pauses at the end marker also when a tick skips its second", EndMarker,
     {{Step::Tick, 69'000}, {Step::Tick, 71'200}}, "00:00:00", false, true, {"Seek 0", "Pause"}},
    {"plays on when it started past the end marker's time", EndMarker,
     {{Step::Seek, 75'000}, {Step::Tick, 76'000}, {Step::Tick, 77'000}}, "00:01:17", true, true, {"Seek 75000"}},
    {"plays on after a seek past the end marker", EndMarker,
     {{Step::Tick, 60'000}, {Step::Seek, 80'000}, {Step::Tick, 81'000}}, "00:01:21", true, true, {"Seek 80000"}},
    {"pauses when a seek went before the end marker", EndMarker,
     {{Step::Seek, 75'000}, {Step::Tick, 76'000}, {Step::Seek, 65'000}, {Step::Tick, 71'000}}, "00:00:00", false, true,
     {"Seek 0", "Pause"}},
    {"without an end marker plays on", "", {{Step::Tick, 69'000}, {Step::Tick, 71'000}}, "00:01:11", true, true,
     {"Run"}},
    {"unloads at the end of the file", EndMarker, {{Step::Tick, 99'000}, {Step::Tick, 100'000}}, "00:00:00", false,
     false, {"Seek 0", "Stop", "Close"}},
    {"unloads past the end of the file", "", {{Step::Tick, 100'400}}, "00:00:00", false, false,
     {"Seek 0", "Stop", "Close"}},
};

} // namespace

// The position timer: the display, the row's own cut end and the end of the file.
TEST(PreviewPlayer, PositionTimer)
{
    for (const TickCase &c : tickCases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.graph.duration = MediaTime::millisecondsToReference(c.durationSeconds * 1000);
        SourceItem item = WholeFileItem(A, 0, c.durationSeconds * 1000);
        if (!c.endMarker.isEmpty())
            item.endMs = ReadTimeText(c.endMarker) * 1000;
        r.player.btnPlayClick({item});
        for (const Step &step : c.steps) {
            if (step.kind == Step::Tick)
                r.tickAt(step.milliseconds);
            else
                r.player.seekMilliseconds(step.milliseconds);
        }
        EXPECT_EQ(r.player.positionText(), c.display);
        EXPECT_EQ(r.player.isPlaying(), c.playing);
        EXPECT_EQ(r.player.positionTimer().isActive(), c.playing);
        EXPECT_EQ(r.player.previewFile(), c.loaded ? A : QString());
        EXPECT_EQ(r.player.logoVisible(), !c.loaded);
        EXPECT_EQ(r.graph.calls.mid(r.graph.calls.size() - c.lastCalls.size()), c.lastCalls);
    }
}

TEST(PreviewPlayer, AfterPlayingToTheEndPlayLoadsTheSelectedRowAgain)
{
    Rig r;
    r.play({A});
    r.tickAt(100'000);
    ASSERT_TRUE(r.player.previewFile().isEmpty());
    const qsizetype mark = r.graph.calls.size();
    r.play({B});
    EXPECT_EQ(r.callsSince(mark), loads(B));
    EXPECT_EQ(r.player.previewFile(), B);
}

TEST(PreviewPlayer, FailuresOfTheGraph)
{
    {
        SCOPED_TRACE("running fails: the logo shows, the rest stays paused");
        Rig r;
        r.play();
        r.player.btnPauseClick();
        r.graph.failing << "Run";
        r.play();
        EXPECT_TRUE(r.player.logoVisible());
        EXPECT_FALSE(r.player.isPlaying());
        EXPECT_EQ(r.player.previewFile(), A);
    }
    {
        SCOPED_TRACE("pausing fails: the logo shows, the rest stays playing");
        Rig r;
        r.play();
        r.graph.failing << "Pause";
        r.player.btnPauseClick();
        EXPECT_TRUE(r.player.logoVisible());
        EXPECT_TRUE(r.player.isPlaying());
        EXPECT_TRUE(r.player.positionTimer().isActive());
    }
    {
        SCOPED_TRACE("the graph can't open: nothing loads, nothing is logged, the handler is told");
        Rig r;
        r.graph.failing << "Open";
        EXPECT_THROW(r.play(), MediaGraphError);
        EXPECT_TRUE(r.player.previewFile().isEmpty());
        EXPECT_TRUE(r.player.logoVisible());
        EXPECT_TRUE(r.log.isEmpty());
    }
    {
        SCOPED_TRACE("the player gives up on a loaded file: logged and unloaded");
        Rig r;
        r.play();
        r.tickAt(5'000);
        r.player.playbackFailed();
        EXPECT_EQ(r.log, QStringList{PlayingVideoError});
        EXPECT_TRUE(r.player.previewFile().isEmpty());
        EXPECT_TRUE(r.player.logoVisible());
        EXPECT_EQ(r.player.positionText(), "00:00:00");
        EXPECT_FALSE(r.graph.open);
    }
}

// Each file is loaded with its own audio track, asked for before it is rendered; a new choice
// for the loaded file switches it at once and leaves other files alone.
TEST(PreviewPlayer, PlaysTheAudioTrackOfEachFile)
{
    Rig r;
    SourceItem a = itemOf(A, 1, 2);
    const SourceItem b = itemOf(B, 2);
    r.player.btnPlayClick({a, b});
    EXPECT_EQ(r.player.previewFile(), B);
    EXPECT_EQ(r.graph.audioTrack, std::nullopt); // B plays its default track, not A's choice
    EXPECT_EQ(r.graph.audioTrackOf, QString());  // asked before rendering
    r.player.btnStopClick();

    r.player.btnPlayClick({a});
    EXPECT_EQ(r.graph.audioTrack, 2);
    EXPECT_EQ(r.graph.audioTrackOf, QString());
    r.player.ChangeAudioTrack(itemOf(B, 2, 1));
    EXPECT_EQ(r.graph.audioTrack, 2);
    r.player.ChangeAudioTrack(itemOf(A, 3, 1)); // the same path under another item is another item
    EXPECT_EQ(r.graph.audioTrack, 2);
    a.audioTrack = 1;
    r.player.ChangeAudioTrack(a);
    EXPECT_EQ(r.graph.audioTrack, 1);
    EXPECT_EQ(r.graph.audioTrackOf, A);
    EXPECT_EQ(r.player.previewFile(), A);
}

// A log that cannot be written reaches the handler, which shows it; the preview is unloaded
// all the same.
TEST(PreviewPlayer, ALogThatCannotBeWrittenIsPassedOnAfterUnloading)
{
    ScriptedMediaGraph graph;
    graph.unreadable << Unreadable;
    PreviewPlayer player{graph, [](const QString &) { throw std::runtime_error("log.txt cannot be written"); }};
    {
        SCOPED_TRACE("a file that does not render");
        EXPECT_THROW(player.btnPlayClick(itemsOf({Unreadable})), std::runtime_error);
        EXPECT_EQ(graph.calls, refuses(Unreadable));
        EXPECT_TRUE(player.previewFile().isEmpty());
    }
    {
        SCOPED_TRACE("the player gives up on a loaded file");
        player.btnPlayClick(itemsOf({A}));
        ASSERT_EQ(player.previewFile(), A);
        EXPECT_THROW(player.playbackFailed(), std::runtime_error);
        EXPECT_TRUE(player.previewFile().isEmpty());
        EXPECT_TRUE(player.logoVisible());
        EXPECT_FALSE(graph.open);
    }
}

// The display shows the position at once after play, pause, stop and every seek, and the timer
// ticks when the file reaches its next whole second, so it never runs a second behind.
TEST(PreviewPlayer, ThePositionDisplayIsCurrentAtOnceAndOnEveryTick)
{
    Rig r;
    r.graph.duration = MediaTime::millisecondsToReference(4'000'000);
    r.play();
    EXPECT_EQ(r.player.positionText(), "00:00:00");
    r.tickAt(1'879'900);
    EXPECT_EQ(r.player.positionText(), "00:31:19");
    EXPECT_EQ(r.player.positionTimer().interval(), 105) << "the next tick comes just after second 1880";
    r.tickAt(1'880'005);
    EXPECT_EQ(r.player.positionText(), "00:31:20");

    r.graph.position = MediaTime::millisecondsToReference(1'884'600);
    r.player.btnPauseClick();
    EXPECT_EQ(r.player.positionText(), "00:31:24");
    r.graph.position = MediaTime::millisecondsToReference(1'890'250);
    r.play();
    EXPECT_EQ(r.player.positionText(), "00:31:30");
    EXPECT_EQ(r.player.positionTimer().interval(), 755);

    r.player.seekMilliseconds(90'000);
    EXPECT_EQ(r.player.positionText(), "00:01:30");
    r.player.btnPauseClick();
    r.player.seekMilliseconds(70'000); // also while paused
    EXPECT_EQ(r.player.positionText(), "00:01:10");
    EXPECT_FALSE(r.player.positionTimer().isActive());

    r.player.btnStopClick();
    EXPECT_EQ(r.player.positionText(), "00:00:00");
}
