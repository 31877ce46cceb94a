#include "MediaFixtures.h"
#include "media/DurationProbe.h"
#include "media/ProbeGraph.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace {

struct ProbeCase {
    const char *file;
    RenderOutcome outcome;
    qint32 milliseconds; // length the file was made with
    qint32 seconds;
    bool refused;
};

void PrintTo(const ProbeCase &c, std::ostream *os) { *os << c.file; }

class ProbeFixtures : public ::testing::TestWithParam<ProbeCase> {};

const ProbeCase probeCases[] = {
    {"two_seconds.avi", RenderOutcome::Complete, 2000, 2, false},
    {"three_seconds.mp4", RenderOutcome::Complete, 3000, 3, false},
    {"two_seconds.flv", RenderOutcome::Complete, 2000, 2, false},
    {"almost_a_minute.wav", RenderOutcome::Complete, 59999, 59, false},
    {"five_seconds.mpg", RenderOutcome::Complete, 5015, 5, false}, // its last audio frame ends at 5.015 s
    {"two_seconds.mkv", RenderOutcome::Complete, 2000, 2, false},
    {"two_seconds.webm", RenderOutcome::Complete, 2000, 2, false},
    {"two_seconds.ts", RenderOutcome::Complete, 2000, 2, false},
    {"two_seconds.m2ts", RenderOutcome::Complete, 2000, 2, false},
    {"two_seconds.mts", RenderOutcome::Complete, 2000, 2, false},
    {"two_seconds.ogv", RenderOutcome::Complete, 2000, 2, false},
    {"under_one_second.avi", RenderOutcome::Complete, 900, 0, true},
    {"video_only.mp4", RenderOutcome::Complete, 2000, 2, false},
    {"unknown_video_tag.avi", RenderOutcome::Partial, 2000, 2, false},
    {"random_bytes.avi", RenderOutcome::Failed, 0, 0, true},
    {"subtitles_only.srt", RenderOutcome::Failed, 0, 0, true},
    {"missing.avi", RenderOutcome::Failed, 0, 0, true},
};

} // namespace

TEST_P(ProbeFixtures, RenderOutcomeAndWholeSeconds)
{
    const ProbeCase &c = GetParam();
    const QString path = MediaFixtures::path(c.file);

    ProbeGraph graph;
    graph.OpenGraph();
    EXPECT_EQ(graph.RenderFile(path), c.outcome);
    const qint32 measured = MediaTime::referenceToMilliseconds(graph.GetDuration().value_or(0));
    EXPECT_NEAR(measured, c.milliseconds, 150); // audio codecs pad their last frame

    const ProbeResult result = ProbeDuration(graph, path);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.seconds, c.seconds);
    if (!c.refused) {
        EXPECT_NEAR(result.milliseconds, c.milliseconds, 150); // kept beside the whole seconds
    }
    EXPECT_EQ(result.refused(), c.refused);
}

INSTANTIATE_TEST_SUITE_P(Files, ProbeFixtures, ::testing::ValuesIn(probeCases));

TEST(DurationProbe, OneGraphServesManyFilesAndIsLeftOpenAndEmpty)
{
    ProbeGraph graph; // closed: the first probe opens it
    const char *files[] = {"three_seconds.mp4", "random_bytes.avi", "two_seconds.avi", "missing.avi", "two_seconds.flv"};
    QList<qint32> seconds;
    for (const char *file : files)
        seconds << ProbeDuration(graph, MediaFixtures::path(file)).seconds;

    EXPECT_EQ(seconds, QList<qint32>({3, 0, 2, 0, 2}));
    EXPECT_TRUE(graph.IsGraphOpen());
    EXPECT_EQ(graph.GetDuration(), std::nullopt); // no file is held between probes
}

// A graph that fails in every way a media library might.
class ThrowingGraph final : public MediaGraph {
public:
    bool closed = false;
    void OpenGraph() override { throw MediaGraphError("no graph"); }
    void CloseGraph() override { closed = true; }
    bool IsGraphOpen() const override { return false; }
    void EmptyGraph() override {}
    RenderOutcome RenderFile(const QString &) override { throw MediaGraphError("render"); }
    std::optional<qint64> GetDuration() override { throw std::bad_alloc(); }
    std::optional<qint64> GetCurrentPosition() override { return std::nullopt; }
    void SetCurrentPosition(qint64) override { throw MediaGraphError("seek"); }
    void RunGraph() override {}
    void PauseGraph() override {}
    void StopGraph() override {}
};

TEST(DurationProbe, FailuresOfTheGraphGiveZeroInsteadOfThrowing)
{
    ThrowingGraph graph;
    const ProbeResult result = ProbeDuration(graph, MediaFixtures::path("two_seconds.avi"));
    EXPECT_EQ(result.seconds, 0);
    EXPECT_TRUE(result.refused());
    EXPECT_TRUE(graph.closed);
}

TEST(ProbeGraph, RenderingNeedsAnOpenGraphAndSeekingIsRefused)
{
    ProbeGraph graph;
    EXPECT_THROW(graph.RenderFile(MediaFixtures::path("two_seconds.avi")), MediaGraphError);
    EXPECT_THROW(SeekGraph(graph, 1000), MediaGraphError);
}

TEST(DurationProbe, PathsAreTakenLiterallyAndOnlyRegularFilesAreRead)
{
    QTemporaryDir folder;
    const QString odd = folder.filePath(QStringLiteral("concat:clip 100% $HOME ünï.avi"));
    ASSERT_TRUE(QFile::copy(MediaFixtures::path("two_seconds.avi"), odd));
    const QString pipe = folder.filePath(QStringLiteral("pipe.avi"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    ProbeGraph graph;
    EXPECT_EQ(ProbeDuration(graph, odd).seconds, 2);
    EXPECT_EQ(ProbeDuration(graph, pipe).outcome, RenderOutcome::Failed); // returns instead of waiting for a writer
    EXPECT_EQ(ProbeDuration(graph, folder.path()).outcome, RenderOutcome::Failed);
    EXPECT_EQ(ProbeDuration(graph, QStringLiteral("http://localhost:1/two_seconds.avi")).outcome, RenderOutcome::Failed);
}
