// The test kit's waits report a condition that never comes true as a failure.
#include "common/EventuallyTrue.h"

#include <QTimer>
#include <gtest/gtest-spi.h>

namespace {
int counter = 0;   // the failure checks below can't see local variables
}

TEST(EventuallyTrue, PassesOnceTheEventLoopMakesTheConditionTrue)
{
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    EXPECT_EVENTUALLY(fired);
    int value = 0;
    QTimer::singleShot(0, [&] { value = 7; });
    EXPECT_EVENTUALLY_EQ(value, 7);
}

TEST(EventuallyTrue, AConditionThatNeverComesTrueFailsTheTest)
{
    static constexpr int EventuallyGuardMs = 20;
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(Eventually([] { return counter > 0; }, "counter > 0", 20)),
                            "still not true after waiting 20 ms: counter > 0");
    EXPECT_NONFATAL_FAILURE(EXPECT_EVENTUALLY(counter == 1), "counter == 1");
    EXPECT_FATAL_FAILURE(ASSERT_EVENTUALLY(counter == 1), "counter == 1");
    EXPECT_NONFATAL_FAILURE(EXPECT_EVENTUALLY_EQ(counter, 1), "still not equal");
}
