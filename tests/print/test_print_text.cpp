#include "print/PrintText.h"

#include <gtest/gtest.h>

using namespace PrintText;

TEST(PrintText, SplitByWidthCountsGbkBytes)
{
    const struct
    {
        QString text;
        int n;
        QStringList lines;
    } cases[] = {
        {"", 3, {}},
        {"abcdef", 3, {"abcdef"}},
        {"abcdefgh", 3, {"abcdef", "gh"}},
        {QStringLiteral("一二三四五六七"),
         3,
         {QStringLiteral("一二三"), QStringLiteral("四五六"), QStringLiteral("七")}},
        // A line may take 2n + 1 bytes rather than end inside a Chinese character.
        {QStringLiteral("a一二三b"), 2, {QStringLiteral("a一二"), QStringLiteral("三b")}},
        {QStringLiteral("abcde一"), 3, {QStringLiteral("abcde一")}},
        // Twice these does not fit in an int.
        {"abcdef", 1073741824, {"abcdef"}},
        {"abcdef", 2147483647, {"abcdef"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(splitByWidth(c.text, c.n), c.lines) << c.text.toStdString();
}

TEST(PrintText, SplitByDelimiterKeepsTheLastPiece)
{
    EXPECT_EQ(SplitByDelimiter("a##b", "##"), QStringList({"a", "b"}));
    EXPECT_EQ(SplitByDelimiter("a##", "##"), QStringList({"a", ""}));
    EXPECT_EQ(SplitByDelimiter("##a", "##"), QStringList({"", "a"}));
    EXPECT_EQ(SplitByDelimiter("abc", "##"), QStringList({"abc"}));
}

TEST(PrintText, DeviceCoordinateRoundsThreeTimesTiesToEven)
{
    const struct
    {
        int v;
        int dpi;
        int pixel;
    } cases[] = {
        {300, 600, 709},
        {1, 127, 0},
        {3, 127, 2},
        {5, 127, 2},
        {-1, 127, 0},
        {-3, 127, -2},
        // 28346.456 rounds to 283465 tenths first, a tie that goes to the even 28346.
        {3000, 2400, 28346},
        // Far beyond 32 bits in the intermediate product.
        {1000000, 2400, 9448819},
        {-1000000, 2400, -9448819},
    };
    for (const auto &c : cases)
        EXPECT_EQ(deviceCoordinate(c.v, c.dpi), c.pixel) << c.v << " at " << c.dpi;
}

TEST(PrintText, ColoursAndTrimming)
{
    EXPECT_EQ(itemColour("255"), QColor(255, 0, 0));
    EXPECT_EQ(itemColour("16711680"), QColor(0, 0, 255));
    EXPECT_EQ(itemColour("-2147483640"), QColor(Qt::black));
    EXPECT_EQ(itemColour("abc"), QColor(Qt::black));
    EXPECT_EQ(itemColour(""), QColor(Qt::black));

    EXPECT_EQ(trimValue(" \t a b \r\n"), QStringLiteral("a b"));
    EXPECT_EQ(trimValue(QStringLiteral("\u3000缩进")), QStringLiteral("\u3000缩进"));
}
