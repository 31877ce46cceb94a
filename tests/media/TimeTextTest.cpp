#include "media/TimeText.h"

#include <gtest/gtest.h>

TEST(TimeText, SizeTextTruncatesToTwoDecimals)
{
    const QLocale dot = QLocale::c();
    const std::pair<qint64, const char *> cases[] = {
        {0, "0 B"},
        {-5, "0 B"},
        {1023, "1023 B"},
        {1024, "1 KB"},
        {1536, "1.5 KB"},
        {1048575, "1023.99 KB"}, // not rounded up to 1024 KB
        {1048576, "1 MB"},
        {5000000, "4.76 MB"},
        {1073741823, "1023.99 MB"},
        {1073741824, "1 GB"},
        {3000000000LL, "2.79 GB"},
        {1181116006LL, "1.09 GB"}, // just below 1.1 GB
        {1181116007LL, "1.1 GB"},
        {std::numeric_limits<qint64>::max(), "8589934591.99 GB"},
    };
    for (const auto &[bytes, text] : cases)
        EXPECT_EQ(SizeText(bytes, dot), QString::fromLatin1(text)) << bytes;
}

TEST(TimeText, SizeTextUsesTheLocalesDecimalSeparator)
{
    EXPECT_EQ(SizeText(1536, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("1,5 KB"));
}

TEST(TimeText, FormatTimeText)
{
    const std::pair<qint64, const char *> cases[] = {
        {0, "00:00:00"},     {59, "00:00:59"},       {61, "00:01:01"},  {3600, "01:00:00"},
        {3661, "01:01:01"},  {359999, "99:59:59"},   {360000, "100:00:00"}, {-5, "00:00:00"},
    };
    for (const auto &[seconds, text] : cases)
        EXPECT_EQ(FormatTimeText(seconds), QString::fromLatin1(text)) << seconds;
}

TEST(TimeText, TimeTextToSecondsReadsWhatFormatTimeTextWrites)
{
    for (const qint64 seconds : {0, 59, 61, 3661, 359999, 360000})
        EXPECT_EQ(TimeTextToSeconds(FormatTimeText(seconds)), seconds);
    EXPECT_EQ(TimeTextToSeconds(QStringLiteral("0:2:5")), 125); // padding is not required
}

TEST(TimeText, TimeTextToSecondsGivesZeroForMalformedTexts)
{
    for (const char *text : {"", "12:00", "1:2:3:4", "aa:bb:cc", "01:0x:00", "01:00:00.5", "999999:00:00"})
        EXPECT_EQ(TimeTextToSeconds(QString::fromLatin1(text)), 0) << text;
}

// The one reading of hh:mm:ss that the cut times and the source list share. The list takes any
// fault as 0 (above); a cut time that is no number fails its item instead.
TEST(TimeText, ReadTimeTextSaysWhyATextCannotBeRead)
{
    using enum TimeTextFault;
    const struct {
        const char *text;
        qint64 seconds;
        TimeTextFault fault;
    } cases[] = {
        {"01:02:03", 3723, None},
        {"100:00:00", 360000, None},
        {" 1: 2 :3", 3723, None},   // blanks around a piece
        {"1:2:3:", 3723, None},     // a trailing ":" ends the text, as SplitByChar cuts it
        {"-1:00:00", -3600, None},
        {"", 0, NotThreePieces},
        {"12:00", 0, NotThreePieces},
        {"1:2:3:4", 0, NotThreePieces},
        {"01:0x:00", 0, NotANumber},
        {"1::3", 0, NotANumber},
        {"01:00:00.5", 0, NotANumber},
        {"99999999999999999:00:00", 0, TooLarge}, // more seconds than 64 bits hold
    };
    for (const auto &c : cases) {
        TimeTextFault fault = None;
        EXPECT_EQ(ReadTimeText(QString::fromLatin1(c.text), &fault), c.seconds) << c.text;
        EXPECT_EQ(fault, c.fault) << c.text;
    }
}
