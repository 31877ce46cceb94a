#include "engine/CutTimes.h"
#include "media/SourceListModel.h"

#include <gtest/gtest.h>

// The length asked of the encoder: a row still ending at its whole duration takes the file to
// its measured end, so the fraction of a second the grid does not show is converted too.
TEST(CutTimes, AnUncutRowConvertsToTheExactEndOfItsFile)
{
    struct Case {
        const char *what;
        const char *start, *end;
        qint64 exactMilliseconds;
        const char *seconds;
    };
    const Case cases[] = {
        {"the whole file", "00:00:00", "00:02:05", 125400, "126"},
        {"from a start to the end", "00:00:10", "00:02:05", 125400, "116"},
        {"a length of whole seconds", "00:00:10", "00:02:05", 125000, "115"},
        {"cut before the end: the times as shown", "00:00:10", "00:02:00", 125400, "110"},
        {"a length that was never measured", "00:00:10", "00:02:05", 0, "115"},
        {"a start at the very end", "00:02:05", "00:02:05", 125000, "0"},
    };
    for (const Case &c : cases) {
        SourceListModel sources;
        SourceRow row{"True", "/v/a.avi", "1 MB", "00:02:05", c.start, c.end, "00:02:05"};
        row.exactMilliseconds = c.exactMilliseconds;
        sources.appendRow(row);
        EXPECT_EQ(LookupDuration(sources, "/v/a.avi"), c.seconds) << c.what;
    }
}
