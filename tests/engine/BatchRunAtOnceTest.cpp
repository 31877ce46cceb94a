// The window's batch run with two files at once, on the real encoder: every checked row
// converted with exact counts and an exact total, a Stop that ends both encoders and leaves the
// output folder as it was, and two files whose names differ only in letter case, each cut its
// own way.
#include "BatchFixtures.h"
#include "common/EventuallyTrue.h"
#include "common/Ffmpeg.h"
#include "common/ProcessWatch.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int GuardMs = 120000; // only keeps a broken run from hanging the suite

class BatchRunAtOnceTest : public BatchRunFixture {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(builtEncoder().isEmpty()) << "the built encoder evc is missing from the program folder";
        for (const char *name : {"one_second.avi", "ten_minutes.wav"})
            ASSERT_FALSE(BatchMedia::path(QString::fromLatin1(name)).isEmpty()) << name << " could not be made";
    }
};

} // namespace

TEST_F(BatchRunAtOnceTest, TwoAtOnceConvertEveryCheckedRowWithExactCounts)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("one_second.avi", "b.avi", false);
    for (const char *name : {"c.avi", "d.avi", "e.avi"})
        s.addRow("one_second.avi", QString::fromLatin1(name));
    batch.setFilesAtOnce(2);
    QList<int> started;
    QObject::connect(&batch, &TBatchRun::itemStarting, [&](int row) { started << row; });
    qsizetype mostInProgress = 0;
    QList<int> totals;
    QStringList counts;
    QObject::connect(&progress, &TProgressRefresh::changed, [&] {
        mostInProgress = std::max(mostInProgress, progress.filesInProgress().size());
        totals << progress.totalBar().position;
        counts << progress.lblPersent();
    });

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(started, (QList<int>{0, 2, 3, 4}));
    EXPECT_EQ(mostInProgress, 2);
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.mp3", "c.mp3", "d.mp3", "e.mp3"}));
    EXPECT_EQ(s.logLines("parameter: ").size(), 4);
    EXPECT_EQ(batch.state().doneCount, 4);
    EXPECT_EQ(batch.state().checkedCount, 4);
    EXPECT_TRUE(batch.failures().isEmpty()) << batch.failures().value(0).reason.toStdString();
    EXPECT_EQ(batch.summary(), QStringLiteral("4 files converted, 0 failed."));
    EXPECT_TRUE(std::is_sorted(totals.cbegin(), totals.cend())) << "the total bar never goes back";
    EXPECT_EQ(progress.totalBar().position, 400);
    EXPECT_EQ(progress.totalBar().maximum, 400);
    EXPECT_EQ(progress.lblPersent(), QStringLiteral("Current: 4 , Total: 4."));
    const QRegularExpression shape(QStringLiteral("^Current: ([1-4]|[1-3]-[2-4]) , Total: 4\\.$"));
    for (const QString &text : counts)
        EXPECT_TRUE(shape.match(text).hasMatch()) << text.toStdString();
    EXPECT_TRUE(counts.contains(QStringLiteral("Current: 1-2 , Total: 4.")));
}

// Stop while two encoders write (through the unnamed file, and through the named temporary
// some filesystems need): both end, neither leaves a file, the third never starts.
TEST_F(BatchRunAtOnceTest, StopWithTwoAtOnceEndsBothEncodersAndLeavesTheFolderAsItWas)
{
    for (const char *name : {"one.wav", "two.wav", "three.wav"})
        s.addRow("ten_minutes.wav", QString::fromLatin1(name), true, "00:10:00");
    ASSERT_TRUE(QDir().mkpath(s.outputFolder));
    QFile mine(s.outputFolder + "mine.mp3");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.close();
    const QStringList before = FolderListing(s.outputFolder);
    batch.setFilesAtOnce(2);
    for (const bool named : {false, true}) {
        SCOPED_TRACE(named ? "named temporary" : "unnamed file");
        if (named)
            qputenv("KELVANE_NO_TMPFILE", "1");
        ASSERT_TRUE(batch.RunBatch(s.sources));
        ASSERT_EVENTUALLY(ProcessesWritingInto(s.outputFolder).size() == 2);
        const QList<pid_t> encoders = ProcessesWritingInto(s.outputFolder);
        if (named) {
            EXPECT_EQ(FolderListing(s.outputFolder).size(), before.size() + 2) << "the temporaries are seen";
        }
        batch.Stop();
        ASSERT_TRUE(finished.wait(GuardMs));
        qunsetenv("KELVANE_NO_TMPFILE");

        for (const pid_t pid : encoders)
            EXPECT_FALSE(ProcessRuns(pid)) << pid;
        EXPECT_EQ(FolderListing(s.outputFolder), before);
        EXPECT_EQ(batch.summary(), QStringLiteral("Stopped: 0 converted, 2 stopped, 1 not started."));
        EXPECT_TRUE(batch.failures().isEmpty());
    }
    EXPECT_EQ(s.logLines("Conversion stopped: ").size(), 4);
}

// Two files whose names differ only in letter case are two files, each with its own cut, one
// after another and at once.
TEST_F(BatchRunAtOnceTest, NamesDifferingOnlyInLetterCaseConvertEachWithItsOwnCut)
{
    const QString lower = s.addRow("ten_minutes.wav", "a.avi", true, "00:00:03", "00:00:01");
    const QString upper = s.addRow("ten_minutes.wav", "A.avi", true, "00:00:06", "00:00:02");
    ASSERT_NE(lower, upper);
    for (const int atOnce : {1, 2}) {
        SCOPED_TRACE(atOnce);
        QDir(s.outputFolder).removeRecursively();
        batch.setFilesAtOnce(atOnce);
        ASSERT_TRUE(runToEnd());
        EXPECT_TRUE(batch.failures().isEmpty()) << batch.failures().value(0).reason.toStdString();
        // Output names compare without regard to letter case, also while both encoders write.
        ASSERT_EQ(s.outputFiles(), (QStringList{"A_1.mp3", "a.mp3"}));
        EXPECT_NEAR(ProbeAudio(s.output("a")).seconds, 2.0, 0.1);
        EXPECT_NEAR(ProbeAudio(s.output("A_1")).seconds, 4.0, 0.1);
    }
}

// Files of one name from two folders, converting at once: the second is given a name of its
// own while the first one's encoder still writes its file unnamed; nothing is overwritten.
TEST_F(BatchRunAtOnceTest, SameNamesAtOnceGetNamesOfTheirOwn)
{
    for (const char *folder : {"one", "two"})
        ASSERT_TRUE(QDir().mkpath(s.inputFolder + QString::fromLatin1(folder)));
    s.addRow("ten_minutes.wav", "one/clip.avi", true, "00:00:02");
    s.addRow("ten_minutes.wav", "two/clip.avi", true, "00:00:04");
    batch.setFilesAtOnce(2);

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(batch.failures().isEmpty()) << batch.failures().value(0).reason.toStdString();
    ASSERT_EQ(s.outputFiles(), (QStringList{"clip.mp3", "clip_1.mp3"}));
    EXPECT_NEAR(ProbeAudio(s.output("clip")).seconds, 2.0, 0.1);
    EXPECT_NEAR(ProbeAudio(s.output("clip_1")).seconds, 4.0, 0.1);
}

// RealMedia reaches revc through a script. Two at once each read a script of their own: the
// stand-in revc waits until both have started, then writes the script it was given as its
// output. The program folder's script is left alone.
TEST_F(BatchRunAtOnceTest, RealMediaFilesAtOnceReadScriptsOfTheirOwn)
{
    const QString started = s.tmp.path() + "/started";
    s.useScriptEncoder(QStringLiteral("touch '%1'.$$\n"
                                      "while [ $(ls '%1'.* | wc -l) -lt 2 ]; do sleep 0.05; done\n"
                                      "for last; do :; done; cat \"$3\" > \"$last\"")
                           .arg(started),
                       QStringLiteral("revc"));
    const QString first = s.addRow("one_second.avi", "first.rm");
    const QString second = s.addRow("one_second.avi", "second.rm");
    batch.setFilesAtOnce(2);

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(batch.failures().isEmpty()) << batch.failures().value(0).reason.toStdString();
    const auto scriptOf = [&](const char *name) {
        QFile output(s.output(QString::fromLatin1(name)));
        return output.open(QIODevice::ReadOnly) ? QString::fromUtf8(output.readAll()) : QString();
    };
    EXPECT_TRUE(scriptOf("first").contains(first)) << scriptOf("first").toStdString();
    EXPECT_FALSE(scriptOf("first").contains(second));
    EXPECT_TRUE(scriptOf("second").contains(second)) << scriptOf("second").toStdString();
    EXPECT_FALSE(QFile::exists(s.programFolder + "VideoFile.avs"));
}
