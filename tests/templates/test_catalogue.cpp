#include "TemplateRows.h"
#include "base/IniFile.h"

#include <QFile>

using Catalog = TemplateRows;

TEST(CatalogueKinds, CodeOfEachKindNameComparedExactly)
{
    const std::pair<const char *, const char *> cases[] = {
        {"快递单", "kdd"},
        {"承兑汇票", "cdhp"},
        {"普通发票收据", "fpiv"},
        {"发票及收据", "fpiv"},
        {"定制单", "def"},
        {"快递单 ", ""},
        {"快递", ""},
        {"", ""},
    };
    for (const auto &[kind, code] : cases)
        EXPECT_EQ(Catalogue::getTypeCodeByTypeName(QString::fromUtf8(kind)),
                  QString::fromUtf8(code))
            << kind;
}

TEST_F(Catalog, KindOfTemplateFallsBackToItsFullName)
{
    insert("ckTypeTable",
           {{"CheckTypeID", 1}, {"TypeFirstName", ""}, {"TypeName", "快递单（顺丰）"}});
    insert("ckTypeTable", {{"CheckTypeID", 2}, {"TypeName", "快递单(圆通)"}});
    insert("ckTypeTable", {{"CheckTypeID", 3}, {"TypeFirstName", ""}, {"TypeName", "定制单"}});
    insert("ckTypeTable",
           {{"CheckTypeID", 4}, {"TypeFirstName", "承兑汇票"}, {"TypeName", "别的（名字）"}});
    const std::pair<const char *, const char *> cases[] = {
        {"1", "快递单"},   {"2", "快递单"}, {"3", "定制单"},
        {"4", "承兑汇票"}, {"9", ""},       {"1 or 1=1", ""},
    };
    for (const auto &[id, kind] : cases)
        EXPECT_EQ(catalogue().loadCheckTypeFirstNameByID(id), QString::fromUtf8(kind)) << id;
}

TEST_F(Catalog, DefaultTemplateOfKind)
{
    addTemplate(5, "快递单", "甲");
    addTemplate(3, "快递单", "乙");
    addTemplate(2, "快递单", "停用", "停用隐藏");
    EXPECT_EQ(catalogue().loadDefaultCheckTypeId("快递单"), 3) << "lowest enabled one";
    ASSERT_EQ(home.ui.shown.size(), 1);
    EXPECT_EQ(home.ui.last().text,
              QStringLiteral("没有设定默认的快递单,请到【系统管理】-【模板管理】，设定!"));

    home.ui.shown.clear();
    exec("update ckTypeTable set IsDefault = '默认' where CheckTypeID = 5");
    EXPECT_EQ(catalogue().loadDefaultCheckTypeId("快递单"), 5);
    EXPECT_TRUE(home.ui.shown.isEmpty());

    EXPECT_EQ(catalogue().loadDefaultCheckTypeId("承兑汇票"), -1);
    EXPECT_EQ(home.ui.texts(),
              QStringList({"没有设定默认的承兑汇票,请到【系统管理】-【模板管理】，设定!",
                           "没有找到任何启用的【承兑汇票】模板！"}));
}

TEST_F(Catalog, QuotesInNamesAreJustCharacters)
{
    addTemplate(4, "O'Brien单", "it's");
    addTemplate(6, "O'Brien单", "x' or '1'='1");
    insert("ckTypeTable", {{"CheckTypeID", 8}, {"TypeName", "快递单（老'式）"}});
    Catalogue &c = catalogue();
    EXPECT_EQ(c.loadCheckTypeIDByFirstAndLastName("O'Brien单", "it's"), 4);
    EXPECT_EQ(c.loadCheckTypeIDByFirstAndLastName("快递单", "老'式"), 8) << "by its full name";
    EXPECT_EQ(c.loadCheckTypeIDByFirstAndLastName("O'Brien单", "nothing' or '1'='1"), 0);
    EXPECT_EQ(c.loadCheckTypeIDByTypeFullName("O'Brien单（it's）"), "4");
    EXPECT_EQ(c.loadCheckTypeIDByTypeFullName("' or ''='"), "0");
    QString error;
    EXPECT_TRUE(c.CheckTypeExists("O'Brien单", "it's", &error));
    EXPECT_FALSE(c.CheckTypeExists("O'Brien单", "it", &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(c.loadCheckTypeLastNameList("O'Brien单"), QStringList({"it's", "x' or '1'='1"}));
    EXPECT_EQ(c.loadCheckTypeFullNameByID("4"), QStringLiteral("O'Brien单（it's）"));
    EXPECT_EQ(c.loadCheckTypeLastNameByID("6"), QStringLiteral("x' or '1'='1"));
}

TEST_F(Catalog, TemplateListsShowEnabledOnesAndCommonDefaultFirst)
{
    addTemplate(1, "快递单", "乙");
    addTemplate(2, "快递单", "甲", "启用", "默认");
    addTemplate(3, "快递单", "丙", "启用", "0", "");
    addTemplate(4, "快递单", "丁", "停用隐藏");
    addTemplate(5, "承兑汇票", "银行");
    Catalogue &c = catalogue();
    EXPECT_EQ(c.loadCommonTypeLastNameList("快递单"), QStringList({"甲", "乙"}));
    EXPECT_TRUE(c.loadCommonTypeLastNameList("").isEmpty());
    EXPECT_EQ(c.loadCheckTypeLastNameList("快递单").size(), 3);
    EXPECT_EQ(c.loadCheckTypeFullNameList("承兑汇票"), QStringList({"承兑汇票（银行）"}));
    EXPECT_EQ(c.loadCheckTypeFullNameList().size(), 4);

    EXPECT_TRUE(c.loadCheckTypeLastNameList("").isEmpty());
    EXPECT_EQ(home.ui.texts(), QStringList({"没有指定单据类型，无法调入确定的模板种类！"}));
}

TEST_F(Catalog, NewIdentifierAndErrorsRaisedWithTheirPrefix)
{
    QString error;
    EXPECT_EQ(catalogue().loadMaxNewCheckTypeId(&error), "1");
    addTemplate(41, "快递单", "甲");
    EXPECT_EQ(catalogue().loadMaxNewCheckTypeId(&error), "42");
    EXPECT_TRUE(error.isEmpty());

    exec("drop table ckTypeTable");
    EXPECT_FALSE(catalogue().CheckTypeExists("快递单", "甲", &error));
    EXPECT_TRUE(error.startsWith("CheckTypeExists:")) << error.toStdString();
    EXPECT_TRUE(catalogue().loadMaxNewCheckTypeId(&error).isEmpty());
    EXPECT_TRUE(error.startsWith("NewMaxCheckTypeId:")) << error.toStdString();
}

TEST_F(Catalog, DropDownEntriesOfTheTemplateComeBeforeSharedOnes)
{
    const std::tuple<int, const char *, const char *> rows[] = {
        {0, "始发站", "北京"}, {7, "始发站", "深圳"}, {0, "始发站", "上海"},
        {7, "始发站", "北京"}, {9, "始发站", "广州"}, {7, "备注", "易碎"},
    };
    for (const auto &[id, name, value] : rows)
        insert("DMTable", {{"CheckTypeID", id}, {"DMName", name}, {"DMValue", value}});
    Catalogue &c = catalogue();
    EXPECT_EQ(c.loadDMListByName("始发站", "0,7"), QStringList({"深圳", "北京", "北京", "上海"}));
    EXPECT_EQ(c.loadDMListByName("始发站", "7,0"), c.loadDMListByName("始发站", "0,7"));
    EXPECT_EQ(c.loadDMListByName("始发站", "0,7) or (1=1"), QStringList({"北京", "上海"}));
    EXPECT_TRUE(c.loadDMListByName("始发站' or '1'='1", "0,7,9").isEmpty());
    EXPECT_TRUE(c.loadDMListByName("始发站", "").isEmpty());
}

TEST_F(Catalog, HistoryTemplateNamesOnlyFromKnownTables)
{
    exec("insert into DataKDDTable (模板种类) values ('快递单（甲）'), ('快递单（甲）'), "
         "('快递单（乙）')");
    EXPECT_EQ(catalogue().loadHistoryTypeNameList("datakddtable"),
              QStringList({"快递单（乙）", "快递单（甲）"}));
    EXPECT_TRUE(catalogue().loadHistoryTypeNameList("DataKDDTable; drop table NameDict").isEmpty());
    EXPECT_TRUE(catalogue().loadHistoryTypeNameList("NoSuchTable").isEmpty());
}

TEST_F(Catalog, LayoutCacheHoldsEveryItemAndTheTemplatesSettings)
{
    addTemplate(7, "测试单", "甲");
    addDictItem("测试单", "ZDA", 1);
    addDictItem("测试单", "ZDB", 2);
    addDictItem("别的单", "ZDC", 1);
    addItem(7, "zdA", 10, 20, 30, 40, 1, "默认值");
    addItem(7, "ZDB", 1, 2, 3, 4, 0);
    insert("CKControl", {{"CheckTypeID", 8}, {"CtlName", "ZDA"}, {"SrcX", 99}});
    insert("DMTable", {{"CheckTypeID", 7}, {"DMName", "cfgWantPrintRQ"}, {"DMValue", "1"}});
    insert("DMTable", {{"CheckTypeID", 7}, {"DMName", "始发站"}, {"DMValue", "北京"}});
    insert("DMTable", {{"CheckTypeID", 0}, {"DMName", "cfgShared"}, {"DMValue", "x"}});

    std::unique_ptr<IniFile> cache = catalogue().OpenCheckInif(7);
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->path(), home.path() + "Temp/CheckIni/7.ini");
    EXPECT_EQ(cache->readString("view", "ConfigItems"), "ZDA,ZDB,");
    EXPECT_EQ(cache->readInteger("viewx", "ZDA.x", -1), 10);
    EXPECT_EQ(cache->readInteger("viewy", "ZDA.y", -1), 20);
    EXPECT_EQ(cache->readInteger("vieww", "ZDA.w", -1), 30);
    EXPECT_EQ(cache->readInteger("viewh", "ZDA.h", -1), 40);
    EXPECT_EQ(cache->readInteger("viewv", "ZDB.v", -1), 0);
    EXPECT_EQ(cache->readString("viewdv", "ZDA.dv"), QStringLiteral("默认值"));
    EXPECT_TRUE(cache->valueExists("viewdv", "ZDB.dv")) << "a null is written as empty text";
    EXPECT_EQ(cache->keys("CheckConfig"), QStringList({"cfgWantPrintRQ"}));
    EXPECT_EQ(catalogue().loadTemplate(7)->iniFile, "7.ini");

    // The file is GBK, as every INI file of the program.
    QFile raw(cache->path());
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().contains(QByteArray("\xC4\xAC\xC8\xCF\xD6\xB5"))); // 默认值
}

TEST_F(Catalog, LayoutCacheIsRebuiltWhenClearedOrMissing)
{
    addTemplate(7, "测试单", "甲");
    addDictItem("测试单", "ZDA", 1);
    addItem(7, "ZDA", 10, 20, 30, 40, 1);
    ASSERT_TRUE(catalogue().buildCheckIniFile(7));

    // A stale key of a rebuilt section goes; the database is the master copy.
    exec("update CKControl set SrcX = 55");
    exec("update ckTypeTable set IniFile = null");
    EXPECT_EQ(catalogue().OpenCheckInif(7)->readInteger("viewx", "ZDA.x", -1), 55);

    exec("update CKControl set SrcX = 66");
    EXPECT_EQ(catalogue().OpenCheckInif(7)->readInteger("viewx", "ZDA.x", -1), 55)
        << "a built cache is used as it is";

    ASSERT_TRUE(QFile::remove(catalogue().layoutCachePath(7)));
    EXPECT_EQ(catalogue().OpenCheckInif(7)->readInteger("viewv", "ZDA.v", 0), 1)
        << "a deleted cache file must not hide every field";
}

TEST_F(Catalog, FailedRebuildKeepsThePreviousCacheWhole)
{
    addTemplate(7, "测试单", "甲");
    addDictItem("测试单", "ZDA", 1);
    addItem(7, "ZDA", 10, 20, 30, 40, 1);
    insert("DMTable", {{"CheckTypeID", 7}, {"DMName", "cfgWantPrintRQ"}, {"DMValue", "1"}});
    ASSERT_TRUE(catalogue().buildCheckIniFile(7));
    QFile file(catalogue().layoutCachePath(7));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    // The last of the three readings fails, after the items were read.
    exec("update CKControl set SrcX = 55");
    exec("alter table DMTable rename to DMTableGone");
    EXPECT_FALSE(catalogue().buildCheckIniFile(7));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}
