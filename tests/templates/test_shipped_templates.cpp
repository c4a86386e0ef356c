#include "TestHome.h"
#include "base/IniFile.h"

#include <QImage>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// The print engine draws a text one font size to the right of its position.
int printedLeft(const TemplateItem &item)
{
    return item.ctlX + qRound(item.ctlFontSize * 254.0 / 72.0);
}

QStringList names(const std::vector<DictItem> &items)
{
    QStringList list;
    for (const DictItem &d : items)
        list << d.ctlName;
    return list;
}

} // namespace

TEST(ShippedTemplates, DictionariesHoldEveryFieldOfBothBillForms)
{
    TestHome home;
    Catalogue &c = home.services().catalogue();
    EXPECT_EQ(c.loadCheckTypeFirstNameList(), QStringList({"快递单", "承兑汇票"}));
    const QStringList express = names(c.loadDictItems("快递单"));
    for (const char *field :
         {"zdHKR",      "zdHKRLXR",   "zdHKRS",         "zdHKRXS",     "edtFJRTown", "zdHkrDZ",
          "zdhkrDH",    "hkrHandset", "edtCountryFrom", "zdHKRYB",     "cbFromSite", "zdSign",
          "zdSKR",      "zdSKRLXR",   "zdSKRS",         "zdSKRXS",     "edtSJRTown", "zdSkrDZ",
          "zdskrDH",    "skrHandset", "edtCountryDest", "zdSKRYB",     "cbDestSite", "SelDate",
          "zdNian",     "zdYue",      "zdRi",           "zdTime",      "zdWPNR",     "zdBz",
          "edtAmount",  "edtWeight",  "edtMoney",       "zdPJBH",      "zdUserCode", "zdJEDX1",
          "zdBJJE",     "zdBJFee",    "zdDaisJE",       "zdShouxuFee", "zdYunFee",   "zdBaoZFee",
          "zdJiaJiFee", "zdQiTaFee",  "zdTiJi",         "zdSongHFee",  "zdDef1",     "zdDef5",
          "zdJFKHBM",   "zdSFKHBM",   "zdTxt1",         "zdTxt2",      "defCheck0",  "defCheck12"})
        EXPECT_TRUE(express.contains(QString::fromLatin1(field).toUpper())) << field;
    const QStringList draft = names(c.loadDictItems("承兑汇票"));
    for (const char *field :
         {"zdOutComp", "zdOutBankAcct", "zdOutBank", "zdOutBankNO", "zdOutBankAddr", "zdInComp",
          "zdInBank",  "zdInBankAcct",  "zdPJBH",    "zdCDXYBH",    "zdTimeOutDate", "SelDate",
          "zdNian",    "zdYue",         "zdRi",      "zdJEXX",      "zdJEDX",        "zdYY",
          "zdQW",      "zdBW",          "zdSW",      "zdWY",        "zdQY",          "zdBY",
          "zdSY",      "zdY",           "zdJ",       "zdF",         "inputJEXX",     "zdRemark",
          "zdDef1",    "zdDef5",        "defCheck0", "defCheck5"})
        EXPECT_TRUE(draft.contains(QString::fromLatin1(field).toUpper())) << field;

    for (const QString &kind : {u"快递单"_qs, u"承兑汇票"_qs})
        for (const DictItem &d : c.loadDictItems(kind)) {
            EXPECT_EQ(d.ctlName, d.ctlName.toUpper());
            EXPECT_EQ(d.ctlType, d.ctlName.startsWith("DEFCHECK") ? "CHECKBOX" : "TEXT");
            EXPECT_FALSE(d.ctlLabel.isEmpty() || d.groups.isEmpty()) << d.ctlName.toStdString();
            EXPECT_EQ(d.printItem, d.ctlName != "SELDATE" && d.ctlName != "INPUTJEXX");
        }
}

TEST(ShippedTemplates, OneEnabledDefaultPerKindAndCommonOnesListed)
{
    TestHome home;
    Catalogue &c = home.services().catalogue();
    EXPECT_EQ(c.loadDefaultCheckTypeId("快递单"), 1);
    EXPECT_EQ(c.loadDefaultCheckTypeId("承兑汇票"), 3);
    EXPECT_TRUE(home.ui.shown.isEmpty());
    EXPECT_EQ(c.loadCommonTypeLastNameList("快递单"), QStringList({"飞燕速递", "远航快运"}));
    EXPECT_EQ(c.loadCommonTypeLastNameList("承兑汇票"), QStringList({"银行承兑汇票"}));
}

// What the clerk sees is what prints: every shown field lies on its picture, and its value
// prints inside the same box on the paper and inside the paper.
TEST(ShippedTemplates, EveryItemLiesInsideItsPaperAndItsPicture)
{
    TestHome home;
    Catalogue &c = home.services().catalogue();
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select CheckTypeID from ckTypeTable"));
    int templates = 0;
    while (q.next()) {
        ++templates;
        const Template t = *c.loadTemplate(q.value(0).toInt());
        SCOPED_TRACE(t.typeName.toStdString());
        EXPECT_TRUE(t.isEnabled());
        const QImage picture(home.services().home().imageDir() + t.pictureFile());
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(t.tWidth, t.tHeight));
        const double scale = double(t.tWidth) / t.pWidth;
        EXPECT_NEAR(double(t.tHeight) / t.pHeight, scale, 0.001);

        const std::vector<TemplateItem> items = c.loadTemplateItems(t.checkTypeId);
        EXPECT_EQ(items.size(), c.loadDictItems(t.typeFirstName).size());
        int shown = 0;
        for (const TemplateItem &i : items) {
            SCOPED_TRACE(i.ctlName.toStdString());
            shown += i.needShow;
            EXPECT_GE(i.srcX, 0);
            EXPECT_GE(i.srcY, 0);
            EXPECT_LE(i.srcX + i.srcW, t.tWidth);
            EXPECT_LE(i.srcY + i.srcH, t.tHeight);
            EXPECT_GE(printedLeft(i), i.srcX / scale);
            EXPECT_LT(printedLeft(i), (i.srcX + i.srcW) / scale);
            EXPECT_GE(i.ctlY, i.srcY / scale - 1);
            EXPECT_LT(i.ctlY, (i.srcY + i.srcH) / scale);
            EXPECT_LE(i.ctlY + i.ctlH, t.pHeight);
            EXPECT_GT(i.ctlFontSize, 0);
        }
        EXPECT_GT(shown, 25);
    }
    EXPECT_EQ(templates, 3);
}

TEST(ShippedTemplates, DigitCellsArePitchedAndAddressesBreak)
{
    TestHome home;
    Catalogue &c = home.services().catalogue();
    const TemplateItem qy = *c.loadTemplateItem(3, "zdQY");
    const TemplateItem by = *c.loadTemplateItem(3, "zdBY");
    EXPECT_EQ(qy.fitParam.toInt(), by.ctlX - qy.ctlX) << "one cell pitch apart";
    for (const char *address : {"ZDHKRDZ", "ZDSKRDZ"})
        for (int id : {1, 2})
            EXPECT_GT(c.loadTemplateItem(id, address)->breakNum.toInt(), 0) << address << id;

    // A fresh cache lays the default template out with the shipped geometry.
    std::unique_ptr<IniFile> cache = c.OpenCheckInif(1);
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->readInteger("viewv", "ZDSKR.v", 0), 1);
    EXPECT_EQ(cache->readString("viewdv", "EDTAMOUNT.dv"), "1");
}
