// -atrack: evc and revc convert the audio track asked for, refuse one the file lacks without
// writing anything, and without the option take the track the program's source list names as
// the file's default.
#include "EncoderHarness.h"
#include "common/AudioTrackMedia.h"
#include "media/AudioTracks.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace AudioTrackMedia;

namespace {

QString twoTracks(const QString &name, DefaultTrack defaultTrack = DefaultTrack::First)
{
    return make(Fixtures::instance().dir(), name, defaultTrack);
}

RunResult convert(const QString &program, const QString &input, const QString &output, const QStringList &options)
{
    return runProgram(program, QStringList{"-y", "-i", input} + options +
                                   QStringList{"-acodec", "pcm_s16le", "-vn", "-ac", "2", "-ar", "44100", output});
}

} // namespace

TEST(EncoderAudioTrack, ConvertsTheTrackAskedFor)
{
    const QString source = twoTracks("tracks.mkv");
    ASSERT_FALSE(source.isEmpty());
    const QString folder = freshFolder("atrack");
    const struct {
        const char *track;
        double hz;
    } cases[] = {{"1", EnglishHz}, {"2", FrenchHz}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.track);
        const QString output = folder + "/track" + c.track + ".wav";
        const RunResult r = convert(evcPath(), source, output, {"-atrack", c.track});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(isTone(dominantFrequency(output), c.hz)) << dominantFrequency(output);
    }
}

// Without -atrack the encoder converts the track that the program lists as the file's default:
// the one marked default, else the first. Both read the same file here, so they must agree.
TEST(EncoderAudioTrack, WithoutTheOptionTheEncoderAndTheProgramPickTheSameTrack)
{
    const struct {
        const char *name;
        DefaultTrack marked;
        int expectedTrack;
    } cases[] = {{"first.mkv", DefaultTrack::First, 1},
                 {"second.mkv", DefaultTrack::Second, 2},
                 {"none.mkv", DefaultTrack::None, 1},
                 {"second.mp4", DefaultTrack::Second, 2}};
    const QString folder = freshFolder("atrack-default");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = twoTracks(c.name, c.marked);
        ASSERT_FALSE(source.isEmpty());
        const std::optional<int> programsChoice = DefaultAudioTrack(ProbeAudioTracks(source));
        ASSERT_EQ(programsChoice, c.expectedTrack);
        const QString output = folder + "/" + c.name + ".wav";
        const RunResult r = convert(evcPath(), source, output, {});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(isTone(dominantFrequency(output), *programsChoice == 1 ? EnglishHz : FrenchHz))
            << dominantFrequency(output);
    }
}

TEST(EncoderAudioTrack, ATrackTheFileLacksOrABadNumberIsAClearErrorAndWritesNothing)
{
    const QString source = twoTracks("tracks.mkv");
    ASSERT_FALSE(source.isEmpty());
    const struct {
        const char *value;
        const char *message;
    } cases[] = {
        {"3", "evc: The input has no audio track 3 (it has 2 audio tracks)\n"},
        {"0", "evc: Bad value for -atrack: \"0\" (expected a whole number from 1 to 9999: the audio track, counted in "
              "file order)\n"},
        {"1.5", "evc: Bad value for -atrack: \"1.5\" (expected a whole number from 1 to 9999: the audio track, "
                "counted in file order)\n"},
        {"fre", "evc: Bad value for -atrack: \"fre\" (expected a whole number from 1 to 9999: the audio track, "
                "counted in file order)\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        const QString folder = freshFolder(QStringLiteral("atrack-bad-") + c.value);
        const RunResult r = convert(evcPath(), source, folder + "/out.wav", {"-atrack", c.value});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, QString::fromUtf8(c.message));
        EXPECT_TRUE(entriesOf(folder).isEmpty()) << entriesOf(folder).join(", ").toStdString();
    }
}

// RealMedia reaches revc through the one-line script; the track is asked for the same way.
TEST(EncoderAudioTrack, RevcTakesTheTrackOfTheFileItsScriptNames)
{
    const QString folder = freshFolder("atrack-script");
    const QString source = Fixtures::instance().make(
        "two_tracks.rm", {"-f", "lavfi", "-i", "testsrc=size=176x144:rate=10:duration=3", "-f", "lavfi", "-i",
                          "sine=frequency=440:sample_rate=44100:duration=3", "-f", "lavfi", "-i",
                          "sine=frequency=880:sample_rate=44100:duration=3", "-map", "0:v", "-map", "1:a", "-map",
                          "2:a", "-c:v", "rv10", "-c:a", "ac3", "-f", "rm"});
    ASSERT_FALSE(source.isEmpty());
    const QString script = folder + "/VideoFile.avs";
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("DirectShowSource(\"" + source.toUtf8() + "\", fps=29.9700898503294, convertfps=true)\r\n");
    file.close();
    const RunResult second = convert(revcPath(), script, folder + "/second.wav", {"-atrack", "2"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(isTone(dominantFrequency(folder + "/second.wav"), FrenchHz));
    const RunResult missing = convert(revcPath(), script, folder + "/third.wav", {"-atrack", "3"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "revc: The input has no audio track 3 (it has 2 audio tracks)\n");
    EXPECT_FALSE(QFile::exists(folder + "/third.wav"));
}
