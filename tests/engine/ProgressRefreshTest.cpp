// The progress window's model: refresh arithmetic, the status-line parse and the animation.
#include "engine/ProgressRefresh.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const QString Line = QStringLiteral("size=     123kB time=%1 bitrate= 128.0kbits/s\r");

struct Batch {
    TProgressRefresh model;
    TRefreshInputs inputs(int done, int checked, const QString &duration = QStringLiteral("90"))
    {
        return TRefreshInputs{done, checked, duration, QStringLiteral("/in/clip.avi")};
    }
};

} // namespace

TEST(ProgressRefresh, FirstChunkOfAnItemChangesNothingButTheStatusText)
{
    Batch run;
    run.model.FormShow(QStringLiteral("/in/clip.avi"), 5);
    run.model.HandleEncoderOutput(Line.arg(QStringLiteral("45.00")), run.inputs(2, 5));
    EXPECT_EQ(run.model.refreshCount(), 1);
    EXPECT_EQ(run.model.statState(), Line.arg(QStringLiteral("45.00")));
    EXPECT_EQ(run.model.lblCurFileName(), QStringLiteral("/in/clip.avi"));
    EXPECT_EQ(run.model.currentBar().maximum, 1);
    EXPECT_EQ(run.model.currentBar().position, 0);
    EXPECT_EQ(run.model.totalBar().maximum, 1);
    EXPECT_EQ(run.model.lblPersent(), QStringLiteral("Current: 1, Total: 5"));
}

TEST(ProgressRefresh, TotalTrailsTheCurrentBarByOneChunk)
{
    Batch run;
    run.model.FormShow(QStringLiteral("/in/clip.avi"), 5);
    run.model.HandleEncoderOutput(QStringLiteral("banner\n"), run.inputs(2, 5));
    run.model.HandleEncoderOutput(Line.arg(QStringLiteral("45.67")), run.inputs(2, 5));
    EXPECT_EQ(run.model.currentBar().maximum, 90);
    EXPECT_EQ(run.model.currentBar().position, 45);
    EXPECT_EQ(run.model.totalBar().maximum, 500);
    EXPECT_EQ(run.model.totalBar().position, 200);   // from the bar the banner left: 0 of 1
    EXPECT_EQ(run.model.lblPersent(), QStringLiteral("Current: 3 , Total: 5."));

    run.model.HandleEncoderOutput(Line.arg(QStringLiteral("90.00")), run.inputs(2, 5));
    EXPECT_EQ(run.model.totalBar().position, 249);   // 45 * 100 div 91 + 200
}

TEST(ProgressRefresh, AFullBarContributesLessThanAWholeItem)
{
    Batch run;
    for (const char *time : {"0.00", "500.00", "500.00"})
        run.model.HandleEncoderOutput(Line.arg(QLatin1String(time)), run.inputs(2, 5, QStringLiteral("500")));
    EXPECT_EQ(run.model.currentBar().position, 500);
    EXPECT_EQ(run.model.totalBar().position, 299);   // 500 * 100 div 501 = 99
}

TEST(ProgressRefresh, ReadsTheTimeOfTheNewestCompleteStatusLine)
{
    struct Case {
        const char *chunk;
        qint64 seconds;
    } cases[] = {
        {"size=     123kB time=12.34 bitrate= 128.0kbits/s\r", 12},
        {"frame=  250 q=2.0 size=  1234kB time=10.00 bitrate= 100.0kbits/s\n", 10},
        {"size= 1kB time=3.00 bitrate= 1.0kbits/s\rsize= 2kB time=7.50 bitrate= 1.0kbits/s\r", 7},
        {"size= 2kB time=7.50 bitrate= 1.0kbits/s\rsize= 3kB time=9", 7},           // trailing partial line
        {"130kB time=21.40 bitrate= 128.0kbits/s\r", 21},                          // began mid-line
        {"=  130kB bitrate= 128.0kbits/s\rsize= 9kB tim", -1},                     // no complete time
        {"kbits/s\r", -1},
        {"size= 0kB time=10000000000.00 bitrate= 0.0kbits/s\r", -1},               // no time yet
        {"size= 5kB time=00:01:05.20 bitrate= 1.0kbits/s\r", 65},
        {"size= 5kB time=N/A bitrate=N/A\r", -1},
        {"", -1},
        {"Input #0, avi, from 'clip.avi':\n  Duration: 00:00:10.00\n", -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LatestStatusSeconds(QString::fromUtf8(c.chunk)), c.seconds) << c.chunk;
}

TEST(ProgressRefresh, ChunksWithoutAUsableTimeLeaveTheBarWhereItWas)
{
    Batch run;
    run.model.HandleEncoderOutput(QStringLiteral("banner\n"), run.inputs(0, 1));
    run.model.HandleEncoderOutput(Line.arg(QStringLiteral("30.00")), run.inputs(0, 1));
    for (const QString &chunk : {QStringLiteral("=  130kB bitrate= 128.0kbits/s\rsize= 9kB time=88"),
                                 Line.arg(QStringLiteral("10000000000.00")), QString()}) {
        run.model.HandleEncoderOutput(chunk, run.inputs(0, 1));
        EXPECT_EQ(run.model.currentBar().position, 30) << chunk.toStdString();
    }
}

TEST(ProgressRefresh, UnreadableLengthKeepsTheBarSane)
{
    for (const QString &duration : {QStringLiteral("abc"), QStringLiteral("-5"), QString(),
                                    QStringLiteral("99999999999999")}) {
        Batch run;
        run.model.HandleEncoderOutput(QStringLiteral("banner\n"), run.inputs(0, 2, duration));
        run.model.HandleEncoderOutput(Line.arg(QStringLiteral("12.00")), run.inputs(0, 2, duration));
        run.model.HandleEncoderOutput(Line.arg(QStringLiteral("14.00")), run.inputs(0, 2, duration));
        EXPECT_EQ(run.model.currentBar().maximum, 0) << duration.toStdString();
        EXPECT_EQ(run.model.currentBar().position, 0);
        EXPECT_EQ(run.model.totalBar().position, 0);
    }
}

TEST(ProgressRefresh, StatusAnimationCyclesFiveMarksAndSwitchesAtThreeSeconds)
{
    Batch run;
    run.model.FormShow(QString(), 1);
    QStringList seen;
    for (int i = 0; i < 6; ++i) {
        run.model.tmrChangingTimer();
        seen << run.model.lblInfo();
    }
    const QString installing = QStringLiteral("Installing convert information  ");
    EXPECT_EQ(seen, QStringList({installing + u'|', installing + u'/', installing + u'-', installing + u'\\',
                                 installing + u'|', installing + u'|'}));
    EXPECT_EQ(run.model.animationStep(), 1);

    run.model.HandleEncoderOutput(QStringLiteral("banner\n"), run.inputs(0, 1));
    run.model.HandleEncoderOutput(Line.arg(QStringLiteral("3.00")), run.inputs(0, 1));
    run.model.tmrChangingTimer();
    EXPECT_EQ(run.model.lblInfo(), QStringLiteral("Converting  /"));
}

TEST(ProgressRefresh, FormShowAndStopResetTheBarsAndCounts)
{
    Batch run;
    run.model.HandleEncoderOutput(QStringLiteral("banner\n"), run.inputs(1, 4));
    run.model.HandleEncoderOutput(Line.arg(QStringLiteral("30.00")), run.inputs(1, 4));
    run.model.stopReset();
    EXPECT_EQ(run.model.currentBar().position, 0);
    EXPECT_EQ(run.model.totalBar().maximum, 0);
    EXPECT_EQ(run.model.totalBar().position, 0);
    EXPECT_EQ(run.model.lblPersent(), QStringLiteral("Current: 1, Total: ..."));

    run.model.tmrChangingTimer();
    run.model.FormShow(QStringLiteral("/in/b.avi"), 4);
    EXPECT_EQ(run.model.animationStep(), 0);
    EXPECT_EQ(run.model.lblCurFileName(), QStringLiteral("/in/b.avi"));
    EXPECT_EQ(run.model.lblPersent(), QStringLiteral("Current: 1, Total: 4"));
    EXPECT_EQ(run.model.currentBar().maximum, 1);
    EXPECT_EQ(run.model.totalBar().maximum, 1);
}

// An encoder that prints a single status line per item never refreshes the counts through the
// chunks (the first chunk of an item is skipped): the start and the end of each item move them.
TEST(ProgressRefresh, CountsAndTotalMoveWhenItemsStartAndEnd)
{
    Batch run;
    run.model.FormShow(QStringLiteral("/in/a.avi"), 3);
    struct Step {
        int done;
        bool starting;
        const char *counts;
        int total;
    };
    const Step steps[] = {
        {0, true, "Current: 1 , Total: 3.", 0},   {1, false, "Current: 1 , Total: 3.", 100},
        {1, true, "Current: 2 , Total: 3.", 100}, {2, false, "Current: 2 , Total: 3.", 200},
        {2, true, "Current: 3 , Total: 3.", 200}, {3, false, "Current: 3 , Total: 3.", 300},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.counts);
        if (step.starting) {
            run.model.itemStarted(step.done, 3, QStringLiteral("/in/clip %1.rm").arg(step.done));
            EXPECT_EQ(run.model.lblCurFileName(), QStringLiteral("/in/clip %1.rm").arg(step.done));
            run.model.HandleEncoderOutput(Line.arg(QStringLiteral("0.50")), run.inputs(step.done, 3));
        } else {
            run.model.itemEnded(step.done, 3);
        }
        EXPECT_EQ(run.model.lblPersent(), QString::fromLatin1(step.counts));
        EXPECT_EQ(run.model.totalBar().maximum, 300);
        EXPECT_EQ(run.model.totalBar().position, step.total);
    }
}

// Each chunk is one change for the window to show, and every item's first chunk is its banner:
// the model counts an item's chunks itself.
TEST(ProgressRefresh, OneChangePerChunkAndEveryItemBeginsWithItsBanner)
{
    Batch run;
    QSignalSpy changes(&run.model, &TProgressRefresh::changed);
    const QStringList chunks{QStringLiteral("banner\n"), Line.arg(QStringLiteral("30.00")),
                             Line.arg(QStringLiteral("40.00"))};
    for (const QString &chunk : chunks)
        run.model.HandleEncoderOutput(chunk, run.inputs(0, 2));
    EXPECT_EQ(changes.count(), 3);
    EXPECT_EQ(run.model.currentBar().position, 40);

    run.model.itemStarted(1, 2, QStringLiteral("/in/b.avi"));
    EXPECT_EQ(run.model.currentBar().position, 0);
    run.model.HandleEncoderOutput(Line.arg(QStringLiteral("12.00")), run.inputs(1, 2));
    EXPECT_EQ(run.model.refreshCount(), 1);
    EXPECT_EQ(run.model.currentBar().position, 0); // the second item's banner moves no bar
}

// Several files at once: the line names the files in progress in row order, the file bar holds
// them as one piece, the total adds each one's share (below 100 while it runs) to the files
// over, and the counts give the numbers of the files in progress.
TEST(ProgressRefresh, SeveralFilesAtOnceShowTheFilesInProgressAndAnExactTotal)
{
    TProgressRefresh model;
    struct Seen {
        QString line, counts;
        int bar, barMaximum, total;
    };
    const auto seen = [&] {
        return Seen{model.lblCurFileName(), model.lblPersent(), model.currentBar().position,
                    model.currentBar().maximum, model.totalBar().position};
    };
    const auto expect = [](const Seen &actual, const Seen &wanted, const char *step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(actual.line, wanted.line);
        EXPECT_EQ(actual.counts, wanted.counts);
        EXPECT_EQ(actual.bar, wanted.bar);
        EXPECT_EQ(actual.barMaximum, wanted.barMaximum);
        EXPECT_EQ(actual.total, wanted.total);
    };
    model.FormShow(QStringLiteral("/in/a.mp4"), 5);
    model.fileStarted(0, QStringLiteral("/in/a.mp4"), QStringLiteral("60"), 0, 5);
    expect(seen(), {"/in/a.mp4", "Current: 1 , Total: 5.", 0, 60, 0}, "one file started");
    model.fileStarted(2, QStringLiteral("/in/c.mp4"), QStringLiteral("30"), 0, 5);
    expect(seen(), {"2 files: a.mp4, c.mp4", "Current: 1-2 , Total: 5.", 0, 90, 0}, "two files started");
    model.fileOutput(2, QStringLiteral("banner\n"), 0, 5);
    model.fileOutput(2, Line.arg(QStringLiteral("15.00")), 0, 5);
    EXPECT_EQ(model.statState(), Line.arg(QStringLiteral("15.00")));
    expect(seen(), {"2 files: a.mp4, c.mp4", "Current: 1-2 , Total: 5.", 15, 90, 48}, "c at 15 of 30");
    model.fileOutput(0, Line.arg(QStringLiteral("30.00")), 0, 5);
    expect(seen(), {"2 files: a.mp4, c.mp4", "Current: 1-2 , Total: 5.", 45, 90, 97}, "a at 30 of 60");
    model.fileOutput(0, Line.arg(QStringLiteral("75.00")), 0, 5);   // past its length: held at 60
    expect(seen(), {"2 files: a.mp4, c.mp4", "Current: 1-2 , Total: 5.", 75, 90, 146}, "a at its end");

    model.fileEnded(2);
    model.showFilesInProgress(1, 5);
    expect(seen(), {"/in/a.mp4", "Current: 2 , Total: 5.", 60, 60, 198}, "c over");
    model.fileStarted(1, QStringLiteral("/in/b.mp4"), QStringLiteral("10"), 1, 5);
    expect(seen(), {"2 files: a.mp4, b.mp4", "Current: 2-3 , Total: 5.", 60, 70, 198}, "b started");
    EXPECT_EQ(model.filesInProgress(), (QStringList{"/in/a.mp4", "/in/b.mp4"}));

    model.fileEnded(0);
    model.fileEnded(1);
    model.showFilesInProgress(5, 5);
    expect(seen(), {"2 files: a.mp4, b.mp4", "Current: 5 , Total: 5.", 60, 70, 500}, "all over");
    EXPECT_TRUE(model.filesInProgress().isEmpty());
}
