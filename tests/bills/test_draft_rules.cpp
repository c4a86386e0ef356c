#include "bills/AmountText.h"
#include "bills/DraftRules.h"

#include <gtest/gtest.h>

using namespace DraftRules;

TEST(DraftRules, AmountsAreReadAsTheDraftStoresThem)
{
    using S = AmountEntry::Status;
    const struct
    {
        const char *typed;
        S status;
        const char *amount;
    } cases[] = {
        {"1234.5", S::Valid, "1234.50"},
        {"１２３。４", S::Valid, "123.40"},
        {".5", S::Valid, "0.50"},
        {"7.", S::Valid, "7.00"},
        {"0.285", S::Valid, "0.29"},
        {"1,234元", S::Valid, "1234.00"},
        {"999999999.99", S::Valid, "999999999.99"},
        {"999999999.995", S::TooLarge, ""}, // rounds up to a billion
        {"1000000000", S::TooLarge, ""},
        {"12.3.4", S::NotNumber, ""},
        {".", S::NotNumber, ""},
        {"abc", S::Empty, ""},
        {"  ", S::Empty, ""},
    };
    for (const auto &c : cases) {
        const AmountEntry e = readAmount(QString::fromUtf8(c.typed));
        EXPECT_EQ(e.status, c.status) << c.typed;
        EXPECT_EQ(e.amount, QString::fromUtf8(c.amount)) << c.typed;
    }
}

TEST(DraftRules, DigitCellsWriteTheCodeLeftOfTheHighestDigit)
{
    auto cells = [](const char *amount, const char *code) {
        const DigitCells d = digitCells(QString::fromUtf8(amount), QString::fromUtf8(code));
        QString text;
        for (const QString &c : d.cells)
            text += c.isEmpty() ? QStringLiteral("_") : c;
        return text;
    };
    EXPECT_EQ(cells("1234.5", "￥"), QStringLiteral("____￥123450"));
    EXPECT_EQ(cells("0.08", "￥"), QStringLiteral("________￥08"));
    EXPECT_EQ(cells(".5", "￥"), QStringLiteral("________￥50"));
    EXPECT_EQ(cells("12.", ""), QStringLiteral("_______1200"));
    EXPECT_EQ(cells("999999999.99", "￥"), QStringLiteral("99999999999"));
    EXPECT_EQ(cells("", "￥"), QStringLiteral("___________"));

    // Digits beyond the nine integer cells are counted, never written over the left cells.
    const DigitCells over = digitCells(QStringLiteral("123456789012.00"), QStringLiteral("￥"));
    EXPECT_EQ(over.overflow, 3);
    EXPECT_EQ(over.cells.join(QString()), QStringLiteral("45678901200"));
}

TEST(DraftRules, IssueAndDueDates)
{
    const ExpressSlipRules::DateParts capital = issueDateParts(QDate(2009, 12, 5), true);
    EXPECT_EQ(capital.year + capital.month + capital.day, QStringLiteral("贰零零玖壹拾贰零伍"));
    const ExpressSlipRules::DateParts digits = issueDateParts(QDate(2009, 2, 5), false);
    EXPECT_EQ(digits.year + digits.month + digits.day, QStringLiteral("20090205"));

    using S = DueDate::Status;
    const QDate issued(2009, 12, 15);
    const QString june13 = QStringLiteral("贰零壹零年零陆月壹拾叁日");
    for (const char *typed : {"+180", " + 180 ", "2010/06/13", "2010-6-13", "2010.6.13"}) {
        const DueDate d = readDueDate(QString::fromLatin1(typed), issued);
        EXPECT_EQ(d.status, S::Converted) << typed;
        EXPECT_EQ(d.text, june13) << typed;
    }
    EXPECT_EQ(readDueDate(june13, issued).status, S::Unchanged);
    EXPECT_EQ(readDueDate(QString(), issued).status, S::Unchanged);
    for (const char *typed : {"2010-2-30", "+x", "13/06/2010", "明天"})
        EXPECT_EQ(readDueDate(QString::fromUtf8(typed), issued).status, S::Unreadable) << typed;
}
