#include "media/MediaGraph.h"

#include <gtest/gtest.h>

TEST(MediaTime, ReferenceTimeToMillisecondsAndWholeSeconds)
{
    struct Case {
        qint64 reference;
        qint32 milliseconds;
        qint32 seconds;
    };
    const Case cases[] = {
        {599'990'000, 59'999, 59},    // 59.999 s
        {9'000'000, 900, 0},          // 0.9 s: refused by the caller
        {10'000'000, 1'000, 1},
        {9'999, 0, 0},                // below a millisecond
        {-15'000'000, -1'500, -1},    // truncation toward zero
        {36'000'000'000, 3'600'000, 3'600},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reference);
        EXPECT_EQ(MediaTime::referenceToMilliseconds(c.reference), c.milliseconds);
        EXPECT_EQ(MediaTime::millisecondsToSeconds(c.milliseconds), c.seconds);
    }
}

TEST(MediaTime, SeekTargetInMillisecondsBecomesReferenceTime)
{
    EXPECT_EQ(MediaTime::millisecondsToReference(90000), 900'000'000);
    EXPECT_EQ(MediaTime::millisecondsToReference(4'000'000'000LL), 40'000'000'000'000LL); // beyond 32 bits
}
