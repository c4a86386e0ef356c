#include "../templates/PackageFile.h"
#include "RefusingTrigger.h"
#include "TestHome.h"
#include "base/IniFile.h"
#include "data/TableSource.h"
#include "online/DatabaseUpgrade.h"
#include "templates/Catalogue.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// An older installation's database with one row of each kind that matters. Its tables are
// what the older release had: fewer columns than ours.
void writeOlderDatabase(const QString &path, bool complete = true)
{
    PackageFile db(path);
    for (const QString &table : DatabaseUpgrade::tables()) {
        if (!complete && table == "UserTable")
            continue;
        db.exec("create table " + table + " (dummy TEXT)");
    }
    db.exec("drop table CKPersonalInfoTable");
    db.exec("create table CKPersonalInfoTable (ID INTEGER, 全称 TEXT, 单位类型 TEXT, 电话 TEXT)");
    db.insert("CKPersonalInfoTable", {{"ID", 7}, {"全称", "老客户'甲"}, {"单位类型", "往来单位"}});
    db.exec("drop table DataCDHPTable");
    db.exec("create table DataCDHPTable (流水号 INTEGER, 模板种类 TEXT, 出票日期 TEXT, 金额 TEXT)");
    db.insert("DataCDHPTable",
              {{"流水号", 3}, {"出票日期", "2009-05-06 00:00:00"}, {"金额", "1200.50"}});
    db.exec("drop table ckTypeTable");
    db.exec("create table ckTypeTable (CheckTypeID INTEGER, TypeName TEXT, TypeFirstName TEXT, "
            "IsDefault TEXT, Visiable TEXT, IsCommon TEXT)");
    db.insert("ckTypeTable", {{"CheckTypeID", 11},
                              {"TypeName", "快递单(顺丰速运)"},
                              {"Visiable", "启用"},
                              {"IsCommon", "否"},
                              {"IsDefault", "0"}});
    db.insert("ckTypeTable", {{"CheckTypeID", 12}, {"TypeName", "无括号"}});
    if (complete) {
        db.exec("drop table UserTable");
        db.exec("create table UserTable (ID INTEGER, UserName TEXT, Passwd TEXT, RoleName TEXT)");
        db.insert("UserTable", {{"ID", 1},
                                {"UserName", "老王"},
                                {"RoleName", "管理员"},
                                {"Passwd", "900150983cd24fb0d6963f7d28e17f72"}});
    }
}

QString value(TestHome &home, const QString &sql)
{
    QSqlQuery q = home.db().query();
    return q.exec(sql) && q.next() ? q.value(0).toString() : "<none>";
}

} // namespace

TEST(DatabaseUpgrade, TakesEveryTableOverOnceAndCompletesTheDictionary)
{
    TestHome home;
    const QString path = home.path() + "older.db";
    writeOlderDatabase(path);
    QString error;
    auto older = TableSource::open(path, &error);
    ASSERT_TRUE(older) << error.toStdString();

    DatabaseUpgrade upgrade(home.db(), "10.3");
    ASSERT_FALSE(upgrade.alreadyUpgraded());
    int steps = 0;
    const DatabaseUpgrade::Summary s =
        upgrade.upgradeFrom(*older, [&](int, int, const QString &) { ++steps; });
    ASSERT_TRUE(s.ok) << s.error.toStdString();
    EXPECT_GT(steps, int(DatabaseUpgrade::tables().size()));
    ASSERT_EQ(s.rows.size(), DatabaseUpgrade::tables().size());
    EXPECT_EQ(s.rows[0], std::make_pair(QString("CKPersonalInfoTable"), 1));

    EXPECT_EQ(value(home, "select 全称 from CKPersonalInfoTable where ID = 7"), "老客户'甲");
    EXPECT_EQ(value(home, "select count(*) from CKPersonalInfoTable"), "1");
    EXPECT_EQ(value(home, "select 出票日期 from DataCDHPTable where 流水号 = 3"), "2009-05-06");
    EXPECT_EQ(value(home, "select TypeFirstName from ckTypeTable where CheckTypeID = 11"),
              "快递单");
    EXPECT_EQ(value(home, "select coalesce(TypeFirstName, '') from ckTypeTable where "
                          "CheckTypeID = 12"),
              "");
    EXPECT_EQ(value(home, "select IsCommon from ckTypeTable where CheckTypeID = 11"), "是");
    EXPECT_EQ(value(home, "select RoleName from UserTable where UserName = '老王'"), "管理员");
    EXPECT_EQ(value(home, "select count(*) from NameDict where CheckTypeName = '快递单' and "
                          "CtlName = 'ZDTIJI'"),
              "1");
    EXPECT_EQ(value(home, "select CtlType from NameDict where CtlName = 'DEFCHECK12'"), "CHECKBOX");

    EXPECT_TRUE(upgrade.alreadyUpgraded());
}

TEST(DatabaseUpgrade, MissingTablesOrAFailureLeaveOurDatabaseAsItWas)
{
    TestHome home;
    const QString before = value(home, "select count(*) from ckTypeTable");
    QString error;

    const QString incomplete = home.path() + "incomplete.db";
    writeOlderDatabase(incomplete, /*complete=*/false);
    auto older = TableSource::open(incomplete, &error);
    DatabaseUpgrade upgrade(home.db(), "10.3");
    DatabaseUpgrade::Summary s = upgrade.upgradeFrom(*older, [](int, int, const QString &) {});
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(s.error.contains("UserTable")) << s.error.toStdString();

    const QString full = home.path() + "full.db";
    writeOlderDatabase(full);
    older = TableSource::open(full, &error);
    ASSERT_TRUE((RefusingTrigger{"refuse", "INSERT", "UserTable", {}}.install(home.db())));
    s = upgrade.upgradeFrom(*older, [](int, int, const QString &) {});
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(s.error.contains("refused")) << s.error.toStdString();
    EXPECT_EQ(value(home, "select count(*) from ckTypeTable"), before);
    EXPECT_EQ(value(home, "select count(*) from CKPersonalInfoTable where ID = 7"), "0");
    EXPECT_FALSE(upgrade.alreadyUpgraded());
}

// Older databases may hold an item twice for one template (names differ only in case): the
// first row is kept and named, and every template's layout cache follows what was taken over.
TEST(DatabaseUpgrade, MergesDuplicateItemsAndRebuildsEveryLayoutCache)
{
    TestHome home;
    Catalogue &catalogue = home.services().catalogue();
    ASSERT_TRUE(catalogue.OpenCheckInif(1)); // our own cache of template 1, soon stale
    const QString path = home.path() + "older.db";
    writeOlderDatabase(path);
    {
        PackageFile db(path);
        // It names a cache file, as every used template does: ours is there already.
        db.exec("alter table ckTypeTable add column IniFile TEXT");
        db.exec("insert into ckTypeTable (CheckTypeID, TypeName, TypeFirstName, IsDefault, "
                "Visiable, IsCommon, IniFile) values (1, '快递单（老模板）', '快递单', '默认', "
                "'启用', '是', '1.ini')");
        db.exec("drop table CKControl");
        db.exec("create table CKControl (CheckTypeID INTEGER, CtlName TEXT, SrcX INTEGER, "
                "SrcY INTEGER, NeedShow INTEGER)");
        db.insert("CKControl", {{"CheckTypeID", 1},
                                {"CtlName", "zdSKR"},
                                {"SrcX", 123},
                                {"SrcY", 45},
                                {"NeedShow", 1}});
        db.insert("CKControl", {{"CheckTypeID", 1},
                                {"CtlName", "ZDSKR"},
                                {"SrcX", 999},
                                {"SrcY", 99},
                                {"NeedShow", 1}});
        db.insert(
            "CKControl",
            {{"CheckTypeID", 1}, {"CtlName", "zdHKR"}, {"SrcX", 7}, {"SrcY", 8}, {"NeedShow", 1}});
    }
    QString error;
    auto older = TableSource::open(path, &error);
    ASSERT_TRUE(older) << error.toStdString();
    DatabaseUpgrade upgrade(home.db(), "10.3");
    const DatabaseUpgrade::Summary s =
        upgrade.upgradeFrom(*older, [](int, int, const QString &) {});
    ASSERT_TRUE(s.ok) << s.error.toStdString();
    EXPECT_EQ(s.mergedItems, QStringList{"模板 1 的项目 ZDSKR"});
    EXPECT_EQ(value(home, "select count(*) from CKControl where CheckTypeID = 1"), "2");
    EXPECT_EQ(value(home, "select SrcX from CKControl where upper(CtlName) = 'ZDSKR'"), "123");

    EXPECT_TRUE(DatabaseUpgrade::rebuildLayoutCaches(home.db(), catalogue).isEmpty());
    auto cache = catalogue.OpenCheckInif(1);
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->readString("viewx", "ZDSKR.x", ""), "123");
    EXPECT_EQ(cache->readString("viewx", "ZDHKR.x", ""), "7");
}
