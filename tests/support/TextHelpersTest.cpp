#include "support/StrFunc.h"

#include <gtest/gtest.h>

TEST(SplitByChar, KeepsInnerEmptyPiecesAndDropsATrailingOne)
{
    const struct {
        QString text;
        QChar separator;
        QStringList pieces;
    } cases[] = {
        {"a||b", u'|', {"a", "", "b"}},
        {"|a", u'|', {"", "a"}},
        {"a|", u'|', {"a"}},
        {"|", u'|', {""}},
        {"", u'|', {}},
        {"00:01:30", u':', {"00", "01", "30"}},
        {" a : b ", u':', {" a ", " b "}},
        {"size=12 time=3", u'=', {"size", "12 time", "3"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitByChar(c.text, c.separator), c.pieces) << c.text.toStdString();
}

TEST(SplitByDelimiter, SkipsEveryEmptyPieceAndReplacesTheList)
{
    QStringList list = {"stale"};
    EXPECT_EQ(SplitByDelimiter("2.1.0.15", ".", list), QStringList({"2", "1", "0", "15"}));
    EXPECT_EQ(SplitByDelimiter(".1..0.", ".", list), QStringList({"1", "0"}));
    EXPECT_EQ(SplitByDelimiter("3", ".", list), QStringList({"3"}));
    EXPECT_TRUE(SplitByDelimiter("", ".", list).isEmpty());
    EXPECT_TRUE(list.isEmpty());
}

TEST(TextAfterLast, GivesTheTailOrTheWholeText)
{
    EXPECT_EQ(TStrFunc::TextAfterLast("clip.part1.avi", "."), "avi");
    EXPECT_EQ(TStrFunc::TextAfterLast("take_3", "_"), "3");
    EXPECT_EQ(TStrFunc::TextAfterLast("noseparator", "."), "noseparator");
    EXPECT_EQ(TStrFunc::TextAfterLast("ends.", "."), "");
}

TEST(NumericPart, ReadsTheNumberAmongOtherCharacters)
{
    const struct {
        QString text;
        double value;
    } cases[] = {
        {"12.5 kbits/s", 12.5}, {"1.2.3", 1.23}, {"-4-2", -42}, {"5-3", 53},     {"12:34:56", 123456},
        {"abc", 0},             {"-", 0},        {"+", 0},      {"", 0},         {"  42  ", 42},
        {"07.52", 7.52},        {"x-5", -5},     {"7", 7},      {"time=3.5", 3.5}, {"\t+8\r\n", 8},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(NumericPart(c.text), c.value) << c.text.toStdString();
}

TEST(NumericPart, TextWithoutDigitsIsATypedError)
{
    for (const QString &text : {QStringLiteral("+-"), QStringLiteral("."), QStringLiteral("-."), QStringLiteral("a.b")})
        EXPECT_THROW(NumericPart(text), NumericPartError) << text.toStdString();
}
