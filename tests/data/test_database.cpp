#include "AsNobody.h"
#include "TestHome.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST(Database, FreshHomeHasEveryTableAndColumnAtTheLatestVersion)
{
    TestHome home;
    EXPECT_EQ(home.db().status(), Database::Status::Created);
    EXPECT_TRUE(home.services().startupProblem().isEmpty());
    // _CKTypeTable and _CKControl are one entry of the contract.
    EXPECT_EQ(Schema::tables().size(), 19u);
    for (const SchemaTable &t : Schema::tables()) {
        const QSqlRecord record = home.columns(t.name);
        EXPECT_EQ(record.count(), int(t.columns.size())) << t.name.toStdString();
        for (const SchemaColumn &c : t.columns)
            EXPECT_TRUE(record.contains(c.name))
                << t.name.toStdString() << "." << c.name.toStdString();
    }
    QString error;
    EXPECT_EQ(Database::schemaVersion(home.db().connection(), &error), Schema::latestVersion());
}

TEST(Database, ItemNamesAreUniquePerTemplateAndUpgradeKeepsTheFirstRow)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    const auto add = [&](int type, const char *name, int x) {
        q.prepare("INSERT INTO CKControl (CheckTypeID, CtlName, CtlX) VALUES (?, ?, ?)");
        q.addBindValue(type);
        q.addBindValue(QString::fromUtf8(name));
        q.addBindValue(x);
        return q.exec();
    };
    ASSERT_TRUE(add(990, "edtName", 1));
    EXPECT_FALSE(add(990, "EDTNAME", 2));
    EXPECT_TRUE(add(991, "edtName", 3));

    // A database from before the rule, with duplicates in it.
    ASSERT_TRUE(q.exec("DROP INDEX CKControl_TypeName"));
    ASSERT_TRUE(add(990, "EDTNAME", 4));
    ASSERT_TRUE(add(990, "edtname", 5));
    QString error;
    ASSERT_TRUE(Schema::makeItemNamesUnique(home.db().connection(), &error)) << error.toStdString();
    ASSERT_TRUE(q.exec("SELECT CtlX FROM CKControl WHERE CheckTypeID IN (990, 991) ORDER BY CtlX"));
    QList<int> kept;
    while (q.next())
        kept << q.value(0).toInt();
    EXPECT_EQ(kept, (QList<int>{1, 3}));
    EXPECT_FALSE(add(990, "edtName", 6));
}

TEST(Database, TablesAndColumnsTheOtherWindowsUseAreThere)
{
    // Written out here rather than taken from the schema code, so a name dropped or misspelt
    // there shows.
    const struct
    {
        const char *table;
        std::vector<const char *> columns;
    } expected[] = {
        {"configtable", {"cname", "cvalue"}},
        {"DMTable", {"ID", "DMName", "DMValue", "CheckTypeID"}},
        {"DMTable2", {"类型", "一级代码", "二级代码"}},
        {"coins", {"币种", "缩写", "顺序"}},
        {"ckTypeTable",
         {"CheckTypeID", "TypeFirstName", "IsDefault", "Visiable", "IniFile", "XMove", "YMove",
          "HVPrint", "PHeight", "PWidth", "CheckBoxs"}},
        {"CKControl",
         {"CheckTypeID", "CtlName", "CtlX", "CtlY", "CtlLH", "CtlFontSize", "BreakFontSize",
          "FitParam", "BreakNum", "NeedPrint", "InitValue"}},
        {"NameDict", {"CheckTypeName", "CtlName", "CtlType", "PrintItem", "ShowOrd", "Groups"}},
        {"CKPersonalInfoTable",
         {"ID", "全称", "助记码", "开户行账号", "分组", "单位类型", "排序", "扩展信息", "自定义3"}},
        {"DataKDDTable",
         {"流水号", "模板种类", "寄件日期", "收件单位", "总费用", "快递单号", "代收金额", "保价费",
          "自定义5"}},
        {"DataCDHPTable", {"流水号", "票据编号", "票据状态", "金额", "出票日期", "付款行地址"}},
        {"ReceiverList", {"ID", "全称", "批打分组", "代收金额", "自定义5"}},
        {"MultiPrintCDHP", {"ID", "票据编号", "批打分组", "票据状态"}},
        {"UserTable", {"UserName", "Passwd", "RoleName", "lastlogin"}},
        {"MatchColumn", {"Id", "MatchType", "ItemName", "SourceName", "ShowOrd"}},
        {"_Config", {"DMName", "DMValue", "CheckTypeId"}},
        {"_CKTypeTable", {"CheckTypeID", "XMove", "PreImgURL"}},
        {"_CKControl", {"CtlName", "CtlX", "InitValue"}},
    };
    TestHome home;
    for (const auto &t : expected) {
        const QSqlRecord record = home.columns(QString::fromUtf8(t.table));
        EXPECT_FALSE(record.isEmpty()) << t.table;
        for (const char *column : t.columns)
            EXPECT_TRUE(record.contains(QString::fromUtf8(column))) << t.table << "." << column;
    }
}

TEST(Database, FirstVersionUpgradesWithItsDataKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("EPData.ini");
    {
        // A file as the first version left it: its tables, a few rows, version 1.
        QSqlDatabase old = QSqlDatabase::addDatabase("QSQLITE", "first-version");
        old.setDatabaseName(path);
        ASSERT_TRUE(old.open());
        QSqlQuery q(old);
        for (const SchemaTable &t : Schema::tables())
            ASSERT_TRUE(q.exec(t.createSql())) << q.lastError().text().toStdString();
        // The draft batch list had no print record then.
        ASSERT_TRUE(q.exec("drop table MultiPrintCDHP"));
        ASSERT_TRUE(q.exec("create table MultiPrintCDHP (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "金额 TEXT, 批打分组 TEXT)"));
        ASSERT_TRUE(q.exec("insert into MultiPrintCDHP (金额, 批打分组) values ('12.50', '月底')"));
        ASSERT_TRUE(q.exec("insert into CKPersonalInfoTable (全称, 助记码, 排序) "
                           "values ('老客户', 'LKH', 3)"));
        ASSERT_TRUE(q.exec("insert into DataKDDTable (收件单位, 寄件日期) "
                           "values ('旧单', '2020-01-02')"));
        ASSERT_TRUE(q.exec("insert into configtable values ('DefaultPrinter', 'Bill Printer')"));
        ASSERT_TRUE(q.exec("PRAGMA user_version = 1"));
        q.finish();
        old.close();
    }
    QSqlDatabase::removeDatabase("first-version");

    Database db("upgraded");
    EXPECT_EQ(db.open(path), Database::Status::Opened) << db.problem().toStdString();
    QSqlQuery q = db.query();
    ASSERT_TRUE(q.exec("PRAGMA user_version") && q.next());
    EXPECT_EQ(q.value(0).toInt(), Schema::latestVersion());

    ASSERT_TRUE(q.exec("select 全称, 助记码, 排序, ID from CKPersonalInfoTable") && q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("老客户"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("LKH"));
    EXPECT_EQ(q.value(2).toInt(), 3);
    EXPECT_EQ(q.value(3).toInt(), 1);
    EXPECT_FALSE(q.next());
    ASSERT_TRUE(q.exec("select 收件单位, 寄件日期 from DataKDDTable") && q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("旧单"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("2020-01-02"));
    ASSERT_TRUE(q.exec("select cvalue from configtable where cname = 'DefaultPrinter'") &&
                q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Bill Printer"));
    ASSERT_TRUE(q.exec("select 金额, 批打分组, 打印状态, 打印批次, 打印时间 from MultiPrintCDHP") &&
                q.next())
        << q.lastError().text().toStdString();
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("12.50"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("月底"));
    EXPECT_TRUE(q.value(2).isNull() && q.value(3).isNull());

    // The address book's look-ups got their indexes on the way.
    QStringList indexes;
    ASSERT_TRUE(q.exec("select name from sqlite_master where type = 'index' "
                       "and tbl_name = 'CKPersonalInfoTable'"));
    while (q.next())
        indexes << q.value(0).toString();
    for (const char *index : {"CKPersonal_Order", "CKPersonal_TypeOrder", "CKPersonal_Name",
                              "CKPersonal_InputCode", "CKPersonal_Contact", "CKPersonal_Group"})
        EXPECT_TRUE(indexes.contains(QString::fromLatin1(index))) << index;
}

TEST(Database, TableNamesInAnyCaseReachTheSameTable)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    const int before = home.db().CountTableAllRows("ckTypeTable", home.ui);
    ASSERT_TRUE(q.exec("insert into CKTYPETABLE (CheckTypeID, TypeName) values (999, 'x')"));
    EXPECT_EQ(home.db().CountTableAllRows("cktypetable", home.ui), before + 1);
    EXPECT_EQ(home.db().CountTableAllRows("CKTypeTable", home.ui), before + 1);
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST(Database, AutonumbersCountUp)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(q.exec("insert into DataKDDTable (寄件单位) values ('a')"));
    q.exec("select max(流水号) from DataKDDTable");
    q.next();
    EXPECT_EQ(q.value(0).toInt(), 2);
}

TEST(Database, CountOfAMissingTableTellsTheUserAndAnswersZero)
{
    TestHome home;
    EXPECT_EQ(home.db().CountTableAllRows("nosuch\"; drop table configtable; --", home.ui), 0);
    ASSERT_EQ(home.ui.shown.size(), 1);
    EXPECT_TRUE(home.ui.last().text.startsWith(QStringLiteral("计算表格总数失败:nosuch")));
    EXPECT_GT(home.db().CountTableAllRows("configtable", home.ui), 0);
    EXPECT_EQ(home.db().AddColumnIfNotExits("configtable", "x", "text", 10), -1);
}

TEST(Database, CorruptFileIsReportedAndNeverOverwritten)
{
    SKIP_ON_SERVER("its damaged file");
    TestHome home;
    const QString path = home.services().home().databasePath();
    home.db().close();
    const QByteArray junk(8192, 'x');
    {
        QFile::remove(path);
        QFile::remove(path + "-wal");
        QFile::remove(path + "-shm");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    AppServices &again = home.restart();
    EXPECT_EQ(again.database().status(), Database::Status::Unreadable);
    EXPECT_TRUE(again.startupProblem().contains(path));
    EXPECT_TRUE(again.settings().getConfigByname("启用默认出票人").isEmpty());
    EXPECT_EQ(fileBytes(path), junk);
}

TEST(Database, MissingFileInAPopulatedHomeIsMadeAgainAndReported)
{
    SKIP_ON_SERVER("its missing file");
    TestHome home;
    const QString path = home.services().home().databasePath();
    home.db().close();
    QFile::remove(path);
    QFile::remove(path + "-wal");
    QFile::remove(path + "-shm");
    AppServices &again = home.restart();
    EXPECT_EQ(again.database().status(), Database::Status::Created);
    EXPECT_TRUE(again.startupProblem().contains(path));
    EXPECT_EQ(again.settings().getConfigByname("启用默认出票人"), QStringLiteral("no"));
}

TEST(Database, ReadOnlyFileOpensForReadingAndSaysSo)
{
    SKIP_ON_SERVER("its read-only file");
    if (geteuid() == 0) {
        const QString failure =
            failureAsNobody(QStringLiteral("Database.ReadOnlyFileOpensForReadingAndSaysSo"));
        EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
        return;
    }
    TestHome home;
    const QString path = home.services().home().databasePath();
    home.settings().setConfigByname("probe", "kept");
    home.db().close();
    QFile::remove(path + "-wal");
    QFile::remove(path + "-shm");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_FALSE(QFileInfo(path).isWritable()) << "this user writes read-only files";
    AppServices &again = home.restart();
    EXPECT_EQ(again.database().status(), Database::Status::ReadOnly);
    EXPECT_TRUE(again.startupProblem().contains(path));
    EXPECT_EQ(again.settings().getConfigByname("probe"), QStringLiteral("kept"));
    EXPECT_FALSE(again.settings().setConfigByname("probe", "changed").isEmpty());
}

TEST(Database, HomeAndDatabaseMadeHereAreForTheOwnerOnly)
{
    SKIP_ON_SERVER("its file mode");
    const auto groupAndOthers = QFile::Permissions(0x00FF);
    QTemporaryDir parent;
    ScriptedUi ui;
    const QString home = parent.path() + "/nested/home/";
    {
        AppServices services(ui, home);
        ASSERT_EQ(services.database().status(), Database::Status::Created);
        ASSERT_TRUE(services.settings().setConfigByname("probe", "1").isEmpty());
        const QString db = services.home().databasePath();
        for (const QString &path :
             QStringList{db, db + "-wal", home, home + "Data", home + "Image", home + "Temp"}) {
            const QFileInfo info(path);
            ASSERT_TRUE(info.exists()) << path.toStdString();
            EXPECT_EQ(info.permissions() & groupAndOthers, QFile::Permissions())
                << path.toStdString();
            EXPECT_TRUE(info.permissions() & QFile::WriteOwner) << path.toStdString();
        }
    }
    // A home the user made keeps the permissions the user gave it.
    const QString own = parent.path() + "/own/";
    ASSERT_TRUE(QDir().mkpath(own));
    const auto open = QFile::Permissions(0x7755);
    ASSERT_TRUE(QFile::setPermissions(own, open));
    AppServices again(ui, own);
    EXPECT_EQ(again.database().status(), Database::Status::Created);
    EXPECT_EQ(QFileInfo(own).permissions(), open);
}

TEST(Database, SafeWriteModeRefusedIsReportedAndTheFileStillOpens)
{
    SKIP_ON_SERVER("its journal mode");
    TestHome home;
    const QString path = home.services().home().databasePath();
    home.db().close();
    {
        // Back to the rollback journal, and a reader that keeps the file shared: switching to
        // the write-ahead log needs the file to itself.
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "reader");
        other.setDatabaseName(path);
        ASSERT_TRUE(other.open());
        QSqlQuery q(other);
        ASSERT_TRUE(q.exec("PRAGMA journal_mode=DELETE") && q.next());
        ASSERT_EQ(q.value(0).toString(), "delete");
        q.finish();
        ASSERT_TRUE(q.exec("BEGIN") && q.exec("SELECT count(*) FROM configtable") && q.next());
        AppServices &again = home.restart();
        EXPECT_EQ(again.database().status(), Database::Status::Opened);
        EXPECT_TRUE(
            again.startupProblem().startsWith(QStringLiteral("数据库无法切换到防断电的写入方式")))
            << again.startupProblem().toStdString();
        EXPECT_TRUE(again.startupProblem().contains(path));
        q.finish();
        q.exec("COMMIT");
        other.close();
    }
    QSqlDatabase::removeDatabase("reader");
    EXPECT_TRUE(home.restart().startupProblem().isEmpty());
}
