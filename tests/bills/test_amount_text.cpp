#include "bills/AmountText.h"

#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

struct Case
{
    const char *input;
    const char *expected;
};

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST(AmountText, CapitalAmountWorkedExamples)
{
    const Case cases[] = {
        {"1234.56", "壹仟贰佰叁拾肆元伍角陆分"},
        {"100", "壹佰元整"},
        {"100.5", "壹佰元伍角整"},
        {"0.5", "伍角整"},
        {"0.05", "伍分"},
        {"3", "叁元整"},
        {"20.07", "贰拾元零柒分"},
        {"1010", "壹仟零壹拾元整"},
        {"10000.01", "壹万元零壹分"},
        {"100010", "壹拾万零壹拾元整"},
        {"1000000", "壹佰万元整"},
        {"1000000.1", "壹佰万元壹角整"},
        {"100000000", "壹亿元整"},
        {"0", "零元整"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(getCapitalAmount(c.input), u8(c.expected)) << c.input;
}

TEST(AmountText, CapitalAmountRoundsTheDecimalTextHalvesAwayFromZero)
{
    const Case cases[] = {
        {"0.285", "贰角玖分"},                          // a double holds 28.4999... fen
        {"1.005", "壹元零壹分"},                        // and 100.4999... here
        {"0.284", "贰角捌分"},   {"9.995", "壹拾元整"}, // the carry runs through every digit
        {"0.001", "零元整"},                            // rounds to nothing, not to a lone 整
        {"0.00", "零元整"},      {".5", "伍角整"},      {"007", "柒元整"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(getCapitalAmount(c.input), u8(c.expected)) << c.input;
}

TEST(AmountText, CapitalAmountStopsAtTheEndOfItsUnitTable)
{
    EXPECT_EQ(getCapitalAmount("9999999999999.99"),
              u8("玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"));
    EXPECT_EQ(getCapitalAmount("1000000000000"), u8("壹万亿元整"));
    for (const char *beyond : {"10000000000000", "9999999999999.995", "123456789012345678"})
        EXPECT_EQ(getCapitalAmount(beyond), kBeyondDigitLimit) << beyond;
}

TEST(AmountText, AmountsThatAreNotNonNegativeNumbersGiveEmptyText)
{
    for (const char *bad : {"", " ", "-12", "1.2.3", "12a", "1e5", "."}) {
        EXPECT_TRUE(getCapitalAmount(bad).isEmpty()) << bad;
        EXPECT_TRUE(getCapitalDigitCells(bad, 5, "0.00").isEmpty()) << bad;
    }
    // Only the digit cells read past thousands separators.
    EXPECT_TRUE(getCapitalAmount("1,234").isEmpty());
}

TEST(AmountText, DigitCellsExamples)
{
    struct CellCase
    {
        const char *amount;
        int cells;
        const char *pattern;
        const char *expected;
    };
    const CellCase cases[] = {
        {"1234.5", 5, "0.00", "零壹贰叁肆伍零"},
        {"0.5", 5, "0.00", "零零零零零伍零"},
        {"88", 3, "0", "零捌捌"},
        {"7.25", 4, "0.0", "零零零柒叁"},
        {"123456", 5, "0.00", "超出位数限制"},
        {"0", 5, "0.00", "零"},
        // Exactly as many digits as cells: neither padded nor refused.
        {"12345", 5, "0.00", "壹贰叁肆伍零零"},
        {"1,234.5", 4, ".00", "壹贰叁肆伍零"},
        {"0.000", 3, "0", "零"},
        // Rounded on the decimal text, halves away from zero.
        {"0.15", 3, "0.0", "零零零贰"},
        {"0.285", 3, "0.00", "零零零贰玖"},
        {"0.5", 3, "0", "零零壹"},
        {"2.4", 1, "0", "贰"},
        {"999.96", 3, "0.0", "超出位数限制"}, // rounding adds the fourth digit
        {"7.256", 2, "#.###", "零柒贰陆"},    // any other pattern keeps two decimals
        {"5", 0, "0", "超出位数限制"},
    };
    for (const CellCase &c : cases)
        EXPECT_EQ(getCapitalDigitCells(c.amount, c.cells, c.pattern), u8(c.expected))
            << c.amount << " " << c.cells << " " << c.pattern;
}

TEST(AmountText, FormatEntriesParseIntoCellsAndPattern)
{
    using Mode = AmountFormat::Mode;
    const QList<AmountFormat> expected{
        {Mode::DigitCells, 5, "0.00"}, {Mode::DigitCells, 5, "0.0"}, {Mode::DigitCells, 5, "0"},
        {Mode::DigitCells, 4, "0.00"}, {Mode::DigitCells, 4, "0.0"}, {Mode::DigitCells, 4, "0"},
        {Mode::DigitCells, 3, "0.00"}, {Mode::DigitCells, 3, "0.0"}, {Mode::DigitCells, 3, "0"},
        {Mode::DigitCells, 6, "0.00"}, {Mode::DigitCells, 6, "0.0"}, {Mode::DigitCells, 6, "0"},
        {Mode::AsTyped, 0, {}},        {Mode::Capital, 0, {}},
    };
    const QStringList &entries = amountFormatEntries();
    ASSERT_EQ(entries.size(), expected.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::optional<AmountFormat> format = parseAmountFormat(entries.at(i));
        ASSERT_TRUE(format) << entries.at(i).toStdString();
        EXPECT_EQ(*format, expected.at(i)) << entries.at(i).toStdString();
    }
    EXPECT_EQ(parseAmountFormat("  000.0"), (AmountFormat{Mode::DigitCells, 3, "0.0"}));
    for (const char *bad : {"", "打印小写金额 ", "限万位到分", ".00 限到分", "00x00 限", "0.0.0"})
        EXPECT_FALSE(parseAmountFormat(u8(bad))) << bad;
}

TEST(AmountText, NormalisationKeepsHalfWidthDigitsAndPoints)
{
    const Case cases[] = {
        {"１，２３４。５０元", "1234.50"},
        {"-12", "12"},
        {"  ¥1,234.5  ", "1234.5"},
        {"１２．３", "12.3"},
        {"人民币", ""},
        {"   ", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(normalizeAmountText(u8(c.input)), u8(c.expected)) << c.input;
}

TEST(AmountText, NumericAndIntegerChecks)
{
    struct CheckCase
    {
        const char *text;
        bool numeric;
        bool integer;
    };
    const CheckCase cases[] = {
        {"12", true, true},     {"1.2", true, false},  {"1.2.3", true, false},
        {" 12", false, false},  {"12 ", false, false}, {"", false, false},
        {"  ", false, false},   {"-1", false, false},  {"1e3", false, false},
        {"１２", false, false}, {".", true, false},
    };
    for (const CheckCase &c : cases) {
        EXPECT_EQ(isNumericText(u8(c.text)), c.numeric) << '"' << c.text << '"';
        EXPECT_EQ(isIntegerText(u8(c.text)), c.integer) << '"' << c.text << '"';
    }
}
