// The timeline's layout from the markers' times, and the times of the places a marker is moved to.
#include "media/SegmentMarkers.h"

#include <gtest/gtest.h>

using namespace SegmentMarkers;

TEST(TimelineLayout, PlacesTheMarkersAtTheirTimes)
{
    struct Case {
        const char *what;
        qint64 lengthMs, startMs, endMs;
        int a, b;
    };
    constexpr qint64 twoHours = 7'200'000;
    const Case cases[] = {
        {"a quarter to three quarters", 100'000, 25'000, 75'000, 56, 56},
        {"27.5 and 137.5 pixels round to the even 28 and 138", 8'000, 1'000, 5'000, 29, 83},
        {"82.5 pixels round to the even 82", 8'000, 3'000, 8'000, 83, 1},
        {"two hours: 16 s is under half a pixel", twoHours, 16'000, twoHours, 1, 1},
        {"two hours: 17 s is over it", twoHours, 17'000, 7'183'000, 2, 2},
        {"two hours: a millisecond past half a pixel", twoHours, 16'364, twoHours - 16'364, 2, 2},
        {"two hours: the middle", twoHours, 3'600'000, 3'600'000, 111, 111},
        {"a second's file: half of it", 1'000, 500, 1'000, 111, 1},
        {"no file: both markers at the left end", 0, 0, 0, 1, 221},
        {"a start before the file", 100'000, -5'000, 100'000, 1, 1},
        {"a start past the file", 100'000, 150'000, 100'000, 221, 1},
        {"an end before the start: no span", 100'000, 75'000, 25'000, 166, 56},
        {"an end past the file", 100'000, 0, 250'000, 1, 1},
    };
    for (const Case &c : cases) {
        const TimelineLayout layout = LayOutTimeline({c.lengthMs, c.startMs, c.endMs});
        EXPECT_EQ(layout.leftFiller, c.a) << c.what;
        EXPECT_EQ(layout.rightFiller, c.b) << c.what;
        EXPECT_GE(layout.spanWidth, 0) << c.what;
    }
}

// Left to right the parts fill the strip without a gap or an overlap.
TEST(TimelineLayout, ThePartsFillTheStripInOrder)
{
    const std::pair<MarkerTimes, TimelineLayout> cases[] = {
        {{220'000, 100'000, 103'000}, {101, 118, 101, 120, 3, 123, 142}}, // a span of 3 pixels
        {{220'000, 0, 220'000}, {1, 1, 1, 20, 220, 240, 259}},
        {{100'000, 50'000, 50'000}, {111, 111, 111, 130, 0, 130, 149}}, // the markers touch
    };
    for (const auto &[markers, expected] : cases) {
        const TimelineLayout layout = LayOutTimeline(markers);
        EXPECT_EQ(layout, expected) << markers.startMs << " to " << markers.endMs;
        EXPECT_EQ(layout.leftFiller + MarkerWidth + layout.spanWidth + MarkerWidth + layout.rightFiller, TimelineWidth);
    }
}

// Times in whole seconds of a whole-second file are placed exactly as a row's times are.
TEST(TimelineLayout, WholeSecondsGiveTheFillersOfTheRowsTimes)
{
    for (qint64 duration = 1; duration <= 400; ++duration) {
        for (qint64 seconds = 0; seconds <= duration; ++seconds) {
            const TimelineLayout atStart = LayOutTimeline({duration * 1000, seconds * 1000, duration * 1000});
            ASSERT_EQ(atStart.leftFiller, StartFillerWidth(seconds, duration)) << seconds << " s of " << duration;
            const TimelineLayout atEnd = LayOutTimeline({duration * 1000, 0, seconds * 1000});
            ASSERT_EQ(atEnd.rightFiller, EndFillerWidth(seconds, duration)) << seconds << " s of " << duration;
        }
    }
}

// Whatever places a drag or a click gives the markers, their times lay out to those places
// again, on any length of file and without one.
TEST(TimelineLayout, TheTimesOfFillerWidthsLayOutToThoseWidths)
{
    for (qint64 lengthMs : {qint64(0), qint64(1'000), qint64(8'000), qint64(100'000), qint64(7'200'000),
                            qint64(1'000) * 3600 * 1000}) {
        for (int a = MinimumFillerWidth; a <= FillersAndSpan - MinimumFillerWidth; ++a) {
            for (int b = MinimumFillerWidth; a + b <= FillersAndSpan; ++b) {
                const MarkerTimes markers = MarkersAtFillers(lengthMs, a, b);
                ASSERT_EQ(markers.lengthMs, lengthMs);
                const TimelineLayout layout = LayOutTimeline(markers);
                ASSERT_EQ(layout.leftFiller, a) << lengthMs << " ms, a = " << a << ", b = " << b;
                ASSERT_EQ(layout.rightFiller, b) << lengthMs << " ms, a = " << a << ", b = " << b;
            }
        }
    }
}

TEST(TimelineLayout, FillerWidthsOutsideTheStripAreKeptWithinIt)
{
    struct Case {
        int a, b;
        int keptA, keptB;
    };
    const Case cases[] = {{-5, -5, 1, 1}, {0, 300, 1, 221}, {300, 5, 221, 1}, {150, 150, 150, 72}};
    for (const Case &c : cases) {
        const TimelineLayout layout = LayOutTimeline(MarkersAtFillers(100'000, c.a, c.b));
        EXPECT_EQ(layout.leftFiller, c.keptA) << c.a << ", " << c.b;
        EXPECT_EQ(layout.rightFiller, c.keptB) << c.a << ", " << c.b;
    }
    const TimelineLayout startUp = LayOutTimeline(StartUpMarkers());
    EXPECT_EQ(startUp.leftFiller, 1);
    EXPECT_EQ(startUp.rightFiller, 1);
}
