#include "batch/ReceiverSlip.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const QHash<QString, QString> kRow{
    {"ID", "7"},           {"全称", "岚砚商贸"},    {"联系人", "张三"},
    {"电话", "0755-1234"}, {"手机", "13800001111"}, {"市", "深圳市"},
    {"目的地", "深圳"},    {"费用", "12"},          {"内件说明", "书"},
    {"金额大写1", "120"}};

QString fieldValue(const ReceiverSlip &slip, const QString &field)
{
    for (const ReceiverSlip::Value &v : slip.values)
        if (v.field == field)
            return v.text;
    return QStringLiteral("<absent>");
}

} // namespace

TEST(ReceiverSlip, HiddenColumnsKeepTheFormsValueAndTheReceiverAlwaysGoesIn)
{
    const QSet<QString> shown{"费用", "目的站"};
    const ReceiverSlip slip = ReceiverSlip::of(
        kRow, [&](const QString &c) { return shown.contains(c); }, true);
    EXPECT_EQ(fieldValue(slip, "zdSKR"), QStringLiteral("岚砚商贸"));
    EXPECT_EQ(fieldValue(slip, "edtSJRTown"), QString()); // a receiver value, even when empty
    EXPECT_EQ(fieldValue(slip, "edtMoney"), QStringLiteral("12"));
    EXPECT_EQ(fieldValue(slip, "cbDestSite"), QStringLiteral("深圳")); // titled 目的地
    EXPECT_EQ(fieldValue(slip, "zdWPNR"), QStringLiteral("<absent>"));
    EXPECT_FALSE(slip.capitalAmount);
    EXPECT_FALSE(slip.noReceiver);
    // The city goes in before the destination, whose own column has the last word.
    const auto index = [&](const char *field) {
        return std::find_if(slip.values.begin(), slip.values.end(),
                            [&](const auto &v) { return v.field == field; }) -
               slip.values.begin();
    };
    EXPECT_LT(index("zdSKRXS"), index("cbDestSite"));

    const ReceiverSlip none = ReceiverSlip::of(
        kRow, [](const QString &) { return false; }, true);
    EXPECT_EQ(fieldValue(none, "edtMoney"), QStringLiteral("<absent>"));
}

TEST(ReceiverSlip, TelephoneTakesTheMobileOnlyWhenTheMobileBoxIsHidden)
{
    struct Case
    {
        QString phone, handset;
        bool handsetShown;
        QString expected;
    };
    const QList<Case> cases{
        {"0755-1234", "13800001111", true, "0755-1234"},
        {"0755-1234", "13800001111", false, "0755-1234/13800001111"},
        {"", "13800001111", false, "13800001111"},
        {"0755-1234", "", false, "0755-1234"},
    };
    for (const Case &c : cases) {
        QHash<QString, QString> row = kRow;
        row["电话"] = c.phone;
        row["手机"] = c.handset;
        const ReceiverSlip slip = ReceiverSlip::of(
            row, [](const QString &) { return false; }, c.handsetShown);
        EXPECT_EQ(fieldValue(slip, "zdskrDH"), c.expected) << c.expected.toStdString();
        EXPECT_EQ(fieldValue(slip, "skrHandset"), c.handset);
    }
}

TEST(ReceiverSlip, CapitalAmountOnlyForWholeNumbers)
{
    const QList<std::pair<QString, QString>> cases{{" 120 ", "120"}, {"120.5", ""}, {"-3", ""},
                                                   {"+3", ""},       {"１２", ""},  {"", ""},
                                                   {"1e3", ""}};
    for (const auto &[typed, pushed] : cases) {
        QHash<QString, QString> row = kRow;
        row["金额大写1"] = typed;
        const ReceiverSlip slip = ReceiverSlip::of(
            row, [](const QString &c) { return c == u"金额大写1"; }, true);
        ASSERT_TRUE(slip.capitalAmount) << typed.toStdString();
        EXPECT_EQ(*slip.capitalAmount, pushed) << typed.toStdString();
    }
}

TEST(ReceiverSlip, RowWithoutNameContactOrAddressHasNoReceiver)
{
    QHash<QString, QString> row{{"ID", "3"}, {"全称", " "}, {"电话", "0755-1"}, {"费用", "5"}};
    EXPECT_TRUE(ReceiverSlip::of(
                    row, [](const QString &) { return true; }, true)
                    .noReceiver);
    row["地址"] = "科苑路";
    EXPECT_FALSE(ReceiverSlip::of(
                     row, [](const QString &) { return true; }, true)
                     .noReceiver);
}
