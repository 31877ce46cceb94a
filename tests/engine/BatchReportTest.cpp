// What a batch run says about its items: rows with nothing to convert, the encoder's notice of
// a sound that ended early, and the run's summary line.
#include "engine/BatchReport.h"

#include <gtest/gtest.h>

namespace {

SourceRow row(bool checked, const QString &path, const QString &start, const QString &end)
{
    return {checked ? "True" : "False", path, "1 KB", "00:01:00", start, end, "00:00:00"};
}

} // namespace

TEST(BatchReport, ACheckedRowWhoseEndIsNotAfterItsStartHasNothingToConvert)
{
    const QList<SourceRow> rows{
        row(true, "/v/a.mp4", "00:00:20", "00:00:20"),  // end at start
        row(true, "/v/b.mp4", "00:00:10", "00:00:30"),  // a cut
        row(false, "/v/c.mp4", "00:00:20", "00:00:20"), // unchecked: not converted anyway
        row(true, "/v/d.mp4", "00:00:40", "00:00:05"),  // end before start
        row(true, "/v/e.mp4", "00:00:00", "00:0x:01"),  // unreadable: fails with its own reason
    };
    const QList<TEmptyCut> cuts = RowsWithNothingToConvert(rows);
    const QList<TEmptyCut> expected{{0, "/v/a.mp4", "00:00:20", "00:00:20"}, {3, "/v/d.mp4", "00:00:40", "00:00:05"}};
    EXPECT_EQ(cuts, expected);
    const QString message = NothingToConvertMessage(cuts);
    EXPECT_TRUE(message.contains("/v/a.mp4\nnothing to convert between 00:00:20 and 00:00:20")) << message.toStdString();
    EXPECT_TRUE(message.contains("/v/d.mp4\nnothing to convert between 00:00:40 and 00:00:05"));
}

TEST(BatchReport, TheEncodersNoticeOfAnEarlyEndIsRead)
{
    struct Case {
        const char *line;
        std::optional<TShortfall> shortfall;
    };
    const Case cases[] = {
        {"Notice: the sound ends at 14.49 s, before the end asked (30 s)", TShortfall{14.49, 30}},
        {"notice: the sound ends at 0.5 s, before the end asked (2.75 s)\r", TShortfall{0.5, 2.75}},
        {"Notice: AMR-NB is written at 8000 Hz mono, 12.2 kbit/s", std::nullopt},
        {"size=     123kB time=12.34 bitrate= 128.0kbits/s", std::nullopt},
        {"the sound ends at 14.49 s, before the end asked (30 s)", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseShortfallNotice(QString::fromLatin1(c.line)), c.shortfall) << c.line;
    EXPECT_EQ(ShortfallText({14.49, 30}), "converted, shorter than listed (14.5 s of 30 s)");
    EXPECT_EQ(ShortfallText({2.04, 2.75}), "converted, shorter than listed (2 s of 2.8 s)");
}

TEST(BatchReport, TheSummarySaysWhatWasConvertedStoppedAndNotStarted)
{
    struct Case {
        TRunCounts counts;
        const char *text;
    };
    const Case cases[] = {
        {{9, 1, 0, 0, false, {}}, "9 files converted, 1 failed."},
        {{1, 0, 0, 0, false, {}}, "1 file converted, 0 failed."},
        {{1, 0, 1, 2, true, {}}, "Stopped: 1 converted, 1 stopped, 2 not started."},
        {{0, 1, 0, 3, true, {}}, "Stopped: 0 converted, 1 failed, 0 stopped, 3 not started."},
        {{1, 0, 0, 0, false, {{"/v/talk.mp4", {14.49, 30}}}},
         "1 file converted, 0 failed. talk.mp4: converted, shorter than listed (14.5 s of 30 s)."},
        {{3, 0, 0, 0, false, {{"/v/a.mp4", {1, 2}}, {"/v/b.mp4", {1, 2}}}},
         "3 files converted, 0 failed. 2 of them converted, shorter than listed."},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RunSummaryText(c.counts), QString::fromLatin1(c.text));
}
