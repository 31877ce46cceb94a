// The preview on the real player core, offscreen and without sound output.
#include "MediaFixtures.h"
#include "common/AudioTrackMedia.h"
#include "app/widgets/MainForm.h"
#include "common/EventuallyTrue.h"
#include "common/Fakes.h"
#include "media/FilterGraph.h"
#include "media/PreviewPlayer.h"
#include "media/widgets/PreviewControls.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <clocale>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

constexpr int PatienceMs = 15000; // generous: the machine may be busy with other tests
const QString PlayingVideoError = QStringLiteral("Playing Video error.");

qint64 referenceOfMs(qint64 milliseconds) { return MediaTime::millisecondsToReference(milliseconds); }

// The item a selected row of `path` hands to the player.
SourceItem itemOf(const QString &path)
{
    SourceItem item = WholeFileItem(path, 1000, 3000);
    item.id = SourceItemId{1};
    return item;
}

class RealPreview : public ::testing::Test {
protected:
    // The player core reads numbers the C way; the program sets this when it starts.
    static void SetUpTestSuite() { std::setlocale(LC_NUMERIC, "C"); }

    explicit RealPreview(MpvSettings settings = {"null", {}})
        : graph(std::move(settings), [this](const QString &line) { log << line; })
    {
        QObject::connect(&graph, &FilterGraph::playbackFailed, &player, &PreviewPlayer::playbackFailed);
    }

    bool waitSettled()
    {
        QSignalSpy settled(&graph, &FilterGraph::positionSettled);
        return settled.wait(PatienceMs);
    }

    QStringList log;
    FilterGraph graph;
    PreviewPlayer player{graph, [this](const QString &line) { log << line; }};
};

// Share of the pixels in `area` that are not black.
double litShare(const QImage &image, const QRect &area)
{
    int lit = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            lit += qGray(image.pixel(x, y)) > 24 ? 1 : 0;
    return double(lit) / (area.width() * area.height());
}

} // namespace

// Play in the main window's video window: the logo goes, a picture shows (the 4:3 clip between
// black bars), the display follows, and the end of the file unloads it again.
TEST_F(RealPreview, PlaysInTheVideoWindowUntilTheEnd)
{
    const QString file = MediaFixtures::path("ten_seconds.mp4");
    FakeShellLauncher shell;
    TFrmMainForm form(shell, QStringLiteral("/nowhere/"));
    ShowPreview(player, graph, form.DSVideoWindowEx1(), form.panLogo(), form.pnlCurTime());
    form.show();
    QWidget *video = form.DSVideoWindowEx1();
    const QImage logo = video->grab().toImage();

    player.btnPlayClick({itemOf(file)});
    EXPECT_FALSE(form.panLogo()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.pnlCurTime()->text() != "00:00:00"; }, PatienceMs));
    ASSERT_EQ(player.previewFile(), file);

    const QImage shown = video->grab().toImage();
    EXPECT_NE(shown, logo);
    EXPECT_GT(litShare(shown, QRect(40, 10, 173, 132)), 0.5) << "no picture in the middle";
    EXPECT_LT(litShare(shown, QRect(0, 0, 20, 152)), 0.01) << "no black bar on the left";
    EXPECT_LT(litShare(shown, QRect(233, 0, 20, 152)), 0.01) << "no black bar on the right";

    player.seekMilliseconds(9'000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.previewFile().isEmpty(); }, PatienceMs));
    EXPECT_TRUE(form.panLogo()->isVisible());
    EXPECT_EQ(form.pnlCurTime()->text(), "00:00:00");
    EXPECT_FALSE(graph.IsGraphOpen());
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}

TEST_F(RealPreview, AVideoWithoutSoundPlays)
{
    player.btnPlayClick({itemOf(MediaFixtures::path("video_only.mp4"))});
    // The clip lasts 2 s and the display ticks once a second: on a busy machine the tick may come
    // late and show "00:00:02" first.
    bool playingWhenAdvanced = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QString shown = player.positionText();
            playingWhenAdvanced = player.isPlaying();
            return shown == "00:00:01" || shown == "00:00:02";
        },
        PatienceMs));
    EXPECT_TRUE(playingWhenAdvanced);
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}

// Seeks land on the frame shown at the asked time (10 frames a second, a key frame every 1.2 s),
// also when asked for before the player has loaded the file.
TEST_F(RealPreview, ExactSeekLandsWithinOneFrame)
{
    for (const bool beforeLoading : {true, false}) {
        SCOPED_TRACE(beforeLoading ? "asked before loading" : "asked after loading");
        graph.OpenGraph();
        ASSERT_EQ(graph.RenderFile(MediaFixtures::path("three_seconds.mp4")), RenderOutcome::Complete);
        graph.PauseGraph();
        if (!beforeLoading) {
            ASSERT_TRUE(waitSettled());
        }
        graph.SetCurrentPosition(referenceOfMs(1950));
        ASSERT_TRUE(waitSettled());
        const std::optional<qint64> position = graph.GetCurrentPosition();
        ASSERT_TRUE(position);
        EXPECT_NEAR(double(*position), double(referenceOfMs(1950)), double(referenceOfMs(100)));
        graph.CloseGraph();
    }
}

// A paused file steps one frame (a tenth of a second) on and back, and stays paused.
TEST_F(RealPreview, APausedFileStepsByFrames)
{
    graph.OpenGraph();
    ASSERT_EQ(graph.RenderFile(MediaFixtures::path("three_seconds.mp4")), RenderOutcome::Complete);
    graph.PauseGraph();
    ASSERT_TRUE(waitSettled());
    graph.SetCurrentPosition(referenceOfMs(1000));
    ASSERT_TRUE(waitSettled());
    const auto positionMs = [this] { return graph.GetCurrentPosition().value_or(-1) / 10000; };
    graph.StepFrame(true);
    EXPECT_EVENTUALLY(positionMs() >= 1050);
    EXPECT_LE(positionMs(), 1150);
    graph.StepFrame(false);
    EXPECT_EVENTUALLY(positionMs() <= 1050);
    EXPECT_GE(positionMs(), 950);
    graph.CloseGraph();
    EXPECT_THROW(graph.StepFrame(true), MediaGraphError);
}

// Files the preview can't render completely are logged and never reach the player: nothing is
// drawn of them. A length the list measured (as for a file changed since) spares no file the look.
TEST_F(RealPreview, RefusesFilesItCannotRenderCompletely)
{
    for (const qint64 listedMs : {0, 10000})
    for (const char *file : {"random_bytes.avi", "unknown_video_tag.avi"}) {
        SCOPED_TRACE(file + (" listed at " + std::to_string(listedMs) + " ms"));
        log.clear();
        SourceItem item = itemOf(MediaFixtures::path(file));
        item.durationMs = listedMs;
        player.btnPlayClick({item});
        EXPECT_EVENTUALLY_EQ(log, QStringList{PlayingVideoError});
        EXPECT_TRUE(player.previewFile().isEmpty());
        EXPECT_FALSE(graph.GetCurrentPosition());
        EXPECT_TRUE(player.logoVisible());
        EXPECT_FALSE(player.positionTimer().isActive());
        EXPECT_EQ(graph.picturesDrawn(), 0u);
    }
}

// Play returns before anything has read the file: the look at its streams runs on another
// thread. The player loads the file meanwhile, but shows and runs nothing of it until the look
// has found a decoder for every stream.
TEST_F(RealPreview, PlayLooksAtTheFileAwayFromTheWindowsThread)
{
    QSemaphore held;
    std::atomic<int> looks{0};
    std::atomic<QThread *> lookingThread{nullptr};
    graph.setStreamChecker([&](const QString &path, bool lengthKnown) {
        lookingThread = QThread::currentThread();
        ++looks;
        held.tryAcquire(1, PatienceMs); // as a slow disk would
        return FilterGraph::probeStreams(path, lengthKnown);
    });
    graph.setVideoSize(QSize(253, 152));
    QSignalSpy settled(&graph, &FilterGraph::positionSettled);

    player.btnPlayClick({WholeFileItem(MediaFixtures::path("ten_seconds.mp4"), 0, 0)});
    EXPECT_TRUE(player.isPlaying());
    EXPECT_FALSE(player.logoVisible());
    ASSERT_EVENTUALLY(looks == 1);
    EXPECT_NE(lookingThread.load(), QThread::currentThread());
    ASSERT_EVENTUALLY(settled.count() > 0); // loaded, with its first picture ready
    EXPECT_EQ(graph.picturesDrawn(), 0u) << "a picture was shown before the look at the file ended";

    held.release();
    EXPECT_EVENTUALLY(graph.picturesDrawn() > 0);
    EXPECT_EVENTUALLY(player.positionText() != "00:00:00");
    EXPECT_EQ(looks.load(), 1);
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}

// The length the list measured is the duration from Play on; the look at the streams only
// checks them. A file the list has not measured is measured by that look.
TEST_F(RealPreview, PlayTakesTheLengthTheListMeasured)
{
    QSemaphore held;
    std::atomic<int> looks{0};
    std::atomic<bool> measured{false};
    std::atomic<bool> durationFound{false};
    graph.setStreamChecker([&](const QString &path, bool lengthKnown) {
        held.tryAcquire(1, PatienceMs);
        const FilterGraph::StreamCheck check = FilterGraph::probeStreams(path, lengthKnown);
        measured = !lengthKnown;
        durationFound = check.duration.has_value();
        ++looks;
        return check;
    });
    const QString file = MediaFixtures::path("ten_seconds.mp4");
    graph.setVideoSize(QSize(253, 152));

    player.btnPlayClick({WholeFileItem(file, 0, 9500)}); // the list's figure, not the file's
    EXPECT_EQ(graph.GetDuration(), std::optional<qint64>(referenceOfMs(9500)));
    held.release();
    ASSERT_EVENTUALLY(looks == 1);
    EXPECT_FALSE(measured);
    EXPECT_FALSE(durationFound);
    EXPECT_EVENTUALLY(graph.picturesDrawn() > 0);
    player.btnStopClick();

    player.btnPlayClick({WholeFileItem(file, 0, 0)});
    EXPECT_FALSE(graph.GetDuration());
    held.release();
    ASSERT_EVENTUALLY(looks == 2);
    EXPECT_TRUE(measured);
    EXPECT_TRUE(durationFound);
    EXPECT_EVENTUALLY(graph.GetDuration().has_value());
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}

// A look whose answer is there before Play has set the file up (a file refused at once, its
// length listed) is still taken from the event loop: the file ends stopped, with the logo.
TEST_F(RealPreview, AnAnswerReadyAtOnceStopsTheFileOncePlayHasSetItUp)
{
    graph.setCheckRunner([](std::function<void()> look) { look(); });
    graph.setStreamChecker([](const QString &, bool) { return FilterGraph::StreamCheck{RenderOutcome::Partial, {}}; });
    SourceItem item = itemOf(MediaFixtures::path("three_seconds.mp4"));
    item.durationMs = 3000;
    player.btnPlayClick({item});
    EXPECT_TRUE(log.isEmpty()) << "refused inside Play";
    EXPECT_EVENTUALLY_EQ(log, QStringList{PlayingVideoError});
    EXPECT_TRUE(player.previewFile().isEmpty());
    EXPECT_FALSE(graph.GetCurrentPosition());
    EXPECT_TRUE(player.logoVisible());
    EXPECT_FALSE(player.positionTimer().isActive());
}

// A look that ends after the file was stopped, or after another file was played, changes nothing.
TEST_F(RealPreview, ALateLookAtAnUnloadedFileChangesNothing)
{
    QSemaphore held;
    graph.setStreamChecker([&](const QString &, bool) {
        held.tryAcquire(1, PatienceMs);
        return FilterGraph::StreamCheck{RenderOutcome::Partial, {}};
    });
    player.btnPlayClick({WholeFileItem(MediaFixtures::path("three_seconds.mp4"), 0, 0)});
    player.btnStopClick();
    graph.setStreamChecker(&FilterGraph::probeStreams);
    player.btnPlayClick({WholeFileItem(MediaFixtures::path("ten_seconds.mp4"), 0, 0)});
    held.release();
    EXPECT_EVENTUALLY(player.positionText() != "00:00:00");
    EXPECT_EQ(player.previewFile(), MediaFixtures::path("ten_seconds.mp4"));
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}

// The player's pictures come no faster than the screen shows them: with a screen of 4 pictures a
// second, a video of 10 is drawn with no two pictures closer than 9/10 of a refresh.
TEST_F(RealPreview, PicturesComeNoFasterThanTheScreenShowsThem)
{
    using namespace std::chrono_literals;
    graph.setVideoSize(QSize(253, 152));
    graph.setRefreshInterval(250ms);
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> drawnAtMs;
    QObject listening; // ends the connection before the times it writes are gone
    QObject::connect(&graph, &FilterGraph::frameDrawn, &listening, [&] {
        if (graph.picturesDrawn() > drawnAtMs.size())
            drawnAtMs.push_back(clock.elapsed());
    });
    player.btnPlayClick({WholeFileItem(MediaFixtures::path("ten_seconds.mp4"), 0, 0)});
    ASSERT_EVENTUALLY(drawnAtMs.size() >= 5);
    for (size_t i = 1; i < drawnAtMs.size(); ++i)
        EXPECT_GE(drawnAtMs[i] - drawnAtMs[i - 1], 215) << "pictures " << i << " and " << i + 1;
}

class FailingPlayer : public RealPreview {
protected:
    // The player core looks for a file format that does not exist: it can open nothing.
    FailingPlayer() : RealPreview({"null", {{"demuxer", "lavf"}, {"demuxer-lavf-format", "no_such_format"}}}) {}
};

TEST_F(FailingPlayer, AFileThePlayerCannotOpenIsLoggedAndUnloaded)
{
    player.btnPlayClick({itemOf(MediaFixtures::path("three_seconds.mp4"))});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.isEmpty(); }, PatienceMs));
    EXPECT_EQ(log, QStringList{PlayingVideoError});
    EXPECT_TRUE(player.previewFile().isEmpty());
    EXPECT_TRUE(player.logoVisible());
    EXPECT_FALSE(player.positionTimer().isActive());
}

// The frequency of what the preview plays of `item`'s file to its end, with the player's sound
// written to a WAV file instead of a device.
double playedFrequency(const SourceItem &item, const QString &recording)
{
    std::setlocale(LC_NUMERIC, "C");
    FilterGraph graph({"pcm", {{"ao-pcm-file", QFile::encodeName(recording)}}});
    PreviewPlayer player(graph, [](const QString &) {});
    player.btnPlayClick({item});
    if (player.previewFile() != item.path || !QTest::qWaitFor([&] { return player.previewFile().isEmpty(); }, PatienceMs))
        return 0;
    graph.Release(); // the recording is complete once the player has let go of its output
    return AudioTrackMedia::dominantFrequency(recording);
}

// The French track of a file whose default is English; the French default of another file when
// nothing is chosen; and its English track when that is chosen.
TEST(PreviewAudioTrack, ThePreviewPlaysTheTrackTheItemConverts)
{
    QTemporaryDir folder;
    const struct {
        AudioTrackMedia::DefaultTrack marked;
        std::optional<int> chosen;
        double hz;
    } cases[] = {{AudioTrackMedia::DefaultTrack::First, 2, AudioTrackMedia::FrenchHz},
                 {AudioTrackMedia::DefaultTrack::Second, std::nullopt, AudioTrackMedia::FrenchHz},
                 {AudioTrackMedia::DefaultTrack::Second, 1, AudioTrackMedia::EnglishHz}};
    int number = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(++number);
        const QString file = AudioTrackMedia::make(folder.path(), QStringLiteral("tracks%1.mp4").arg(number), c.marked);
        ASSERT_FALSE(file.isEmpty());
        SourceItem item = itemOf(file);
        item.audioTracks = ProbeAudioTracks(file);
        item.audioTrack = c.chosen;
        const double hz = playedFrequency(item, folder.filePath(QStringLiteral("played%1.wav").arg(number)));
        EXPECT_TRUE(AudioTrackMedia::isTone(hz, c.hz)) << hz;
    }
}

class UnstartablePlayer : public RealPreview {
protected:
    UnstartablePlayer() : RealPreview({"null", {{"no-such-option", "yes"}}}) {}
};

// A preview that cannot start says why in the log, once, tells the handler each time (which shows
// it), and the program goes on without it.
TEST_F(UnstartablePlayer, LogsWhyAndStaysUnloaded)
{
    const QString file = MediaFixtures::path("two_seconds.avi");
    EXPECT_THROW(player.btnPlayClick({itemOf(file)}), MediaGraphError);
    EXPECT_THROW(player.btnPlayClick({itemOf(file)}), MediaGraphError);
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().startsWith("The preview cannot play videos: ")) << log.first().toStdString();
    EXPECT_TRUE(log.first().contains("no-such-option")) << log.first().toStdString();
    EXPECT_TRUE(player.previewFile().isEmpty());
    EXPECT_TRUE(player.logoVisible());
    EXPECT_THROW(graph.OpenGraph(), MediaGraphError);
}

// Letting go of the player while it plays: work its callbacks queued before finds nothing, also
// when the graph itself is gone.
TEST(PreviewShutdown, QueuedWorkAfterReleaseFindsNothing)
{
    std::setlocale(LC_NUMERIC, "C");
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "graph destroyed" : "graph released");
        auto graph = std::make_unique<FilterGraph>(MpvSettings{"null", {}});
        graph->setVideoSize(QSize(253, 152));
        graph->OpenGraph();
        ASSERT_EQ(graph->RenderFile(MediaFixtures::path("two_seconds.avi")), RenderOutcome::Complete);
        graph->RunGraph();
        QSignalSpy frames(graph.get(), &FilterGraph::frameDrawn);
        ASSERT_TRUE(frames.wait(PatienceMs));
        if (destroy) {
            graph.reset();
        } else {
            graph->Release();
            EXPECT_FALSE(graph->IsGraphOpen());
            EXPECT_THROW(graph->OpenGraph(), MediaGraphError);
        }
        QCoreApplication::sendPostedEvents();
    }
}
