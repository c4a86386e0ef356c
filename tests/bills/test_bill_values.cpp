#include "bills/BillValues.h"
#include "bills/DraftBill.h"
#include "bills/DraftFields.h"
#include "bills/ExpressSlipBill.h"

#include <gtest/gtest.h>

namespace {

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList cells(const BillValues &bill)
{
    QStringList out;
    for (const QString &cell : DraftFields::amountCells())
        out << bill.printed(cell);
    return out;
}

} // namespace

TEST(BillValues, DraftAmountGivesCapitalTextCellsAndCode)
{
    struct Case
    {
        const char *amount;
        const char *moneyName;
        const char *code;
        bool withRmb;
        bool noYuanSign;
        const char *capital;
        QStringList cells; // 亿 .. 分
    };
    const Case cases[]{
        // The code stands in the cell left of the highest digit.
        {"1234.50",
         "人民币",
         "￥",
         true,
         false,
         "人民币壹仟贰佰叁拾肆元伍角整",
         {"", "", "", "", "￥", "1", "2", "3", "4", "5", "0"}},
        {"0.05",
         "人民币",
         "￥",
         false,
         false,
         "伍分",
         {"", "", "", "", "", "", "", "", "￥", "0", "5"}},
        // "不打印限位符￥": no code in the cells.
        {"8.00",
         "人民币",
         "￥",
         true,
         true,
         "人民币捌元整",
         {"", "", "", "", "", "", "", "", "8", "0", "0"}},
        // A foreign currency's name comes before the amount.
        {"100.00",
         "美元",
         "US$",
         false,
         false,
         "美元壹佰元整",
         {"", "", "", "", "", "US$", "1", "0", "0", "0", "0"}},
    };
    for (const Case &c : cases) {
        BillValues draft(BillKind::AcceptanceDraft, 2);
        DraftOptions options;
        options.moneyName = u8(c.moneyName);
        options.moneyCode = u8(c.code);
        options.capitalWithRmb = c.withRmb;
        options.noYuanSign = c.noYuanSign;
        EXPECT_EQ(DraftBill::setAmount(draft, u8(c.amount), options), 0) << c.amount;
        EXPECT_EQ(draft.printed("ZDJEDX"), u8(c.capital)) << c.amount;
        EXPECT_EQ(draft.value("zdjexx"), u8(c.amount));
        EXPECT_EQ(cells(draft), c.cells) << c.amount;
        EXPECT_EQ(draft.moneyCode(), u8(c.code));
    }
}

TEST(BillValues, OptionsOnlyTakeFieldsOffThePaper)
{
    BillValues draft(BillKind::AcceptanceDraft, 2);
    draft.set("zdDef1", "模板隐藏的");
    draft.setHidden("zdDef1", true);
    DraftOptions options;
    DraftBill::setAmount(draft, "12.00", options);
    DraftBill::applyOptions(draft, options);
    EXPECT_TRUE(draft.isHidden("ZDDEF1")) << "no option shows what the template hides";
    EXPECT_EQ(draft.printed("zdDef1"), QString());
    EXPECT_EQ(draft.value("zdDef1"), u8("模板隐藏的"));
    EXPECT_EQ(draft.printed("zdJEXX"), u8("12.00"));

    options.noPrintCells = true;
    options.noPrintDrawer = true;
    DraftBill::applyOptions(draft, options);
    EXPECT_EQ(draft.printed("zdJEXX"), QString());
    EXPECT_EQ(draft.printed("zdY"), QString());
    EXPECT_EQ(draft.value("zdY"), u8("2")) << "a hidden field keeps its value";
    EXPECT_TRUE(draft.isHidden("zdOutComp"));
    EXPECT_FALSE(draft.isHidden("zdJEDX"));

    BillValues slip(BillKind::ExpressSlip, 1);
    ExpressSlipOptions slipOptions;
    slipOptions.receiverOnly = true;
    slipOptions.printDate = false;
    ExpressSlipBill::applyOptions(slip, slipOptions);
    for (const char *off : {"zdHKR", "zdHkrDZ", "zdSign", "zdNian", "zdTime"})
        EXPECT_TRUE(slip.isHidden(off)) << off;
    for (const char *on : {"zdSKR", "zdSkrDZ", "cbDestSite"})
        EXPECT_FALSE(slip.isHidden(on)) << on;
}

TEST(BillValues, SlipAmountFormatsAndTheCityAsDestination)
{
    struct Case
    {
        const char *typed;
        const char *format;
        const char *text;
        bool error;
    };
    const Case cases[]{
        {"1234.5", "打印小写金额", "1234.5", false},
        {"1234.5", "", "1234.5", false},
        {"1234.5", "00000.00  限万位到分", "零壹贰叁肆伍零", false},
        {"123456", "00000.00  限万位到分", "", true},
        {"12a", "00000.00  限万位到分", "", true},
        {"", "00000.00  限万位到分", "", false},
    };
    for (const Case &c : cases) {
        const ExpressSlipBill::AmountText got =
            ExpressSlipBill::formatAmount(u8(c.typed), u8(c.format));
        EXPECT_EQ(got.text, u8(c.text)) << c.typed << " " << c.format;
        EXPECT_EQ(!got.error.isEmpty(), c.error) << c.typed << " " << c.format;
    }

    BillValues slip(BillKind::ExpressSlip, 1);
    ExpressSlipOptions options;
    ExpressSlipBill::put(slip, "zdSKRXS", u8("杭州"), options);
    EXPECT_FALSE(slip.has("cbDestSite"));
    options.destinationIsCity = true;
    ExpressSlipBill::put(slip, "zdSKRXS", u8("杭州"), options);
    EXPECT_EQ(slip.value("cbDestSite"), u8("杭州"));
    ExpressSlipBill::put(slip, "zdSKRXS", QString(), options);
    EXPECT_EQ(slip.value("cbDestSite"), u8("杭州")) << "an empty city leaves the destination";
}
