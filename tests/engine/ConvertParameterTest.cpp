#include "common/Fakes.h"
#include "engine/AvsScript.h"
#include "engine/ConvertParameterBuilder.h"
#include "common/SourceItems.h"
#include "settings/QualityProfiles.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Program folder, output folder and log in one temporary folder; the selectors as in the
// documented examples (audio 64, volume 100, stereo, 44100 Hz, video 176x144 at 128).
class CommandLine : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString programFolder = tmp.path() + "/App/";
    QString outputFolder = tmp.path() + "/Kelvane";
    FixedClock clock;
    TAppFunc log{tmp.path() + "/", clock};
    TFileFunc fileFunc;
    OptionSelectionModel options;
    QMap<QString, SourceItem> items; // by their exact paths
    ConvertParameterBuilder builder{programFolder, &options, log, fileFunc};
    TConvertParameterStruct parameter;
    ConvertResult last; // of the latest build

    void SetUp() override
    {
        QDir().mkpath(programFolder);
        FillAllSelectors(options, {});
        select(Selector::AudioBitrate, "64");
        select(Selector::VolumeGain, "100");
        select(Selector::AudioChannels, "2 channels, Stereo");
        select(Selector::AudioSample, "44100");
        select(Selector::VideoSize, "176x144");
        select(Selector::VideoBitrate, "128");
        builder.setOutputFolderText(outputFolder);
    }
    void select(Selector selector, const QString &text)
    {
        options.setSelectedIndex(selector, static_cast<int>(options.entries(selector).indexOf(text)));
    }
    void addRow(const QString &path, const QString &start = "00:00:10", const QString &end = "00:01:40")
    {
        items.insert(path, ItemWithTimes(path, "00:02:00", start, end));
    }
    ConvertResult build(const QString &sourcePath, int outputType = Mp3)
    {
        options.setSelectedIndex(Selector::OutputType, outputType);
        last = builder.CreateConvertParameter(items.value(sourcePath, ItemWithTimes(sourcePath, "00:02:00", "00:00:10",
                                                                                    "00:01:40")),
                                              parameter);
        return last;
    }
    // The command line with this test's folders written as the documented ones.
    QString documented(const ConvertResult &result) const
    {
        QString line = result.command.commandLine;
        return line.replace(programFolder, "/opt/App/").replace(outputFolder + "/", "/home/u/Kelvane/");
    }
    QString logText() const
    {
        QFile file(log.logFilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QByteArray avsBytes() const
    {
        QFile file(AvsScriptPath(programFolder));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(CommandLine, TheSevenOutputTypesGiveTheDocumentedLines)
{
    addRow("/media/Video/clip.avi");
    const QString head = "/opt/App/evc -y -i \"/media/Video/clip.avi\" -acodec ";
    const QString audio = " -vn -ab 64 -vol 100 -ac 2 -ar 44100 -ss 00:00:10 -t 90 \"/home/u/Kelvane/clip";
    const QString expected[] = {
        head + "amr_nb -s 176x144 -b 128 -ab 64 -vol 100 -ac 1 -ar 8000 -ss 00:00:10 -t 90 \"/home/u/Kelvane/clip.amr\"",
        head + "aac" + audio + ".aac\"",
        head + "mp3" + audio + ".mp3\"",
        head + "ac3" + audio + ".ac3\"",
        head + "aac" + audio + ".m4a\"",
        head + "vorbis" + audio + ".ogg\"",
        head + "pcm_s16le" + audio + ".wav\"",
    };
    for (int type = 0; type < OutputTypeCount; ++type) {
        const ConvertResult result = build("/media/Video/clip.avi", type);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(documented(result), expected[type]);
    }
    EXPECT_EQ(documented(build("/media/Video/clip.avi", Mp3)),
              "/opt/App/evc -y -i \"/media/Video/clip.avi\" -acodec mp3 -vn -ab 64 -vol 100 -ac 2 -ar 44100 "
              "-ss 00:00:10 -t 90 \"/home/u/Kelvane/clip.mp3\"");
    EXPECT_EQ(last.startText, "00:00:10");
    EXPECT_EQ(last.durationText, "90");
    EXPECT_EQ(parameter.outputFolder, outputFolder + "/");
    EXPECT_EQ(parameter.baseName, "clip");
    EXPECT_EQ(parameter.volumeArg, " -vol 100");
    EXPECT_EQ(parameter.timeRangeArg, " -ss 00:00:10 -t 90");
    EXPECT_EQ(avsBytes(), "DirectShowSource(\"/media/Video/clip.avi\", fps=29.9700898503294, convertfps=true)\r\n");
    EXPECT_TRUE(logText().contains("|Output directory " + outputFolder + "/\r\n"));
}

TEST_F(CommandLine, RealMediaGoesThroughTheScriptOnlyWhenSpelledInLowerCase)
{
    addRow("/media/Video/clip.rmvb");
    const ConvertResult result = build("/media/Video/clip.rmvb");
    EXPECT_EQ(documented(result), "/opt/App/revc -y -i \"/opt/App/VideoFile.avs\" -acodec mp3 -vn -ab 64 -vol 100 "
                                  "-ac 2 -ar 44100 -ss 00:00:10 -t 90 \"/home/u/Kelvane/clip.mp3\"");
    EXPECT_EQ(avsBytes(), "DirectShowSource(\"/media/Video/clip.rmvb\", fps=29.9700898503294, convertfps=true)\r\n");
    EXPECT_EQ(result.command.program, programFolder + "revc");
    EXPECT_EQ(result.command.arguments.mid(0, 3), QStringList({"-y", "-i", programFolder + "VideoFile.avs"}));

    const struct {
        const char *path;
        const char *encoder;
    } cases[] = {{"/v/clip.rm", "revc"},   {"/v/clip.rmvb", "revc"}, {"/v/clip.RM", "evc"},
                 {"/v/clip.RMVB", "evc"},  {"/v/clip.Rm", "evc"},    {"/v/clip.rm.avi", "evc"},
                 {"/v/rm", "evc"}};
    for (const auto &c : cases) {
        const ConvertResult r = build(c.path);
        EXPECT_EQ(r.command.program, programFolder + c.encoder) << c.path;
        EXPECT_EQ(avsBytes(), QByteArray("DirectShowSource(\"") + c.path + "\", fps=29.9700898503294, convertfps=true)\r\n");
    }
}

TEST_F(CommandLine, ArgumentVectorKeepsEveryPathWhole)
{
    const QString source = tmp.path() + "/My \"Best\" $HOME `id` Vidéo 日本/clip 1.avi";
    const QString weirdOut = tmp.path() + "/out $(rm) \"q\" `x` ü";
    addRow(source);
    builder.setOutputFolderText(weirdOut);
    const ConvertResult result = build(source);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.command.program, programFolder + "evc");
    EXPECT_EQ(result.command.arguments,
              QStringList({"-y", "-i", source, "-acodec", "mp3", "-vn", "-ab", "64", "-vol", "100", "-ac", "2", "-ar",
                           "44100", "-ss", "00:00:10", "-t", "90", weirdOut + "/clip 1.mp3"}));
    EXPECT_EQ(result.command.commandLine,
              programFolder + "evc -y -i \"" + source + "\" -acodec mp3 -vn -ab 64 -vol 100 -ac 2 -ar 44100 "
                              "-ss 00:00:10 -t 90 \"" + weirdOut + "/clip 1.mp3\"");
    EXPECT_TRUE(QDir(weirdOut).exists());
}

TEST_F(CommandLine, AmrAlwaysAsksForMonoAt8000WithTheVideoFragments)
{
    addRow("/v/clip.avi");
    select(Selector::AudioChannels, "1 channel, Mono");
    select(Selector::AudioSample, "48000");
    const ConvertResult result = build("/v/clip.avi", Amr);
    EXPECT_TRUE(result.command.commandLine.contains(" -s 176x144 -b 128 -ab 64 -vol 100 -ac 1 -ar 8000 -ss"));
    EXPECT_FALSE(result.command.commandLine.contains("48000"));
    EXPECT_EQ(result.command.arguments.mid(3, 14),
              QStringList({"-acodec", "amr_nb", "-s", "176x144", "-b", "128", "-ab", "64", "-vol", "100", "-ac", "1",
                           "-ar", "8000"}));
}

TEST_F(CommandLine, NoVolumeLeavesADoubleBlankInTheTextAndNoArgument)
{
    addRow("/v/clip.avi");
    options.setSelectedIndex(Selector::VolumeGain, -1);
    const ConvertResult result = build("/v/clip.avi");
    EXPECT_TRUE(result.command.commandLine.contains(" -ab 64  -ac 2 "));
    EXPECT_FALSE(result.command.arguments.contains("-vol"));
    EXPECT_FALSE(result.command.arguments.contains(" "));
    EXPECT_EQ(parameter.volumeArg, " ");
}

// Each item converts with its own cut, also when another file's name differs only in letter case.
TEST_F(CommandLine, CutTimesComeFromTheItemItself)
{
    addRow("/v/a.avi", "00:01:40", "00:01:10"); // a start past the end, as a marker can leave it
    EXPECT_TRUE(build("/v/a.avi").command.commandLine.contains(" -ss 00:01:40 -t -30 \""));

    addRow("/V/B.AVI", "00:00:01", "00:00:05");
    addRow("/v/b.avi", "00:00:02", "00:01:00");
    EXPECT_TRUE(build("/v/b.avi").command.commandLine.contains(" -ss 00:00:02 -t 58 \""));
    EXPECT_TRUE(build("/V/B.AVI").command.commandLine.contains(" -ss 00:00:01 -t 4 \""));
    EXPECT_EQ(last.startText, "00:00:01");
    EXPECT_EQ(last.durationText, "4");
}

// The length asked of the encoder: an item still ending at its file's end takes the file to its
// measured end, so the fraction of a second the grid does not show is converted too.
TEST_F(CommandLine, AnUncutItemConvertsToTheExactEndOfItsFile)
{
    struct Case {
        const char *what;
        qint64 startMs, endMs, durationMs;
        const char *range;
    };
    const Case cases[] = {
        {"the whole file", 0, 125400, 125400, " -ss 00:00:00 -t 126 \""},
        {"from a start to the end", 10000, 125400, 125400, " -ss 00:00:10 -t 116 \""},
        {"a length of whole seconds", 10000, 125000, 125000, " -ss 00:00:10 -t 115 \""},
        {"cut before the end: the times as shown", 10000, 120000, 125400, " -ss 00:00:10 -t 110 \""},
        {"a start at the very end", 125000, 125000, 125000, " -ss 00:02:05 -t 0 \""},
    };
    for (const Case &c : cases) {
        SourceItem item = WholeFileItem("/v/a.avi", 1, c.durationMs);
        item.startMs = c.startMs;
        item.endMs = c.endMs;
        items.insert(item.path, item);
        EXPECT_TRUE(build(item.path).command.commandLine.contains(c.range)) << c.what;
    }
}

TEST_F(CommandLine, AnOutputNameInUseGetsTheNextFreeSuffix)
{
    addRow("/v/clip.avi");
    QDir().mkpath(outputFolder);
    for (const char *name : {"CLIP.WAV", "clip_1.txt"}) {
        QFile file(outputFolder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const ConvertResult result = build("/v/clip.avi");
    EXPECT_TRUE(result.command.commandLine.endsWith("\"" + outputFolder + "/clip_2.mp3\""));
    EXPECT_EQ(result.command.arguments.last(), outputFolder + "/clip_2.mp3");
}

TEST_F(CommandLine, OutputFolderWithOrWithoutTrailingSeparatorGivesTheSameLine)
{
    addRow("/v/clip.avi");
    const QString without = build("/v/clip.avi").command.commandLine;
    builder.setOutputFolderText(outputFolder + "/");
    EXPECT_EQ(build("/v/clip.avi").command.commandLine, without);
}

TEST_F(CommandLine, AnUncreatableOutputFolderIsLoggedAndTheLineStillBuilt)
{
    addRow("/v/clip.avi");
    QFile blocker(tmp.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    builder.setOutputFolderText(tmp.path() + "/file/sub");
    const ConvertResult result = build("/v/clip.avi");
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.command.commandLine.endsWith("\"" + tmp.path() + "/file/sub/clip.mp3\""));
    EXPECT_TRUE(logText().contains("|Output directory error. ->" + tmp.path() + "/file/sub/\r\n"));
}

TEST_F(CommandLine, AScriptThatCannotBeWrittenFailsOnlyThatItem)
{
    ConvertParameterBuilder noProgramFolder(tmp.path() + "/missing/", &options, log, fileFunc);
    noProgramFolder.setOutputFolderText(outputFolder);
    addRow("/v/clip.avi");
    options.setSelectedIndex(Selector::OutputType, Mp3);
    const ConvertResult failed = noProgramFolder.CreateConvertParameter(items.value("/v/clip.avi"), parameter);
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.error.contains("VideoFile.avs"));
    EXPECT_TRUE(logText().contains(failed.error));
    EXPECT_TRUE(build("/v/clip.avi").ok());
}

TEST_F(CommandLine, TheCustomProfileHookRunsOncePerItemBeforeTheSelectorsAreRead)
{
    int runs = 0;
    builder.setLoadSelectedCustomProfile([&] {
        ++runs;
        select(Selector::AudioBitrate, "224");
    });
    addRow("/v/clip.avi");
    addRow("/V/CLIP.avi");
    EXPECT_TRUE(build("/v/clip.avi").command.commandLine.contains(" -ab 224 "));
    EXPECT_EQ(runs, 1);
    build("/V/CLIP.avi");
    EXPECT_EQ(runs, 2);
}

// A chosen audio track comes last before the output as " -atrack N", in every template,
// RealMedia's too, and beside loudness and keep-the-original; an item without a choice gives the
// command it always gave, byte for byte.
TEST_F(CommandLine, AChosenAudioTrackComesBeforeTheOutputAndOnlyWhenChosen)
{
    addRow("/media/Video/clip.avi");
    const QString unchosen = documented(build("/media/Video/clip.avi"));
    EXPECT_EQ(unchosen, "/opt/App/evc -y -i \"/media/Video/clip.avi\" -acodec mp3 -vn -ab 64 -vol 100 -ac 2 -ar 44100 "
                        "-ss 00:00:10 -t 90 \"/home/u/Kelvane/clip.mp3\"");
    items["/media/Video/clip.avi"].audioTrack = 2;
    const ConvertResult mp3 = build("/media/Video/clip.avi");
    EXPECT_EQ(documented(mp3), "/opt/App/evc -y -i \"/media/Video/clip.avi\" -acodec mp3 -vn -ab 64 -vol 100 "
                               "-ac 2 -ar 44100 -ss 00:00:10 -t 90 -atrack 2 \"/home/u/Kelvane/clip.mp3\"");
    EXPECT_EQ(mp3.command.arguments.mid(mp3.command.arguments.size() - 3, 2), QStringList({"-atrack", "2"}));
    EXPECT_TRUE(documented(build("/media/Video/clip.avi", Amr))
                    .endsWith("-ac 1 -ar 8000 -ss 00:00:10 -t 90 -atrack 2 \"/home/u/Kelvane/clip.amr\""));

    builder.setLoudnessTarget(-16);
    options.setKeepOriginal(true);
    EXPECT_EQ(documented(build("/media/Video/clip.avi")).toStdString(),
              "/opt/App/evc -y -i \"/media/Video/clip.avi\" -acodec mp3 -vn -keeporiginal -ab 64 -vol 100 -ac 2 "
              "-ar 44100 -ss 00:00:10 -t 90 -loudness -16 -atrack 2 \"/home/u/Kelvane/clip.mp3\"");
    builder.setLoudnessTarget(std::nullopt);
    options.setKeepOriginal(false);

    addRow("/media/Video/clip.rm");
    items["/media/Video/clip.rm"].audioTrack = 1;
    EXPECT_TRUE(documented(build("/media/Video/clip.rm"))
                    .startsWith("/opt/App/revc -y -i \"/opt/App/VideoFile.avs\" -acodec mp3"));
    EXPECT_TRUE(documented(build("/media/Video/clip.rm")).endsWith(" -atrack 1 \"/home/u/Kelvane/clip.mp3\""));
}
