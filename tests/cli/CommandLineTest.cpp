// kelvane-convert's command line: what it accepts, what it refuses with which exit status and
// message, and how a custom profile and single options set the encoder's command.
#include "CliFixtures.h"
#include "cli/CommandLineOptions.h"
#include "settings/OptionTables.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (builtEncoder().isEmpty())
            GTEST_SKIP() << "build/Kelvane/evc is not built in this tree yet";
        ASSERT_FALSE(CliMedia::path("three_seconds.avi").isEmpty()) << "ffmpeg could not make the fixture";
    }
};

} // namespace

// One fresh program folder per case, holding the profiles "Loud" and "Quiet"; A and B are
// three-second videos, V one without sound.
TEST_F(CommandLineTest, ArgumentCasesGiveTheirExitStatusAndMessage)
{
    const struct {
        QStringList arguments;
        int status;
        const char *message; // found in standard error, or in standard output for status 0
    } cases[] = {
        {{"--type", "mp3", "--quality", "low", "A"}, 0, "1 converted in"},
        {{"--help"}, 0, "Examples:"},
        {{"--version"}, 0, "kelvane-convert " KELVANE_VERSION_TEXT "\n"},
        {{"--bitrate", "100", "A"}, 2, "'100' is not an audio bitrate; choose one of 16, 32, 48, 64, 80, 128, 160, 192, 224"},
        {{"--rate=8000", "A"}, 2, "choose one of 22050, 32000, 44100, 48000 (Hz)"},
        {{"--channels", "3", "A"}, 2, "choose one of 1 (mono) or 2 (stereo)"},
        {{"--volume", "110", "A"}, 2, "choose one of 0, 25, 50, 75, 100, 125"},
        {{"--type", "flac", "A"}, 2, "choose one of amr, aac, mp3, ac3, m4a, ogg, wav"},
        {{"--quality", "best", "A"}, 2, "choose one of low, acceptable, normal, excellent, superb"},
        {{"--start", "1:00", "A"}, 2, "--start '1:00' is not a time; write it as hh:mm:ss"},
        {{"--start", "00:00:02", "--end", "00:00:01", "A"}, 2, "--start must come before --end"},
        {{"--end", "00:00:00", "A"}, 2, "--end must come after 00:00:00"},
        {{"--jobs", "0", "A"}, 2, "'0' is not a number of jobs"},
        {{"--quality", "low", "--profile", "Loud", "A"}, 2, "--quality and --profile exclude each other"},
        {{"--fast", "A"}, 2, "unknown option '--fast'"},
        {{"--json=yes", "A"}, 2, "--json takes no value."},
        {{"A", "--output"}, 2, "--output needs a value"},
        {{"--profile", "Lodu", "A"}, 2, "there is no custom profile named 'Lodu'; the custom profiles are: Loud, Quiet."},
        {{"--type", "mp3"}, 2, "no files given"},
        {{"--type", "mp3", "A", "missing.avi", "B"}, 1, "missing.avi: no such file."},
        {{"--start", "00:00:05", "A"}, 1, "it lasts 00:00:03, so nothing is left after the start time 00:00:05."},
        {{"A", "V"}, 1, "V.avi: The input has no audio stream (the encoder failed: exit code 1)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        CliSetup s;
        s.writeProfiles({"", "[Loud]", "Loud=1|1|2|8|0|3", "", "[Quiet]", "Quiet=1|1|2|0|0|0"});
        QStringList arguments{"--output", s.outputFolder};
        for (const QString &argument : c.arguments) {
            if (argument == u"A" || argument == u"B")
                arguments << s.input("three_seconds.avi", argument + QStringLiteral(".avi"));
            else if (argument == u"V")
                arguments << s.input("video_only.avi", argument + QStringLiteral(".avi"));
            else
                arguments << argument;
        }
        const CliResult result = s.run(arguments);
        EXPECT_EQ(result.status, c.status) << result.err.toStdString();
        EXPECT_TRUE((c.status == 0 ? result.out : result.err).contains(QString::fromUtf8(c.message)))
            << "stdout: " << result.out.toStdString() << "\nstderr: " << result.err.toStdString();
        if (c.status == 2) {
            EXPECT_TRUE(s.outputFiles().isEmpty()) << "a usage error converts nothing";
        }
    }
}

// A file the media libraries can't open is named in the program's own words; the libraries'
// raw lines ("moov atom not found") stay out of what the user reads.
TEST_F(CommandLineTest, TheMediaLibrariesOwnLinesStayOutOfTheOutput)
{
    CliSetup s;
    const QString broken = s.input("three_seconds.avi", "broken.mp4");
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray::fromHex("00000018667479706973366d0000020069736f6d6d703431")); // a header, no index
    }
    const CliResult result = s.run({"--type", "wav", "--output", s.outputFolder, broken});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.contains("broken.mp4: ")) << result.err.toStdString();
    EXPECT_FALSE(result.err.contains("moov")) << result.err.toStdString();
    EXPECT_FALSE(result.out.contains("moov")) << result.out.toStdString();
}

// The good files of a list with a missing one are still converted.
TEST_F(CommandLineTest, AMissingFileAmongGoodOnesLeavesTheOthersConverted)
{
    CliSetup s;
    const CliResult result = s.run({"--type", "wav", "--output", s.outputFolder, s.input("three_seconds.avi", "a.avi"),
                                    "gone.avi", s.input("three_seconds.avi", "b.avi")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.wav", "b.wav"}));
    EXPECT_TRUE(result.out.contains("2 converted, 1 failed in")) << result.out.toStdString();
}

// Without --output the files go where the window would put them: its saved output folder.
TEST_F(CommandLineTest, WithoutOutputTheWindowsSavedFolderIsUsed)
{
    CliSetup s;
    const QString saved = s.tmp.path() + "/Saved folder";
    QDir().mkpath(s.programFolder + "Config");
    QFile settings(s.programFolder + "Config/UserSettings.ini");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(("[USRInfo]\r\nOutDir=" + saved + "\r\n").toUtf8());
    settings.close();

    const CliResult result = s.run({"--type", "ac3", s.input("three_seconds.avi", "a.avi")});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(QFile::exists(saved + "/a.ac3"));
}

// A custom profile sets the six options it stores (here: mono at 48000 Hz, bitrate 224), then
// --bitrate changes the one it names. Names are found as the window finds them (any letter case).
TEST_F(CommandLineTest, AProfileSetsItsOptionsAndASingleOptionFollowsIt)
{
    CliSetup s;
    s.writeProfiles({"", "[Loud]", "Loud=1|1|2|8|0|3", "", "[Broken]", "Broken=1|1|x|8|0|3"});
    const QString source = s.input("three_seconds.avi", "a.avi");

    const CliResult result = s.run({"--type", "mp3", "--profile", "LOUD", "--bitrate", "64", "--output", s.outputFolder, source});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    const QStringList lines = s.logLines("parameter: ");
    ASSERT_EQ(lines.size(), 1);
    for (const char *fragment : {" -acodec mp3 -vn -ab 64 ", " -ac 1 -ar 48000 "})
        EXPECT_TRUE(lines.at(0).contains(QString::fromLatin1(fragment))) << lines.at(0).toStdString();
    const ProbedAudio audio = ProbeAudio(s.outputFolder + "a.mp3");
    EXPECT_EQ(audio.sampleRate, 48000);
    EXPECT_EQ(audio.channels, 1);

    const CliResult broken = s.run({"--profile", "Broken", "--output", s.outputFolder, source});
    EXPECT_EQ(broken.status, 2);
    EXPECT_TRUE(broken.err.contains("\"x\" is not a valid integer value")) << broken.err.toStdString();
}

// Spellings the parser takes: "--name=value", names of channels, types in capitals, and
// after "--" a file whose name begins with a dash.
TEST(CommandLineParse, TakesTheUsualSpellings)
{
    const ParsedCommandLine parsed =
        ParseCommandLine({"--type=MP3", "--channels", "stereo", "--start", "100:00:01", "--jobs=3", "--json", "--", "-odd.avi"});
    ASSERT_EQ(parsed.kind, ParsedCommandLine::Kind::Run) << parsed.message.toStdString();
    EXPECT_EQ(parsed.request.outputType, Mp3);
    EXPECT_EQ(parsed.request.channels, 1);
    EXPECT_EQ(parsed.request.startSeconds, 360001);
    EXPECT_EQ(parsed.request.jobs, 3);
    EXPECT_TRUE(parsed.request.json);
    EXPECT_EQ(parsed.request.sources, QStringList{"-odd.avi"});
    for (const char *time : {"00:60:00", "00:00:60", "0:00:01", "00:00:01 ", "-1:00:00"})
        EXPECT_FALSE(ParseTimeText(QString::fromLatin1(time))) << time;
}

// --loudness takes a whole target in range, or off; anything else is a usage error.
TEST(CommandLineParse, LoudnessTargetsAndOff)
{
    const struct {
        const char *value;
        bool accepted;
        LoudnessTarget target;
    } cases[] = {{"-16", true, -16}, {"-31", true, -31}, {"-5", true, -5}, {"off", true, std::nullopt},
                 {"-4", false, {}},  {"-32", false, {}}, {"loud", false, {}}, {"", false, {}}};
    for (const auto &c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine({"--loudness", c.value, "a.avi"});
        EXPECT_EQ(parsed.kind == ParsedCommandLine::Kind::Run, c.accepted) << c.value;
        if (c.accepted) {
            ASSERT_TRUE(parsed.request.loudness.has_value()) << c.value;
            EXPECT_EQ(*parsed.request.loudness, c.target) << c.value;
        }
    }
    EXPECT_FALSE(ParseCommandLine({"a.avi"}).request.loudness.has_value()); // the window's setting
}

// With --keep-original an AC3 source to .ac3 is copied when nothing asked changes the sound, and
// encoded again when the volume does; the report and the log say which way each went.
TEST_F(CommandLineTest, KeepOriginalCopiesOrSaysWhyItEncodedAgain)
{
    CliSetup s;
    const QString source = s.input("two_seconds.rm", "ac3_sound.rm");
    ASSERT_FALSE(source.isEmpty());
    const QStringList same{"--type", "ac3", "--keep-original", "--output", s.outputFolder};
    const CliResult copied = s.run(same + QStringList{source});
    EXPECT_EQ(copied.status, 0) << copied.err.toStdString();
    EXPECT_TRUE(copied.out.contains("(audio copied (ac3))")) << copied.out.toStdString();
    const CliResult louder = s.run(same + QStringList{"--volume", "150", source});
    EXPECT_EQ(louder.status, 0) << louder.err.toStdString();
    EXPECT_TRUE(louder.out.contains("(audio re-encoded (volume 150%))")) << louder.out.toStdString();
    const CliResult plain = s.run({"--type", "ac3", "--output", s.outputFolder, source});
    EXPECT_FALSE(plain.out.contains("(audio ")) << plain.out.toStdString(); // not asked: as always
    EXPECT_TRUE(ParseCommandLine({"--keep-original", "a.avi"}).request.keepOriginal);
    EXPECT_FALSE(ParseCommandLine({"a.avi"}).request.keepOriginal);
}
