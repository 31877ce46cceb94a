// -atrack: evc and revc convert the audio track asked for, refuse one the file lacks without
// writing anything, without the option take the track the program's source list names as the
// file's default, and keep or measure the chosen track beside -keeporiginal and -loudness.
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
    // The muxer of .rm files mishandles two sound streams: the script names a Matroska file.
    const QString source = twoTracks("script.mkv");
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

namespace {

// Two AAC stereo tracks far apart in level: a quiet English 440 Hz track and a loud French
// 880 Hz track that the file marks as its default.
QString tracksOfTwoLevels()
{
    return Fixtures::instance().make(
        "two_levels.mkv",
        {"-f", "lavfi", "-i", "aevalsrc='0.02*sin(2*PI*440*t)|0.02*sin(2*PI*440*t)':s=48000:d=4", "-f", "lavfi", "-i",
         "aevalsrc='0.5*sin(2*PI*880*t)|0.5*sin(2*PI*880*t)':s=48000:d=4", "-map", "0:a", "-map", "1:a", "-c:a", "aac",
         "-b:a", "128k", "-metadata:s:a:0", "language=eng", "-metadata:s:a:1", "language=fre", "-disposition:a:0", "0",
         "-disposition:a:1", "default"});
}

} // namespace

// -atrack beside -keeporiginal copies the chosen track, and beside -loudness measures the chosen
// track: each output holds that track's tone, and a normalised output reaches the same level
// whichever track it came from, though the tracks lie 28 dB apart. The file's default is the
// second track, so a choice of the first is seen wherever the default would be taken instead.
TEST(EncoderAudioTrack, TheChosenTrackIsTheOneKeptOrMeasured)
{
    const QString source = tracksOfTwoLevels();
    ASSERT_FALSE(source.isEmpty());
    const QString folder = freshFolder("atrack-combined");
    const struct {
        const char *name;
        QStringList options;
        double hz;
        const char *route; // what the encoder says of the sound; empty: nothing
    } cases[] = {
        {"kept1.aac", {"-atrack", "1", "-keeporiginal", "-acodec", "aac"}, EnglishHz, "audio: copied (aac)\n"},
        {"kept2.aac", {"-atrack", "2", "-keeporiginal", "-acodec", "aac"}, FrenchHz, "audio: copied (aac)\n"},
        {"loud1.wav", {"-atrack", "1", "-acodec", "pcm_s16le", "-ac", "2", "-ar", "44100", "-loudness", "-16"},
         EnglishHz, ""},
        {"loud2.wav", {"-atrack", "2", "-acodec", "pcm_s16le", "-ac", "2", "-ar", "44100", "-loudness", "-16"},
         FrenchHz, ""},
        {"both1.aac", {"-atrack", "1", "-keeporiginal", "-acodec", "aac", "-loudness", "-16"}, EnglishHz,
         "audio: re-encoded (loudness normalised to -16 LUFS)\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString output = folder + "/" + c.name;
        const RunResult r = runProgram(evcPath(), QStringList{"-y", "-i", source} + c.options + QStringList{output});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(isTone(dominantFrequency(output), c.hz)) << dominantFrequency(output);
        if (*c.route) {
            EXPECT_TRUE(r.out.startsWith(c.route)) << r.out.toStdString();
        }
    }
    const double quietKept = rmsDb(decodeMono(folder + "/kept1.aac", 48000));
    const double loudKept = rmsDb(decodeMono(folder + "/kept2.aac", 48000));
    EXPECT_NEAR(loudKept - quietKept, 28.0, 1.0);
    const double first = rmsDb(decodeMono(folder + "/loud1.wav", 44100));
    const double second = rmsDb(decodeMono(folder + "/loud2.wav", 44100));
    EXPECT_NEAR(first, second, 1.0);
    EXPECT_NEAR(rmsDb(decodeMono(folder + "/both1.aac", 48000)), first, 1.0);
}
