#include "TestHome.h"
#include "data/Schema.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

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
    // _CKTypeTable and _CKControl are one entry of the contract; the two print-run tables of
    // the batch list are the program's own.
    EXPECT_EQ(Schema::tables().size(), 19u);
    for (const SchemaTable &t : Schema::tables()) {
        const QSqlRecord record = home.db().connection().record(t.name);
        EXPECT_EQ(record.count(), int(t.columns.size())) << t.name.toStdString();
        for (const SchemaColumn &c : t.columns)
            EXPECT_TRUE(record.contains(c.name))
                << t.name.toStdString() << "." << c.name.toStdString();
    }
    QSqlQuery q = home.db().query();
    q.exec("PRAGMA user_version");
    q.next();
    EXPECT_EQ(q.value(0).toInt(), Schema::latestVersion());
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
    TestHome home;
    const QString path = home.services().home().databasePath();
    home.settings().setConfigByname("probe", "kept");
    home.db().close();
    QFile::remove(path + "-wal");
    QFile::remove(path + "-shm");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (QFileInfo(path).isWritable())
        GTEST_SKIP() << "running as a user that writes read-only files";
    AppServices &again = home.restart();
    EXPECT_EQ(again.database().status(), Database::Status::ReadOnly);
    EXPECT_TRUE(again.startupProblem().contains(path));
    EXPECT_EQ(again.settings().getConfigByname("probe"), QStringLiteral("kept"));
    EXPECT_FALSE(again.settings().setConfigByname("probe", "changed").isEmpty());
}
