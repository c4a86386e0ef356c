#include "TemplateRows.h"
#include "base/IniFile.h"
#include "templates/CheckDesignStore.h"

namespace {

const QString kKind = QStringLiteral("快递单");
constexpr int kId = 7;

} // namespace

class CheckDesignStoreTest : public TemplateRows
{
protected:
    void SetUp() override
    {
        TemplateRows::SetUp();
        addTemplate(kId, kKind, "甲");
        addDictItem(kKind, "ZDA", 1);
        addDictItem(kKind, "ZDNEW", 2);
        addItem(kId, "ZDA", 30, 40, 120, 22, 1);
    }

    QVariantMap row(const QString &name)
    {
        QSqlQuery q = home.db().query();
        q.exec(u"select * from CKControl where CtlName = '" + name + u"'");
        QVariantMap values;
        if (q.next()) {
            for (const char *c : {"CtlX", "CtlY", "SrcX", "SrcY", "SrcW", "SrcH", "NeedShow",
                                  "NeedPrint", "BreakFontSize", "BreakNum", "FitParam", "CtlCName"})
                values[c] = q.value(c);
        }
        return values;
    }

    ItemDesign panels()
    {
        ItemDesign v;
        v.ctlX = 250;
        v.ctlY = 300;
        v.srcX = 60;
        v.srcY = 70;
        v.srcW = 140;
        v.srcH = 30;
        v.breakFontSize = 9;
        v.wrapNum = 12;
        return v;
    }

    CheckDesignStore store{home.db()};
};

TEST_F(CheckDesignStoreTest, UpdateClearsBreakingButInsertKeepsTheBreakFontSize)
{
    ItemDesign v = panels();
    auto saved = store.saveItem(kId, kKind, "zda", "甲项", v);
    ASSERT_TRUE(saved.ok()) << saved.error.toStdString();
    EXPECT_FALSE(saved.inserted);
    QVariantMap a = row("ZDA");
    EXPECT_EQ(a["SrcX"].toInt(), 60);
    EXPECT_EQ(a["CtlX"].toInt(), 250);
    EXPECT_EQ(a["BreakFontSize"].toInt(), 0);
    EXPECT_EQ(a["BreakNum"].toString(), "");

    // A dictionary item without a row gets one: 100 x 20 pixels, the break size of the field.
    v.hidden = true;
    saved = store.saveItem(kId, kKind, "ZDNEW", "新项", v);
    ASSERT_TRUE(saved.ok()) << saved.error.toStdString();
    EXPECT_TRUE(saved.inserted);
    EXPECT_EQ(saved.rows, 1);
    QVariantMap n = row("ZDNEW");
    EXPECT_EQ(n["SrcW"].toInt(), 100);
    EXPECT_EQ(n["SrcH"].toInt(), 20);
    EXPECT_EQ(n["SrcX"].toInt(), 60);
    EXPECT_EQ(n["NeedShow"].toInt(), 0);
    EXPECT_EQ(n["NeedPrint"].toInt(), 0);
    EXPECT_EQ(n["BreakFontSize"].toInt(), 9);
    EXPECT_EQ(n["BreakNum"].toString(), "");
    EXPECT_EQ(n["CtlCName"].toString(), "新项");

    v.wordBreak = true;
    v.fitPrint = true;
    v.fitParam = 40;
    store.saveItem(kId, kKind, "ZDA", "甲项", v);
    a = row("ZDA");
    EXPECT_EQ(a["BreakNum"].toString(), "12");
    EXPECT_EQ(a["BreakFontSize"].toInt(), 9);
    EXPECT_EQ(a["FitParam"].toString(), "40");
}

TEST_F(CheckDesignStoreTest, UnknownItemIsRefused)
{
    const auto saved = store.saveItem(kId, kKind, "ZDNOSUCH", "", panels());
    EXPECT_EQ(saved.error, "找不到对应的项目定义~~");
    EXPECT_TRUE(row("ZDNOSUCH").isEmpty());
}

TEST_F(CheckDesignStoreTest, TitlesAreCleaned)
{
    EXPECT_EQ(CheckDesignStore::cleanTitles(QStringLiteral(" 甲，乙 （丙） ")), "甲,乙丙");
    EXPECT_EQ(CheckDesignStore::cleanTitles(QStringLiteral("(a)'b'%c*?")), "abc");
    EXPECT_EQ(CheckDesignStore::cleanTitles(QStringLiteral("（ ）* ")), "");
}

TEST_F(CheckDesignStoreTest, FailedCacheRebuildKeepsThePreviousCache)
{
    ASSERT_TRUE(catalogue().buildCheckIniFile(kId));
    exec("update CKControl set SrcX = 99 where CtlName = 'ZDA'");
    exec("alter table NameDict rename to NameDictGone");
    EXPECT_FALSE(catalogue().buildCheckIniFile(kId));
    IniFile cache(catalogue().layoutCachePath(kId));
    EXPECT_EQ(cache.readInteger("viewx", "ZDA.x", 0), 30);
    EXPECT_EQ(cache.readString("view", "ConfigItems"), "ZDA,ZDNEW,");
    exec("alter table NameDictGone rename to NameDict");
    EXPECT_TRUE(catalogue().buildCheckIniFile(kId));
    cache.reload();
    EXPECT_EQ(cache.readInteger("viewx", "ZDA.x", 0), 99);
}
