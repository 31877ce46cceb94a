// What a batch run says about its items: rows with nothing to convert, the encoder's notice of
// a sound that ended early, and the run's summary line.
#include "engine/BatchReport.h"

#include <gtest/gtest.h>

namespace {

SourceItem item(quint64 id, bool checked, const QString &path, qint64 startSeconds, qint64 endSeconds)
{
    SourceItem item = WholeFileItem(path, 1024, 60'500);
    item.id = SourceItemId{id};
    item.checked = checked;
    item.startMs = startSeconds * 1000;
    item.endMs = endSeconds * 1000;
    return item;
}

} // namespace

TEST(BatchReport, ACheckedItemWhoseEndIsNotAfterItsStartHasNothingToConvert)
{
    SourceItem wholeFileFromItsLastSecond = item(6, true, "/v/f.mp4", 60, 0);
    wholeFileFromItsLastSecond.endMs = wholeFileFromItsLastSecond.durationMs; // the grid shows 00:01:00 both
    const QList<SourceItem> items{
        item(1, true, "/v/a.mp4", 20, 20),  // end at start
        item(2, true, "/v/b.mp4", 10, 30),  // a cut
        item(3, false, "/v/c.mp4", 20, 20), // unchecked: not converted anyway
        item(4, true, "/v/d.mp4", 40, 5),   // end before start
        item(5, true, "/v/e.mp4", 0, 60),   // the whole file
        wholeFileFromItsLastSecond,
    };
    const QList<TEmptyCut> cuts = ItemsWithNothingToConvert(items);
    const QList<TEmptyCut> expected{{SourceItemId{1}, "/v/a.mp4", "00:00:20", "00:00:20"},
                                    {SourceItemId{4}, "/v/d.mp4", "00:00:40", "00:00:05"},
                                    {SourceItemId{6}, "/v/f.mp4", "00:01:00", "00:01:00"}};
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
