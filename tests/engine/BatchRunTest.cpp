// The batch run with the real encoder on small generated files: row order and counts, stop
// before the start, failed items, awkward paths, other programs' processes, the after-job step.
#include "BatchFixtures.h"
#include "common/EventuallyTrue.h"
#include "common/ProcessWatch.h"
#include "common/TestChild.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <csignal>

namespace {

constexpr int GuardMs = 120000;   // only keeps a broken run from hanging the suite

class BatchRunTest : public BatchRunFixture {
protected:
    QSignalSpy endProgram{&batch, &TBatchRun::endProgramRequested};

    void SetUp() override
    {
        ASSERT_FALSE(builtEncoder().isEmpty()) << "the built encoder evc is missing from the program folder";
        for (const char *name : {"one_second.avi", "ten_minutes.wav", "corrupt.avi"})
            ASSERT_FALSE(BatchMedia::path(QString::fromLatin1(name)).isEmpty()) << name << " could not be made";
    }
    void check(bool showOutputDirectory, bool shutdown)
    {
        batch.setShowOutputDirectory([showOutputDirectory] { return showOutputDirectory; });
        batch.setShutdown([shutdown] { return shutdown; });
    }
};

} // namespace

TEST_F(BatchRunTest, ConvertsTheCheckedRowsInRowOrder)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("one_second.avi", "b.avi", false);
    s.addRow("one_second.avi", "c.avi");
    QList<int> started;
    QObject::connect(&batch, &TBatchRun::itemStarting, [&](int row) { started << row; });

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(started, (QList<int>{0, 2}));
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.mp3", "c.mp3"}));
    EXPECT_GT(QFileInfo(s.output("a")).size(), 0);
    EXPECT_EQ(batch.state().doneCount, 2);
    EXPECT_EQ(batch.state().checkedCount, 2);
    const QStringList parameters = s.logLines("parameter: ");
    ASSERT_EQ(parameters.size(), 2);
    EXPECT_TRUE(parameters[0].startsWith("parameter: " + s.programFolder + "evc -y -i \"" + s.inputFolder + "a.avi\""));
    EXPECT_TRUE(parameters[1].endsWith("\"" + s.output("c") + "\""));
    EXPECT_TRUE(batch.failures().isEmpty());
    EXPECT_TRUE(s.boxes.shown.isEmpty());
    EXPECT_FALSE(batch.isRunning());
    EXPECT_EQ(batch.summary(), QStringLiteral("2 files converted, 0 failed."));
}

// Encoders that print a single status line per item: the first chunk of an item is skipped, so
// only the item's start and end move the counts and the total bar. A RealMedia item names its
// own file, not the script it is handed over in.
TEST_F(BatchRunTest, ShortItemsMoveTheCountsAndARealMediaItemShowsItsOwnFile)
{
    const QString body = QStringLiteral("echo 'size=       1kB time=00:00:00.50 bitrate= 16.0kbits/s'\n"
                                        "for last; do :; done; : > \"$last\"");
    s.useScriptEncoder(body);
    s.useScriptEncoder(body, QStringLiteral("revc"));
    const QString avi = s.addRow("one_second.avi", "a.avi");
    const QString rm = s.addRow("one_second.avi", "clip.rm");
    struct Seen {
        QString file;
        QString counts;
        int total;
    };
    QList<Seen> seen;
    QObject::connect(&batch, &TBatchRun::encoderOutput, [&] {
        seen << Seen{progress.lblCurFileName(), progress.lblPersent(), progress.totalBar().position};
    });

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(batch.failures().isEmpty()) << batch.failures().value(0).reason.toStdString();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].file, avi);
    EXPECT_EQ(seen[0].counts, QStringLiteral("Current: 1 , Total: 2."));
    EXPECT_EQ(seen[0].total, 0);
    EXPECT_EQ(seen[1].file, rm);
    EXPECT_EQ(seen[1].counts, QStringLiteral("Current: 2 , Total: 2."));
    EXPECT_EQ(seen[1].total, 100);
    EXPECT_EQ(progress.totalBar().position, 200);
    EXPECT_EQ(progress.totalBar().maximum, 200);
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.mp3", "clip.mp3"}));
}

// A stop that comes while the windows are brought up for an item keeps its encoder from
// starting; it is not a failure, and there is no after-job step.
TEST_F(BatchRunTest, StopBeforeTheEncoderStartsKeepsItFromStarting)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("one_second.avi", "b.avi");
    check(true, true);
    QObject::connect(&batch, &TBatchRun::itemStarting, [&] { batch.Stop(); });
    QSignalSpy chunks(&batch, &TBatchRun::encoderOutput);

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(s.outputFiles().isEmpty());
    EXPECT_TRUE(chunks.isEmpty());
    EXPECT_EQ(s.logLines("parameter: ").size(), 1);
    EXPECT_EQ(s.logLines("Conversion stopped: "), QStringList{"Conversion stopped: " + s.inputFolder + "a.avi"});
    EXPECT_TRUE(batch.failures().isEmpty());
    EXPECT_TRUE(s.shell.opened.isEmpty());
    EXPECT_FALSE(batch.powerOffCountdown().isRunning());
    EXPECT_FALSE(batch.state().stopRequested());
}

// A Stop outranks a close of the progress window, whichever of the two comes first: the run
// ends after the item without the after-job step.
TEST_F(BatchRunTest, AStopAndACloseTogetherLeaveOutTheAfterJobStep)
{
    s.addRow("ten_minutes.wav", "long.wav", true, "00:10:00");
    check(true, true);
    for (const bool closeFirst : {true, false}) {
        SCOPED_TRACE(closeFirst ? "close, then stop" : "stop, then close");
        const auto connection = QObject::connect(&batch, &TBatchRun::encoderOutput, [&] {
            if (closeFirst)
                batch.CloseStop();
            batch.Stop();
            if (!closeFirst)
                batch.CloseStop();
        });
        ASSERT_TRUE(runToEnd());
        QObject::disconnect(connection);
        EXPECT_TRUE(s.outputFiles().isEmpty());
        EXPECT_TRUE(s.shell.opened.isEmpty());
        EXPECT_FALSE(batch.powerOffCountdown().isRunning());
        EXPECT_EQ(batch.state().phase, TRunPhase::Idle);
    }
}

// A corrupt source and a file that went away after it was listed both fail in the encoder and
// are listed in the one message after the run; the rows around them convert. (A row cut to
// nothing is left out before the run: see RowsWithNothingToConvertAreNamedFirst...)
// The output folder opens after that message; the computer stays on.
TEST_F(BatchRunTest, FailedItemsAreReportedOnceWhileTheOthersConvert)
{
    s.addRow("one_second.avi", "a.avi");
    const QString corrupt = s.addRow("corrupt.avi", "broken.avi");
    const QString badTime = s.addRow("one_second.avi", "b.avi");
    ASSERT_TRUE(QFile::remove(badTime));
    s.addRow("one_second.avi", "c.avi");
    check(true, true);
    qsizetype messagesBeforeTheFolder = -1;
    s.shell.onOpen = [&](const QUrl &) { messagesBeforeTheFolder = s.boxes.shown.size(); };

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.mp3", "c.mp3"}));
    EXPECT_EQ(batch.state().doneCount, 4);
    EXPECT_EQ(s.logLines("parameter: ").size(), 4);
    ASSERT_EQ(batch.failures().size(), 2);
    EXPECT_EQ(batch.failures()[0].fileName, corrupt);
    EXPECT_TRUE(batch.failures()[0].reason.startsWith("Cannot read input")) << batch.failures()[0].reason.toStdString();
    EXPECT_TRUE(batch.failures()[0].reason.endsWith("(the encoder failed: exit code 1)"))
        << batch.failures()[0].reason.toStdString();
    EXPECT_EQ(batch.failures()[1].fileName, badTime);
    EXPECT_TRUE(batch.failures()[1].reason.contains("(the encoder failed: exit code 1)"))
        << batch.failures()[1].reason.toStdString();
    ASSERT_EQ(s.boxes.shown.size(), 1);
    EXPECT_EQ(s.boxes.shown[0].text, TBatchRun::FailureMessage(batch.failures()));
    EXPECT_TRUE(s.boxes.shown[0].text.contains(corrupt));
    EXPECT_TRUE(s.boxes.shown[0].text.contains(badTime));
    EXPECT_EQ(s.boxes.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(s.logLines("Conversion failed: " + corrupt).size(), 1);
    EXPECT_EQ(s.shell.opened, QList<QUrl>{QUrl::fromLocalFile(s.outputFolder)});
    EXPECT_EQ(messagesBeforeTheFolder, 1);
    EXPECT_FALSE(batch.powerOffCountdown().isRunning());
    EXPECT_EQ(s.power.powerOffCalls, 0);
    EXPECT_TRUE(endProgram.isEmpty());
    EXPECT_EQ(batch.summary(), QStringLiteral("2 files converted, 2 failed."));
}

// Each way an encoder can let an item down, with the reason that the message gives.
TEST_F(BatchRunTest, EveryKindOfEncoderFailureFailsTheItemWithItsReason)
{
    struct Case {
        const char *encoder;   // script body; nullptr: no encoder in the program folder
        QString reasonStart;
    };
    const QString output = s.output("a");
    const Case cases[] = {
        {"echo 'size= 1kB time=0.50 bitrate= 1.0kbits/s'; echo 'evc: the disk is full' >&2; exit 3",
         "the disk is full (the encoder failed: exit code 3)"},
        {"kill -KILL $$", "The encoder failed (ended by signal 9)."},
        {"exit 0", "the encoder ended without writing " + output},
        {nullptr, "The encoder \"" + s.programFolder + "evc\" is missing."},
    };
    const QString row = s.addRow("one_second.avi", "a.avi");
    check(true, true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.encoder ? c.encoder : "no encoder");
        if (c.encoder)
            s.useScriptEncoder(QString::fromLatin1(c.encoder));
        else
            QFile::remove(s.programFolder + "evc");
        s.boxes.shown.clear();

        ASSERT_TRUE(runToEnd());
        ASSERT_EQ(batch.failures().size(), 1);
        EXPECT_EQ(batch.failures()[0].fileName, row);
        EXPECT_TRUE(batch.failures()[0].reason.startsWith(c.reasonStart)) << batch.failures()[0].reason.toStdString();
        EXPECT_EQ(s.boxes.shown.size(), 1);
        EXPECT_TRUE(s.outputFiles().isEmpty());
        EXPECT_EQ(batch.summary(), QStringLiteral("0 files converted, 1 failed."));
    }
    // Nothing was converted: no folder to show.
    EXPECT_TRUE(s.shell.opened.isEmpty());
    EXPECT_FALSE(batch.powerOffCountdown().isRunning());
}

// Nothing passes through a shell: blanks, quotes, $ and backticks are plain characters.
TEST_F(BatchRunTest, PathsWithBlanksQuotesAndDollarsConvert)
{
    s.outputFolder = s.tmp.path() + "/Out $HOME 'x'/";
    s.custom.setOutputFolderText(s.outputFolder);
    const QString name = QStringLiteral("it's a \"clip\" $HOME `id` ;.avi");
    s.addRow("one_second.avi", name);

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(batch.failures().isEmpty()) << batch.failures().value(0).reason.toStdString();
    EXPECT_EQ(s.outputFiles(), QStringList{QStringLiteral("it's a \"clip\" $HOME `id` ;.mp3")});
}

// Another program's process named like the encoder is none of the run's business: the run
// neither waits for it nor ends it, not even when stopped.
TEST_F(BatchRunTest, AnUnrelatedEvcProcessIsNeitherWaitedForNorKilled)
{
    QTemporaryDir otherFolder;
    QProcess unrelated;
    unrelated.start(copyTestChild(otherFolder.path(), QStringLiteral("evc")), {QStringLiteral("block")});
    ASSERT_TRUE(unrelated.waitForStarted());
    QSignalSpy ready(&unrelated, &QProcess::readyReadStandardOutput);
    ASSERT_TRUE(ready.wait(GuardMs));

    s.addRow("one_second.avi", "a.avi");
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.outputFiles(), QStringList{"a.mp3"});

    s.sources.clear();
    s.addRow("ten_minutes.wav", "long.wav", true, "00:10:00");
    QObject::connect(&batch, &TBatchRun::encoderOutput, [&] { batch.Stop(); });
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.outputFiles(), QStringList{"a.mp3"});

    EXPECT_EQ(unrelated.state(), QProcess::Running);
    EXPECT_EQ(::kill(static_cast<pid_t>(unrelated.processId()), 0), 0);
    unrelated.kill();
    unrelated.waitForFinished();
}

// With "Shutdown computer when job is finished." the run ends in the power-off countdown; the
// computer goes off, and the program ends, only when the countdown is over.
TEST_F(BatchRunTest, TheAfterJobStepFollowsTheCheckBoxes)
{
    struct Case {
        bool showOutputDirectory;
        bool shutdown;
    };
    s.addRow("one_second.avi", "a.avi");
    TPowerOffCountdown &countdown = batch.powerOffCountdown();
    int powerOffCalls = 0;
    for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "show " << c.showOutputDirectory << ", shutdown " << c.shutdown);
        s.shell.opened.clear();
        endProgram.clear();
        check(c.showOutputDirectory, c.shutdown);

        ASSERT_TRUE(runToEnd());
        const QList<QUrl> expected = c.showOutputDirectory ? QList<QUrl>{QUrl::fromLocalFile(s.outputFolder)}
                                                           : QList<QUrl>{};
        EXPECT_EQ(s.shell.opened, expected);
        EXPECT_EQ(countdown.isRunning(), c.shutdown);
        EXPECT_EQ(s.power.powerOffCalls, powerOffCalls);
        EXPECT_TRUE(endProgram.isEmpty());
        if (c.shutdown) {
            for (int second = 0; second < TPowerOffCountdown::Seconds; ++second)
                countdown.tick();
            ++powerOffCalls;
        }
        EXPECT_EQ(s.power.powerOffCalls, powerOffCalls);
        EXPECT_EQ(endProgram.size(), c.shutdown ? 1 : 0);
    }
}

TEST_F(BatchRunTest, AnEmptyListOnlyShowsTheWarning)
{
    check(true, true);
    QSignalSpy started(&batch, &TBatchRun::itemStarting);

    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(s.boxes.shown.size(), 1);
    EXPECT_EQ(s.boxes.shown[0].text, QStringLiteral("Please add media files you want to convert into the list."));
    EXPECT_EQ(s.boxes.shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(s.shell.opened.isEmpty());
    EXPECT_FALSE(batch.powerOffCountdown().isRunning());
    EXPECT_FALSE(batch.isRunning());
    EXPECT_TRUE(batch.summary().isEmpty());
}

// Rows but none checked: one warning, as for an empty list, and nothing else.
TEST_F(BatchRunTest, AListWithoutACheckedRowSaysSo)
{
    s.addRow("one_second.avi", "a.avi", false);
    check(true, true);
    QSignalSpy started(&batch, &TBatchRun::itemStarting);

    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(s.boxes.shown.size(), 1);
    EXPECT_EQ(s.boxes.shown[0].text, QStringLiteral("Please check the media files you want to convert in the list."));
    EXPECT_EQ(s.boxes.shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(s.shell.opened.isEmpty());
    EXPECT_TRUE(batch.summary().isEmpty());
}

// A checked row whose end is not after its start is named before any encoder starts and left
// out; the others convert and count as usual.
TEST_F(BatchRunTest, RowsWithNothingToConvertAreNamedFirstAndTheRestConverts)
{
    s.addRow("one_second.avi", "a.avi");
    const QString empty = s.addRow("one_second.avi", "empty.avi", true, "00:00:00");
    s.addRow("one_second.avi", "c.avi");
    QList<qsizetype> boxesAtStart;
    QObject::connect(&batch, &TBatchRun::itemStarting, [&] { boxesAtStart << s.boxes.shown.size(); });

    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(s.boxes.shown.size(), 1);
    EXPECT_TRUE(s.boxes.shown[0].text.contains(empty + "\nnothing to convert between 00:00:00 and 00:00:00"))
        << s.boxes.shown[0].text.toStdString();
    EXPECT_EQ(boxesAtStart, (QList<qsizetype>{1, 1})) << "the message comes before the first encoder";
    EXPECT_EQ(s.outputFiles(), (QStringList{"a.mp3", "c.mp3"}));
    EXPECT_EQ(batch.state().checkedCount, 2);
    EXPECT_TRUE(batch.failures().isEmpty());
    EXPECT_EQ(batch.summary(), QStringLiteral("2 files converted, 0 failed."));
}

// After Stop the summary says what was converted, stopped and never started.
TEST_F(BatchRunTest, TheSummaryAfterAStopCountsTheStoppedAndTheNotStarted)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("ten_minutes.wav", "long.wav", true, "00:10:00");
    s.addRow("one_second.avi", "c.avi");
    s.addRow("one_second.avi", "d.avi");
    QObject::connect(&batch, &TBatchRun::encoderOutput, [&] {
        if (batch.currentFile().endsWith("long.wav"))
            batch.Stop();
    });

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.outputFiles(), QStringList{"a.mp3"});
    EXPECT_EQ(batch.summary(), QStringLiteral("Stopped: 1 converted, 1 stopped, 2 not started."));
}

// The encoder's notice that the sound ended before the end asked marks a converted item as
// shorter than listed, in the log and in the summary.
TEST_F(BatchRunTest, AnItemWhoseSoundEndsEarlyIsConvertedShorterThanListed)
{
    s.useScriptEncoder(QStringLiteral("printf 'size=       1kB time=14.49 bitrate= 16.0kbits/s\nNotice: the sound '\n"
                                      "sleep 0.2\n"
                                      "printf 'ends at 14.49 s, before the end asked (30 s)\n'\n"
                                      "for last; do :; done; : > \"$last\""));
    const QString path = s.addRow("one_second.avi", "a.avi", true, "00:00:30");

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(batch.failures().isEmpty());
    ASSERT_EQ(batch.shorterItems().size(), 1);
    EXPECT_EQ(batch.shorterItems()[0].fileName, path);
    EXPECT_EQ(s.logLines(path + ": "), QStringList{path + ": converted, shorter than listed (14.5 s of 30 s)"});
    EXPECT_EQ(batch.summary(),
              QStringLiteral("1 file converted, 0 failed. a.avi: converted, shorter than listed (14.5 s of 30 s)."));
}

// An error that ends the whole run (here: log.txt cannot be written) still ends it with
// runFinished (the windows come back), says why, and leaves out the after-job step.
TEST_F(BatchRunTest, ARunThatCannotWriteItsLogEndsAndSaysWhy)
{
    s.addRow("one_second.avi", "a.avi");
    check(true, true);
    ASSERT_TRUE(QDir().mkpath(s.programFolder + "log.txt"));

    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(s.boxes.shown.size(), 1);
    EXPECT_TRUE(s.boxes.shown[0].text.contains("log.txt")) << s.boxes.shown[0].text.toStdString();
    EXPECT_TRUE(s.outputFiles().isEmpty());
    EXPECT_TRUE(s.shell.opened.isEmpty());
    EXPECT_FALSE(batch.powerOffCountdown().isRunning());
    EXPECT_FALSE(batch.isRunning());
}

// A run begins by removing the temporaries of ours a day old in the output folder (a killed run's);
// an encoder writing through a named temporary that is killed has its temporary removed too.
// A younger temporary of ours and names not ours stay.
TEST_F(BatchRunTest, OldTemporariesOfOursAndAKilledEncodersTemporaryAreRemoved)
{
    QDir().mkpath(s.outputFolder);
    const QDateTime old = QDateTime::currentDateTime().addDays(-2);
    const QStringList kept{".long.mp3.kelvane-4712-b8Zk3q.part", ".long.mp3.iTKJwH.part"};
    for (const QString &name : QStringList{".long.mp3.kelvane-4711-a8Zk3q.part"} + kept) {
        QFile file(s.outputFolder + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.setFileTime(name.contains("4712") ? QDateTime::currentDateTime() : old,
                                     QFileDevice::FileModificationTime));
    }
    qputenv("KELVANE_NO_TMPFILE", "1");
    s.addRow("ten_minutes.wav", "long.wav", true, "00:10:00");
    ASSERT_TRUE(batch.RunBatch(s.sources));
    ASSERT_EVENTUALLY(ProcessesWritingInto(s.outputFolder).size() == 1);
    EXPECT_EQ(s.outputFiles().size(), kept.size() + 1) << s.outputFiles().join(' ').toStdString();
    ::kill(ProcessesWritingInto(s.outputFolder).first(), SIGKILL);
    ASSERT_TRUE(finished.wait(GuardMs));
    qunsetenv("KELVANE_NO_TMPFILE");

    QStringList sorted = kept;
    sorted.sort();
    EXPECT_EQ(s.outputFiles(), sorted);
    EXPECT_EQ(batch.failures().size(), 1);
    EXPECT_EQ(s.logLines("Removed an unfinished file").size(), 1);
}

// Items the window leaves out (missing, or converted already and skipped) are taken as
// unchecked; each converted item is told with the file it became, for its mark.
TEST_F(BatchRunTest, ItemsLeftOutAreNotConvertedAndEachConvertedOneIsToldWithItsOutput)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("one_second.avi", "b.avi");
    QList<QPair<SourceItemId, QString>> converted;
    QObject::connect(&batch, &TBatchRun::itemConverted,
                     [&](int, const SourceItem &item, const QString &output) { converted.append({item.id, output}); });
    ASSERT_TRUE(batch.RunBatch(s.sources, {s.sources.item(0).id.value}));
    ASSERT_TRUE(finished.wait(120000));
    EXPECT_EQ(s.outputFiles(), QStringList{"b.mp3"});
    ASSERT_EQ(converted.size(), 1);
    EXPECT_EQ(converted.at(0).first, s.sources.item(1).id);
    EXPECT_EQ(converted.at(0).second, s.output("b"));
    EXPECT_EQ(batch.state().checkedCount, 1);
}
