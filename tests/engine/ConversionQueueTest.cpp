// The conversion queue with one and with two slots: the order jobs start and end in, the counts,
// a failure among successes, and a stop in the middle of a run. The encoders are small scripts:
// one writes its output, one fails with a message, one waits for a gate file before it writes.
#include "engine/ConversionQueue.h"

#include "common/EventuallyTrue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

enum class Kind { Writes, Fails, WaitsForGate };

struct Driver {
    QTemporaryDir dir;
    QString gate = dir.filePath("gate");
    std::unique_ptr<ConversionQueue> queue;
    QList<Kind> kinds;
    int next = 0;
    bool startMore = true;
    QStringList events;            // "start 0", "end 0 converted", ...
    int mostAtOnce = 0;
    QList<EncoderJobEnd> ends;
    QStringList logged;

    Driver(int slots, QList<Kind> jobs) : kinds(std::move(jobs))
    {
        script("writes", "echo working; echo done > \"$1\"");
        script("fails", "echo 'fails: broken input'; exit 1");
        script("waits", "echo waiting; while [ ! -e \"$2\" ]; do sleep 0.05; done; echo done > \"$1\"");
        queue = std::make_unique<ConversionQueue>(slots, [this](const QString &line) { logged << line; });
        QObject::connect(queue.get(), &ConversionQueue::jobStarting, [this](int key) {
            events << QStringLiteral("start %1").arg(key);
            mostAtOnce = std::max(mostAtOnce, queue->runningCount());
        });
        QObject::connect(queue.get(), &ConversionQueue::jobFinished, [this](const EncoderJobEnd &end) {
            static const char *const words[] = {"converted", "failed", "stopped"};
            events << QStringLiteral("end %1 %2").arg(end.key).arg(QLatin1String(words[int(end.reason)]));
            ends << end;
            fill();
        });
    }
    void script(const QString &name, const QString &body) const
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body.toUtf8() + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // What the callers do: start the next job while a slot is free.
    void fill()
    {
        static const char *const programs[] = {"writes", "fails", "waits"};
        while (startMore && next < kinds.size() && queue->hasFreeSlot()) {
            const int key = next++;
            const QString output = dir.filePath(QStringLiteral("out%1.mp3").arg(key));
            EncoderJob job{key, QStringLiteral("/v/%1.avi").arg(key), {}};
            job.command.program = dir.filePath(QLatin1String(programs[int(kinds.at(key))]));
            job.command.arguments = {output, gate};
            job.command.outputPath = output;
            queue->start(job);
        }
    }
    bool over() const { return queue->isIdle() && (!startMore || next == kinds.size()); }
    int count(EncoderJobEndReason reason) const
    {
        return static_cast<int>(std::count_if(ends.cbegin(), ends.cend(), [&](const auto &e) { return e.reason == reason; }));
    }
};

} // namespace

TEST(ConversionQueue, OneSlotRunsTheJobsOneAfterAnotherAndAFailureDoesNotStopTheOthers)
{
    Driver d(1, {Kind::Writes, Kind::Fails, Kind::Writes});
    d.fill();
    ASSERT_EVENTUALLY(d.over());
    EXPECT_EQ(d.events, (QStringList{"start 0", "end 0 converted", "start 1", "end 1 failed", "start 2",
                                     "end 2 converted"}));
    EXPECT_EQ(d.mostAtOnce, 1);
    EXPECT_TRUE(d.ends[1].failure.contains("broken input (the encoder failed: exit code 1)"))
        << d.ends[1].failure.toStdString();
    EXPECT_EQ(d.ends[2].outputPath, d.dir.filePath("out2.mp3"));
    EXPECT_TRUE(QFile::exists(d.ends[2].outputPath));
    EXPECT_EQ(EncoderJobLogLines(d.ends[1]),
              QStringList{"Conversion failed: /v/1.avi (" + d.ends[1].failure + ")"});
    EXPECT_TRUE(EncoderJobLogLines(d.ends[0]).isEmpty());
}

TEST(ConversionQueue, TwoSlotsRunTwoJobsAtOnceInStartOrderAndCountEachEndOnce)
{
    Driver d(2, {Kind::WaitsForGate, Kind::WaitsForGate, Kind::Fails, Kind::Writes, Kind::Writes});
    d.fill();
    EXPECT_EQ(d.events, (QStringList{"start 0", "start 1"}));
    EXPECT_FALSE(d.queue->hasFreeSlot());
    ASSERT_TRUE(QFile(d.gate).open(QIODevice::WriteOnly));
    ASSERT_EVENTUALLY(d.over());
    EXPECT_EQ(d.mostAtOnce, 2);
    EXPECT_EQ(d.count(EncoderJobEndReason::Converted), 4);
    EXPECT_EQ(d.count(EncoderJobEndReason::Failed), 1);
    QStringList starts = d.events.filter("start");
    EXPECT_EQ(starts, (QStringList{"start 0", "start 1", "start 2", "start 3", "start 4"}));
    QList<int> keys;
    for (const EncoderJobEnd &end : d.ends)
        keys << end.key;
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (QList<int>{0, 1, 2, 3, 4}));
}

// Stop ends every running encoder; they end as stopped, and no job starts after it.
TEST(ConversionQueue, AStopInTheMiddleEndsEveryRunningEncoder)
{
    for (const int slots : {1, 2}) {
        SCOPED_TRACE(slots);
        Driver d(slots, {Kind::Writes, Kind::WaitsForGate, Kind::WaitsForGate, Kind::Writes});
        QObject::connect(d.queue.get(), &ConversionQueue::jobOutput, [&](int key, const QString &) {
            const bool bothGatedRun = slots == 1 ? key == 1 : d.queue->runningCount() == 2 && key >= 1;
            if (d.startMore && bothGatedRun && d.next == 1 + slots) {
                d.startMore = false;
                d.queue->stop();
            }
        });
        d.fill();
        ASSERT_EVENTUALLY(d.over());
        EXPECT_EQ(d.count(EncoderJobEndReason::Converted), 1) << d.events.join(", ").toStdString();
        EXPECT_EQ(d.count(EncoderJobEndReason::Stopped), slots);
        EXPECT_EQ(d.events.filter("start").size(), 1 + slots) << "nothing starts after the stop";
        for (const EncoderJobEnd &end : d.ends) {
            EXPECT_EQ(end.stopAsked, end.reason == EncoderJobEndReason::Stopped);
            if (end.reason == EncoderJobEndReason::Stopped) {
                EXPECT_EQ(EncoderJobLogLines(end), QStringList{"Conversion stopped: " + end.source});
            }
        }
    }
}
