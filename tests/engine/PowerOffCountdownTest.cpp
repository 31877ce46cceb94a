// The wait before powering off: it runs out, is cut short or cancelled, and programs that block
// shutdown keep the computer on. Always against a fake power control.
#include "common/Fakes.h"
#include "engine/PowerOffCountdown.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct Countdown {
    FakePowerControl power;
    QStringList logged;
    QStringList warnings;
    TPowerOffCountdown countdown{power, [this](const QString &line) { logged << line; },
                                 [this](const QString &text) { warnings << text; }};
    QSignalSpy poweringOff{&countdown, &TPowerOffCountdown::poweringOff};
    QSignalSpy finished{&countdown, &TPowerOffCountdown::finished};
};

} // namespace

TEST(PowerOffCountdown, PowersOffOnlyWhenSixtySecondsHavePassed)
{
    Countdown c;
    QSignalSpy started(&c.countdown, &TPowerOffCountdown::started);
    c.countdown.start();
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(c.countdown.text(), QStringLiteral("The computer will power off in 60 seconds."));
    for (int second = 1; second < 60; ++second)
        c.countdown.tick();
    EXPECT_EQ(c.countdown.text(), QStringLiteral("The computer will power off in 1 second."));
    EXPECT_EQ(c.power.powerOffCalls, 0);
    EXPECT_TRUE(c.countdown.isRunning());

    c.countdown.tick();
    EXPECT_EQ(c.power.powerOffCalls, 1);
    EXPECT_EQ(c.poweringOff.count(), 1);
    EXPECT_EQ(c.finished.count(), 1);
    EXPECT_FALSE(c.countdown.isRunning());
    c.countdown.tick(); // a late tick changes nothing
    EXPECT_EQ(c.power.powerOffCalls, 1);
    EXPECT_TRUE(c.warnings.isEmpty());
}

TEST(PowerOffCountdown, PowerOffNowAndCancelEndTheWait)
{
    Countdown now;
    now.countdown.start();
    now.countdown.tick();
    now.countdown.powerOffNow();
    EXPECT_EQ(now.power.powerOffCalls, 1);
    EXPECT_EQ(now.poweringOff.count(), 1);

    Countdown cancelled;
    cancelled.countdown.start();
    cancelled.countdown.cancel();
    for (int second = 0; second < 70; ++second)
        cancelled.countdown.tick();
    cancelled.countdown.powerOffNow(); // a cancelled countdown powers nothing off
    EXPECT_EQ(cancelled.power.powerOffCalls, 0);
    EXPECT_EQ(cancelled.poweringOff.count(), 0);
    EXPECT_EQ(cancelled.finished.count(), 1);
    EXPECT_EQ(cancelled.logged, QStringList{QStringLiteral("Power off cancelled by the user.")});
}

// A program that blocks shutdown, or a system that refuses, keeps the computer on: the user is
// told why and the log says so too; the program does not end.
TEST(PowerOffCountdown, BlockersAndRefusalsKeepTheComputerOn)
{
    Countdown blocked;
    blocked.power.blockers = {QStringLiteral("Backup: copying files"), QStringLiteral("Disc burner")};
    blocked.countdown.start();
    blocked.countdown.powerOffNow();
    EXPECT_EQ(blocked.power.powerOffCalls, 0);
    EXPECT_EQ(blocked.poweringOff.count(), 0);
    EXPECT_EQ(blocked.logged,
              QStringList{QStringLiteral("Power off held back by: Backup: copying files; Disc burner")});
    ASSERT_EQ(blocked.warnings.size(), 1);
    EXPECT_EQ(blocked.warnings[0], PowerOffHeldBackMessage(blocked.power.blockers));
    EXPECT_TRUE(blocked.warnings[0].contains(QStringLiteral("Backup: copying files\nDisc burner")));

    Countdown refused;
    refused.power.result = false;
    refused.countdown.start();
    for (int second = 0; second < 60; ++second)
        refused.countdown.tick();
    EXPECT_EQ(refused.power.powerOffCalls, 1);
    EXPECT_EQ(refused.poweringOff.count(), 0);
    EXPECT_EQ(refused.logged, QStringList{QStringLiteral("Power off failed.")});
    EXPECT_EQ(refused.warnings, QStringList{QStringLiteral("The computer could not be powered off.")});
}
