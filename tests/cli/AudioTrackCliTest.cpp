// kelvane-convert's audio track: --audio-track by number or language converts that track, a file
// without it is named and skipped while the others convert, and --list-tracks lists the tracks.
#include "CliFixtures.h"
#include "cli/AudioTrackChoice.h"
#include "cli/CommandLineOptions.h"
#include "common/AudioTrackMedia.h"

#include <gtest/gtest.h>

using namespace AudioTrackMedia;

namespace {

class AudioTrackCliTest : public ::testing::Test {
protected:
    CliSetup s;
    QString english; // English default, French second
    QString french;  // the same with the French track as the default

    void SetUp() override
    {
        if (builtEncoder().isEmpty())
            GTEST_SKIP() << "build/Kelvane/evc is not built in this tree yet";
        english = make(s.inputFolder, "english.mp4", DefaultTrack::First);
        french = make(s.inputFolder, "french.mp4", DefaultTrack::Second);
        ASSERT_FALSE(english.isEmpty() || french.isEmpty()) << "ffmpeg could not make the fixtures";
    }
    double outputTone(const QString &name) const { return dominantFrequency(s.outputFolder + name); }
};

} // namespace

TEST_F(AudioTrackCliTest, TheTrackAskedForByNumberOrLanguageIsConverted)
{
    const struct {
        const char *track;
        double hz;
    } cases[] = {{"2", FrenchHz}, {"fre", FrenchHz}, {"fra", FrenchHz}, {"1", EnglishHz}, {"eng", EnglishHz}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.track);
        const CliResult result = s.run({"--type", "wav", "--audio-track", c.track, "--output", s.outputFolder, english});
        ASSERT_EQ(result.status, 0) << result.err.toStdString();
        EXPECT_TRUE(isTone(outputTone("english.wav"), c.hz)) << outputTone("english.wav");
        const QStringList lines = s.logLines("parameter: ");
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().contains(QStringLiteral(" -atrack %1 \"").arg(c.hz == FrenchHz ? 2 : 1)))
            << lines.last().toStdString();
        QFile::remove(s.outputFolder + "english.wav");
    }
}

// Without --audio-track each file converts its own default, and the command is the one it always was.
TEST_F(AudioTrackCliTest, WithoutTheOptionEachFileConvertsItsDefaultTrack)
{
    const CliResult result = s.run({"--type", "wav", "--output", s.outputFolder, english, french});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(isTone(outputTone("english.wav"), EnglishHz)) << outputTone("english.wav");
    EXPECT_TRUE(isTone(outputTone("french.wav"), FrenchHz)) << outputTone("french.wav");
    for (const QString &line : s.logLines("parameter: "))
        EXPECT_FALSE(line.contains("-atrack")) << line.toStdString();
}

TEST_F(AudioTrackCliTest, AFileWithoutTheTrackIsNamedAndSkippedWhileTheOthersConvert)
{
    const QString single = s.input("three_seconds.avi", "single.avi");
    const CliResult byNumber = s.run({"--type", "wav", "--audio-track", "2", "--output", s.outputFolder, single, french});
    EXPECT_EQ(byNumber.status, 1);
    EXPECT_TRUE(byNumber.err.contains("single.avi: it has no audio track 2 (it has 1 audio track).")) << byNumber.err.toStdString();
    EXPECT_EQ(s.outputFiles(), QStringList{"french.wav"});
    EXPECT_TRUE(isTone(outputTone("french.wav"), FrenchHz));

    const CliResult byLanguage = s.run({"--type", "wav", "--audio-track", "ger", "--output", s.outputFolder, english});
    EXPECT_EQ(byLanguage.status, 1);
    EXPECT_TRUE(byLanguage.err.contains(
        "english.mp4: it has no audio track in the language 'ger' (its tracks' languages: eng, fre)."))
        << byLanguage.err.toStdString();
    EXPECT_EQ(s.outputFiles(), QStringList{"french.wav"}) << "nothing is written for a skipped file";
}

TEST_F(AudioTrackCliTest, ListTracksPrintsEachFilesTracksAndConvertsNothing)
{
    const CliResult result = s.run({"--list-tracks", english, s.input("three_seconds.avi", "single.avi"), "gone.mp4"});
    EXPECT_EQ(result.status, 1) << "a file that is not there is named";
    EXPECT_EQ(result.out, english + "\n"
                                    "  1: English - AAC stereo (default); language eng, 48000 Hz\n"
                                    "  2: French - AC3 5.1; language fre, 48000 Hz\n" +
                              s.inputFolder + "single.avi\n"
                                              "  1: MP2 stereo; 44100 Hz\n");
    EXPECT_TRUE(result.err.contains("gone.mp4: no such file.")) << result.err.toStdString();
    EXPECT_TRUE(s.outputFiles().isEmpty());
    EXPECT_EQ(s.run({"--list-tracks", french}).status, 0);
}

TEST(AudioTrackCliParse, NumbersAndLanguageTagsAreTakenAnythingElseIsAUsageError)
{
    const ParsedCommandLine number = ParseCommandLine({"--audio-track", "2", "a.avi"});
    ASSERT_EQ(number.kind, ParsedCommandLine::Kind::Run);
    EXPECT_EQ(number.request.audioTrack->number, 2);
    const ParsedCommandLine language = ParseCommandLine({"--audio-track=pt-BR", "a.avi"});
    ASSERT_EQ(language.kind, ParsedCommandLine::Kind::Run);
    EXPECT_EQ(language.request.audioTrack->language, "pt-BR");
    EXPECT_FALSE(language.request.audioTrack->number);
    EXPECT_TRUE(ParseCommandLine({"--list-tracks", "a.avi"}).request.listTracks);
    for (const char *bad : {"0", "-1", "2.5", "", "x", "fre!", "12345"}) {
        SCOPED_TRACE(bad);
        const ParsedCommandLine parsed = ParseCommandLine({"--audio-track", QString::fromLatin1(bad), "a.avi"});
        EXPECT_EQ(parsed.kind, ParsedCommandLine::Kind::UsageError);
        EXPECT_TRUE(parsed.message.endsWith("is not an audio track; give its number from 1 on, or a language tag such "
                                            "as eng or fre."))
            << parsed.message.toStdString();
    }
    EXPECT_TRUE(HelpText(2).contains("--audio-track"));
    EXPECT_TRUE(HelpText(2).contains("--list-tracks"));
}
