#include "PdfWords.h"
#include "PrintFixture.h"
#include "RefusingTrigger.h"
#include "print/PdfPrint.h"
#include "print/PreviewData.h"
#include "print/PreviewLayout.h"
#include "print/PrintOffset.h"

using namespace PreviewLayout;

TEST(PreviewLayout, CentimetreTextsInShortestDecimalForm)
{
    const struct
    {
        int value;
        const char *text;
    } cases[] = {{30, "=0.3厘米"},  {-25, "=0.25厘米"}, {1270, "=12.7厘米"},
                 {-5, "=0.05厘米"}, {300, "=3厘米"},    {0, "=0厘米"},
                 {2300, "=23厘米"}, {-3000, "=30厘米"}, {1205, "=12.05厘米"}};
    for (const auto &c : cases)
        EXPECT_EQ(centimetreText(c.value), QString::fromUtf8(c.text)) << c.value;
    EXPECT_EQ(shortestHundredths(-25), "-0.25");
    EXPECT_EQ(shortestHundredths(100), "1");
}

TEST(PreviewLayout, ScreenPixelsRoundToNearestWithTiesToEven)
{
    const struct
    {
        int tenths, ppi, pixels;
    } cases[] = {
        {254, 96, 96}, {100, 96, 38}, {40, 96, 15},  {-25, 96, -9}, {2, 96, 1},
        {127, 2, 1},   {381, 2, 3},   {-127, 2, -1}, {0, 96, 0},    {2400, 120, 1134},
    };
    for (const auto &c : cases)
        EXPECT_EQ(screenPixels(c.tenths, c.ppi), c.pixels) << c.tenths << " at " << c.ppi;
    const QList<int> ticks = rulerTicks(3, 96);
    EXPECT_EQ(ticks, (QList<int>{0, 38, 76, 113}));
}

class OffsetStore : public PrintFixture
{
protected:
    PrintOffset offset{home.db()};
};

TEST_F(OffsetStore, SaveWritesTheWholeRowAndLoadsItBackByName)
{
    const auto t = offset.loadByName(QStringLiteral(" 快递单（飞燕速递） "));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->checkTypeId, 1);
    OffsetSettings s = t->settings;
    s.xMove = 30;
    s.yMove = -25;
    s.pWidth = 2410;
    s.landscape = true;
    QString error;
    EXPECT_EQ(offset.save(1, s, &error), PrintOffset::SaveResult::Changed);
    EXPECT_EQ(offset.loadByName(QStringLiteral("快递单（飞燕速递）"))->settings, s);
    EXPECT_EQ(engine().getHXPaperIn(1), "1");

    EXPECT_EQ(offset.save(4242, s, &error), PrintOffset::SaveResult::Unchanged);
    EXPECT_FALSE(offset.loadByName(QStringLiteral("没有这张票据")));
}

TEST_F(OffsetStore, FailedSaveKeepsTheStoredOffsetAndSaysWhy)
{
    ASSERT_TRUE((RefusingTrigger{"no_update",
                                 "UPDATE",
                                 "ckTypeTable",
                                 {},
                                 RefusingTrigger::Drops::Statement,
                                 "disk is locked"}
                     .install(home.db())));
    OffsetSettings s = offset.loadByName(QStringLiteral("快递单（飞燕速递）"))->settings;
    s.xMove = 30;
    QString error;
    EXPECT_EQ(offset.save(1, s, &error), PrintOffset::SaveResult::Failed);
    EXPECT_TRUE(error.contains("disk is locked")) << error.toStdString();
    EXPECT_EQ(offset.loadByName(QStringLiteral("快递单（飞燕速递）"))->settings.xMove, 0);
}

TEST_F(OffsetStore, ListsEnabledNamedTemplatesOnly)
{
    exec("update ckTypeTable set Visiable = '停用隐藏' where CheckTypeID = 2", {});
    addTemplate(kTemplate, 0, 0);
    exec("update ckTypeTable set TypeName = '  ' where CheckTypeID = :id", {{"id", kTemplate}});
    exec("update ckTypeTable set Visiable = '启用' where CheckTypeID = :id", {{"id", kTemplate}});
    QStringList names;
    for (const auto &e : offset.enabledTemplates()) {
        names << e.typeName;
        EXPECT_NE(e.checkTypeId, 2);
    }
    EXPECT_TRUE(names.contains(QStringLiteral("快递单（飞燕速递）")));
    EXPECT_FALSE(names.contains(QStringLiteral("快递单（远航快运）")));
    EXPECT_FALSE(names.contains(QString()));
}

TEST_F(OffsetStore, PreviewReadsPrintableItemsWithTheirSamples)
{
    exec("delete from NameDict", {});
    addTemplate(kTemplate, 0, 0);
    exec("update ckTypeTable set TypeFirstName = '快递单' where CheckTypeID = :id",
         {{"id", kTemplate}});
    addDictItem("快递单", "ZDA", "TEXT", 1);
    addDictItem("快递单", "ZDB", "TEXT", 2);
    addDictItem("快递单", "ZDC", "TEXT", 3);
    exec("update NameDict set CtlData = ' 样本 ' where CtlName = 'ZDA'", {});
    exec("update NameDict set CtlLabel = '收件人' where CtlName = 'ZDB'", {});
    addItem(kTemplate, "zda", 100, 200, {{"NeedPrint", 1}, {"BreakNum", "4"}});
    addItem(kTemplate, "ZDB", 300, 400, {{"NeedPrint", 1}});
    addItem(kTemplate, "ZDC", 300, 400, {{"NeedPrint", 0}});
    QString error;
    const auto items = PreviewData::loadPreviewItems(home.db(), kTemplate, "快递单", &error);
    ASSERT_TRUE(items) << error.toStdString();
    ASSERT_EQ(items->size(), 2u);
    EXPECT_EQ((*items)[0].text, "样本");
    EXPECT_EQ((*items)[0].ctlName.toUpper(), "ZDA");
    EXPECT_EQ((*items)[1].text, "收件人");
}

// The calibration loop a clerk runs: print, measure, shift the whole slip, print again.
TEST_F(OffsetStore, ChangedOffsetMovesEveryPrintedValueOnThePdf)
{
    BillValues bill;
    bill.set("ZDHKR", QStringLiteral("岚砚商贸有限公司"));
    bill.set("ZDHKRLXR", QStringLiteral("张三"));
    bill.set("ZDSKR", QStringLiteral("李四"));
    const auto print = [&](const QString &file) {
        const QString pdf = home.path() + file;
        EXPECT_TRUE(printBillsToPdf(home.db(), home.ui, home.settings(), BillKind::ExpressSlip, 1,
                                    {bill}, pdf));
        const auto pages = readPdfWords(pdf);
        return pages.empty() ? std::vector<PdfWord>{} : pages[0].words;
    };
    const auto before = print("before.pdf");
    ASSERT_GE(before.size(), 2u) << "pdftotext read no words";

    OffsetSettings s = offset.loadByName(QStringLiteral("快递单（飞燕速递）"))->settings;
    s.xMove += 30;
    s.yMove -= 25;
    QString error;
    ASSERT_EQ(offset.save(1, s, &error), PrintOffset::SaveResult::Changed);
    const auto after = print("after.pdf");

    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].text, before[i].text);
        EXPECT_NEAR(after[i].x - before[i].x, 3.0, 0.05) << before[i].text.toStdString();
        EXPECT_NEAR(after[i].y - before[i].y, -2.5, 0.05) << before[i].text.toStdString();
    }
}
