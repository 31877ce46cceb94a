// Which of logind's locks keep the computer from powering off.
#include "platform/LogindPowerControl.h"

#include <gtest/gtest.h>

TEST(LogindPowerControl, OnlyBlockLocksOnShutdownHoldItBack)
{
    const QList<LogindInhibitor> locks = {
        {QStringLiteral("shutdown:sleep"), QStringLiteral("Backup"), QStringLiteral("copying files"),
         QStringLiteral("block")},
        {QStringLiteral("sleep:shutdown"), QStringLiteral("Updater"), QString(), QStringLiteral("block")},
        {QStringLiteral("shutdown"), QStringLiteral("NetworkManager"), QStringLiteral("taking down the network"),
         QStringLiteral("delay")},
        {QStringLiteral("sleep:idle"), QStringLiteral("Player"), QStringLiteral("playing"), QStringLiteral("block")},
        {QStringLiteral("handle-power-key"), QStringLiteral("shutdownd"), QString(), QStringLiteral("block")},
    };
    EXPECT_EQ(ShutdownBlockersAmong(locks),
              QStringList({QStringLiteral("Backup: copying files"), QStringLiteral("Updater")}));
    EXPECT_TRUE(ShutdownBlockersAmong({}).isEmpty());
}
