// Several encoders at once with the real encoder on small generated files: the window's command
// lines, outputs checked by ffprobe, output names never shared, RealMedia scripts never shared.
#include "CliFixtures.h"
#include "media/DurationProbe.h"
#include "media/ProbeGraph.h"
#include "media/SourceListModel.h"
#include "services/CommonLib.h"
#include "services/CustomProc.h"
#include "settings/OptionSelectionModel.h"
#include "settings/OptionTables.h"
#include "settings/QualityProfiles.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <gtest/gtest.h>

namespace {

class ParallelConvertTest : public ::testing::Test {
protected:
    CliSetup s;

    void SetUp() override
    {
        if (builtEncoder().isEmpty())
            GTEST_SKIP() << "build/Kelvane/evc is not built in this tree yet";
        for (const char *name : {"three_seconds.avi", "two_seconds.rm", "four_seconds.rm"})
            ASSERT_FALSE(CliMedia::path(QString::fromLatin1(name)).isEmpty()) << name << " could not be made";
    }

    // The command lines the window builds for `sources` as MP3 "Excellent Quality", each row
    // cut from 00:00:01 to its end (three seconds and a little), into the same output folder.
    QStringList windowCommandLines(const QStringList &sources)
    {
        FakeMessageBoxes boxes;
        TCommonLib common{FileLocations::portableIn(s.programFolder), s.clock, boxes};
        OptionSelectionModel options;
        SourceListModel rows;
        TCustomProc custom{common, options, rows};
        custom.FillAllSelectors();
        custom.ApplyQualityProfile();
        options.setSelectedIndex(Selector::OutputType, Mp3);
        options.setSelectedIndex(Selector::Quality, 3);
        custom.ApplyQualityProfile();
        custom.setOutputFolderText(s.outputFolder);
        QStringList lines;
        ProbeGraph graph;
        for (const QString &source : sources) {
            SourceItem item = WholeFileItem(source, 1024, ProbeDuration(graph, source).milliseconds); // as the window adds it
            item.startMs = 1000;
            rows.appendItem(item);
            lines << custom.CreateConvertParameter(item).command.commandLine;
        }
        QFile::remove(s.programFolder + "log.txt");
        return lines;
    }

    // The most encoders that ran at once, from the gate's record of starts and ends.
    int mostAtOnce() const
    {
        int running = 0, most = 0;
        for (const QString &event : s.encoderEvents()) {
            running += event.startsWith("start ") ? 1 : -1;
            most = std::max(most, running);
        }
        return most;
    }
};

} // namespace

TEST_F(ParallelConvertTest, TwoAtOnceWithTheWindowsCommandLinesAndOneStartPerFile)
{
    QStringList sources;
    for (const char *name : {"a.avi", "b b.avi", "c$.avi", "d.avi"})
        sources << s.input("three_seconds.avi", QString::fromLatin1(name));
    const QStringList expected = windowCommandLines(sources);
    s.gateEncoder("evc");

    const CliResult result = s.run(QStringList{"--type", "mp3", "--quality", "excellent", "--start", "00:00:01", "--jobs",
                                               "2", "--json", "--output", s.outputFolder} + sources);
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(s.logLines("parameter: "), [&] {
        QStringList lines;
        for (const QString &line : expected)
            lines << "parameter: " + line;
        return lines;
    }());
    EXPECT_EQ(mostAtOnce(), 2);
    QStringList starts = s.encoderEvents().filter(QRegularExpression("^start "));
    starts.sort();
    EXPECT_EQ(starts, (QStringList{"start " + s.outputFolder + "a.mp3", "start " + s.outputFolder + "b b.mp3",
                                   "start " + s.outputFolder + "c$.mp3", "start " + s.outputFolder + "d.mp3"}));

    for (const QString &name : QStringList{"a", "b b", "c$", "d"}) {
        const ProbedAudio audio = ProbeAudio(s.outputFolder + name + ".mp3");
        EXPECT_EQ(audio.codec, "mp3") << name.toStdString();
        EXPECT_EQ(audio.sampleRate, 44100);
        EXPECT_EQ(audio.channels, 2);
        EXPECT_NEAR(audio.seconds, 2.0, 0.15) << name.toStdString();
    }

    // One JSON object per file, then the summary.
    const QStringList objects = result.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(objects.size(), 5) << result.out.toStdString();
    QStringList files;
    for (int i = 0; i < 4; ++i) {
        const QJsonObject item = QJsonDocument::fromJson(objects.at(i).toUtf8()).object();
        EXPECT_EQ(item.value("status").toString(), "converted");
        EXPECT_TRUE(QFile::exists(item.value("output").toString()));
        files << item.value("file").toString();
    }
    files.sort();
    EXPECT_EQ(files, sources);
    const QJsonObject summary = QJsonDocument::fromJson(objects.at(4).toUtf8()).object().value("summary").toObject();
    EXPECT_EQ(summary.value("converted").toInt(), 4);
    EXPECT_EQ(summary.value("failed").toInt(), 0);
}

// Two sources of the same base name (in any letter case) converting at once, beside a file of
// the user's that already holds the name: three names, nothing overwritten.
TEST_F(ParallelConvertTest, SameBaseNamesAtOnceGetNamesOfTheirOwn)
{
    QDir().mkpath(s.outputFolder);
    QFile mine(s.outputFolder + "clip.txt");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("the user's own");
    mine.close();
    s.gateEncoder("evc");

    const CliResult result = s.run({"--type", "wav", "--jobs", "2", "--output", s.outputFolder,
                                    s.input("three_seconds.avi", "one/clip.avi"), s.input("three_seconds.avi", "two/CLIP.avi")});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(mostAtOnce(), 2);
    EXPECT_EQ(s.outputFiles(), (QStringList{"CLIP_2.wav", "clip.txt", "clip_1.wav"}));
    EXPECT_NEAR(ProbeAudio(s.outputFolder + "clip_1.wav").seconds, 3.0, 0.15);
    EXPECT_NEAR(ProbeAudio(s.outputFolder + "CLIP_2.wav").seconds, 3.0, 0.15);
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "the user's own");
}

// Two files whose names differ only in letter case are two files: each is cut against its own
// length (the three-second one ends at its end, the ten-minute one at the end asked), also
// while both convert at once.
TEST_F(ParallelConvertTest, NamesDifferingOnlyInLetterCaseConvertEachWithItsOwnCut)
{
    ASSERT_FALSE(CliMedia::path("ten_minutes.avi").isEmpty());
    const QString shorter = s.input("three_seconds.avi", "v/a.avi");
    const QString longer = s.input("ten_minutes.avi", "v/A.avi");
    const CliResult result = s.run({"--type", "wav", "--start", "00:00:01", "--end", "00:00:05", "--jobs", "2",
                                    "--json", "--output", s.outputFolder, shorter, longer});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    QMap<QString, double> seconds; // by source
    for (const QString &line : result.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QJsonObject item = QJsonDocument::fromJson(line.toUtf8()).object();
        if (item.contains("file"))
            seconds.insert(item.value("file").toString(), ProbeAudio(item.value("output").toString()).seconds);
    }
    ASSERT_EQ(seconds.keys(), (QStringList{longer, shorter})) << result.out.toStdString();
    EXPECT_NEAR(seconds.value(shorter), 2.0, 0.1);
    EXPECT_NEAR(seconds.value(longer), 4.0, 0.1);
}

// RealMedia goes through a script; two of them converting at once must each read their own
// (the gate holds the first revc until the second has been started). Were the script shared,
// the longer file, built first, would be read from the shorter one and come out short.
TEST_F(ParallelConvertTest, RealMediaFilesAtOnceReadScriptsOfTheirOwn)
{
    s.gateEncoder("revc");
    const CliResult result = s.run({"--type", "mp3", "--jobs", "2", "--output", s.outputFolder,
                                    s.input("four_seconds.rm", "long.rm"), s.input("two_seconds.rm", "short.rm")});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(mostAtOnce(), 2);
    EXPECT_NEAR(ProbeAudio(s.outputFolder + "short.mp3").seconds, 2.0, 0.15);
    EXPECT_NEAR(ProbeAudio(s.outputFolder + "long.mp3").seconds, 4.0, 0.15);
    const QStringList lines = s.logLines("parameter: ");
    ASSERT_EQ(lines.size(), 2);
    for (const QString &line : lines) {
        EXPECT_TRUE(line.startsWith("parameter: " + s.programFolder + "revc -y -i \"")) << line.toStdString();
        EXPECT_FALSE(line.contains(s.programFolder + "VideoFile.avs")) << line.toStdString();
    }
    EXPECT_NE(lines.at(0).section(u'"', 1, 1), lines.at(1).section(u'"', 1, 1));
    EXPECT_FALSE(QFile::exists(s.programFolder + "VideoFile.avs")) << "the window's own script is left alone";
}

// A temporary of ours a day old in the output folder is from a run that was killed: a new run
// removes it and says so in the log. A younger one may be another run's and stays, as does every
// name that is not ours.
TEST_F(ParallelConvertTest, AStartRemovesOnlyDayOldTemporariesOfOurs)
{
    QDir().mkpath(s.outputFolder);
    const QDateTime old = QDateTime::currentDateTime().addDays(-2);
    struct Entry {
        const char *name;
        QDateTime changed;
    };
    const Entry entries[] = {{".talk.aac.kelvane-4711-a8Zk3q.part", old},
                             {".talk.aac.kelvane-4712-b8Zk3q.part", QDateTime::currentDateTime()},
                             {".talk.aac.iTKJwH.part", old}};
    for (const Entry &entry : entries) {
        QFile file(s.outputFolder + entry.name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.setFileTime(entry.changed, QFileDevice::FileModificationTime));
    }
    const CliResult result = s.run({"--type", "wav", "--output", s.outputFolder, s.input("three_seconds.avi", "talk.avi")});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(s.outputFiles(), (QStringList{".talk.aac.iTKJwH.part", ".talk.aac.kelvane-4712-b8Zk3q.part", "talk.wav"}));
    EXPECT_EQ(s.logLines("Removed an unfinished file").size(), 1) << s.logLines("").join('\n').toStdString();
}
