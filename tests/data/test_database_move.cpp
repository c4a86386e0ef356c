#include "TestHome.h"
#include "base/IniFile.h"
#include "bills/BillStore.h"
#include "cli/DbCommand.h"
#include "data/DatabaseChoice.h"
#include "data/DatabaseMove.h"
#include "data/Schema.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Every row of a table as text, sorted: the same on both engines when the same rows are there.
QStringList rowsOf(Database &db, const QString &table)
{
    QSqlQuery q = db.query();
    EXPECT_TRUE(q.exec(u"SELECT * FROM " + Database::quoted(table))) << table.toStdString();
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
        rows << values.join(u'|');
    }
    rows.sort();
    return rows;
}

// A home on its own file with what a clerk's day leaves there: slips with a quote in a name,
// empty fields, a deleted last slip, a party, a batch row.
struct SeededHome
{
    TestHome home{TestHome::Engine::LocalFile};

    SeededHome()
    {
        BillStore slips(home.db(), QStringLiteral("DataKDDTable"));
        for (const char *receiver : {"O'Brien 贸易", "深圳市飞鸿贸易有限公司", "已删除"})
            EXPECT_TRUE(slips
                            .save(0, {{"模板种类", "快递单（飞燕速递）"},
                                      {"收件单位", QString::fromUtf8(receiver)},
                                      {"总费用", "12.5"}})
                            .error.isEmpty());
        QSqlQuery q = home.db().query();
        EXPECT_TRUE(q.exec("DELETE FROM DataKDDTable WHERE 收件单位 = '已删除'"));
        EXPECT_TRUE(q.exec("INSERT INTO CKPersonalInfoTable (全称, 助记码, 排序, 单位类型) "
                           "VALUES ('宁波甬兴机械有限公司', 'NBYX', 3, '往来单位')"));
        EXPECT_TRUE(q.exec("INSERT INTO ReceiverList (全称, 批打分组) VALUES ('张三', '周一')"));
    }

    QString file() const { return home.path() + u"Data/EPData.ini"; }
};

// The tables a move must bring over: those of the schema, and any other the file holds.
QStringList tablesOf(Database &db)
{
    QSqlQuery q = db.query();
    EXPECT_TRUE(q.exec("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                       "'sqlite%'"));
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

} // namespace

TEST(DatabaseMove, EveryRowOfEveryTableArrivesAndNumbersGoOn)
{
    NEEDS_TEST_SERVER();
    SeededHome seeded;
    ServerSchema target;
    qint64 lastDone = -1, lastTotal = -1;
    DatabaseMove move;
    move.progress = [&](qint64 done, qint64 total) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
        lastTotal = total;
    };
    const DatabaseMove::Result result = move.copy(seeded.file(), target.address());
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(lastDone, lastTotal);
    EXPECT_EQ(result.rows, lastTotal);

    const QStringList tables = tablesOf(seeded.home.db());
    EXPECT_EQ(result.counts.size(), size_t(tables.size()));
    for (const SchemaTable &t : Schema::tables())
        EXPECT_TRUE(tables.contains(t.name)) << t.name.toStdString();
    Database server(QStringLiteral("moved"));
    ASSERT_EQ(server.openServer(target.address()), Database::Status::Opened);
    for (const QString &table : tables)
        EXPECT_EQ(rowsOf(server, table), rowsOf(seeded.home.db(), table)) << table.toStdString();
    EXPECT_FALSE(rowsOf(server, "DataKDDTable").filter("O'Brien").isEmpty());

    // The deleted third slip's number is never given again, as the file would not have.
    BillStore slips(server, QStringLiteral("DataKDDTable"));
    EXPECT_EQ(slips.save(0, {{"收件单位", "新的一张"}}).billId, 4);
    QSqlQuery q = server.query();
    ASSERT_TRUE(q.exec("SELECT MAX(ID) FROM CKPersonalInfoTable") && q.next());
    const int lastParty = q.value(0).toInt();
    const QVariant next = server.insertReturningKey(
        q, "INSERT INTO CKPersonalInfoTable (全称) VALUES ('新客户')", {}, "ID");
    EXPECT_EQ(next.toInt(), lastParty + 1);
}

TEST(DatabaseMove, ATargetWithTablesIsRefusedAndLeftAsItWas)
{
    NEEDS_TEST_SERVER();
    SeededHome seeded;
    ServerSchema target;
    ASSERT_TRUE(target.exec("CREATE TABLE orders (id integer)"));
    ASSERT_TRUE(target.exec("INSERT INTO orders VALUES (7)"));
    const DatabaseMove::Result result = DatabaseMove().copy(seeded.file(), target.address());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("不是空的")) << result.error.toStdString();
    EXPECT_EQ(target.tableCount(), 1);
    Database server(QStringLiteral("refused"));
    ASSERT_EQ(server.connectServer(target.address()), Database::Status::Opened);
    QSqlQuery q = server.query();
    ASSERT_TRUE(q.exec("SELECT count(*) FROM orders") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
}

// Whatever stops a copy half-way, the server keeps no table of it, the schema's included.
TEST(DatabaseMove, ACopyThatFailsOrIsStoppedLeavesTheTargetEmpty)
{
    NEEDS_TEST_SERVER();
    struct Case
    {
        const char *what;
        const char *sourceChange; // run on the file first
        bool stop;
        const char *error;
    };
    const Case cases[] = {
        // SQLite keeps text in a whole-number column; the server refuses it.
        {"a value the server refuses",
         "UPDATE CKControl SET CtlX = '7元' WHERE ID = (SELECT MIN(ID) FROM CKControl)", false,
         "CKControl"},
        {"stopped by the clerk", nullptr, true, ""},
    };
    for (const Case &c : cases) {
        SeededHome seeded;
        if (c.sourceChange) {
            QSqlQuery q = seeded.home.db().query();
            ASSERT_TRUE(q.exec(QString::fromUtf8(c.sourceChange))) << c.what;
        }
        ServerSchema target;
        DatabaseMove move;
        move.stopRequested = [&] { return c.stop; };
        const DatabaseMove::Result result = move.copy(seeded.file(), target.address());
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.stopped, c.stop) << c.what;
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(c.error))) << c.what;
        EXPECT_EQ(target.tableCount(), 0) << c.what;
    }
}

TEST(DbCommand, MovesTheHomeAndSwitchesTheWorkstationOnlyWhenAllArrived)
{
    NEEDS_TEST_SERVER();
    SeededHome seeded;
    const QStringList before = rowsOf(seeded.home.db(), "DataKDDTable");
    auto runMove = [&](const ServerAddress &to, QString *err) {
        QString outText, errText;
        QTextStream out(&outText), errStream(&errText);
        QUrl url(to.displayUrl());
        url.setPassword(QStringLiteral("s3cret"));
        const int code = DbCommand::run({"db", "move", "--to", url.toString()}, seeded.home.path(),
                                        out, errStream);
        *err = errText;
        return code;
    };
    const auto kind = [&] {
        return DatabaseChoice::read(IniFile(seeded.home.path() + "Config.ini"),
                                    DataHome(seeded.home.path()))
            .kind;
    };

    ServerSchema taken;
    ASSERT_TRUE(taken.exec("CREATE TABLE orders (id integer)"));
    QString err;
    EXPECT_EQ(runMove(taken.address(), &err), DbCommand::BadInput);
    EXPECT_TRUE(err.contains("不是空的")) << err.toStdString();
    EXPECT_EQ(kind(), DatabaseChoice::Kind::Local);

    ServerSchema empty;
    ASSERT_EQ(runMove(empty.address(), &err), DbCommand::Moved) << err.toStdString();
    EXPECT_TRUE(err.contains("各表行数相符")) << err.toStdString();
    EXPECT_EQ(kind(), DatabaseChoice::Kind::Shared);
    QFile config(seeded.home.path() + "Config.ini");
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    EXPECT_FALSE(config.readAll().contains("s3cret"));
    EXPECT_TRUE(QFile::exists(seeded.file())); // the file stays, as it was

    AppServices &restarted = seeded.home.restart();
    EXPECT_EQ(restarted.database().backend(), Database::Backend::Postgres);
    EXPECT_EQ(restarted.database().status(), Database::Status::Opened);
    EXPECT_EQ(rowsOf(restarted.database(), "DataKDDTable"), before);
}

TEST(DbCommand, HelpAndBadInput)
{
    TestHome home(TestHome::Engine::LocalFile);
    struct Case
    {
        QStringList arguments;
        int code;
        const char *says; // on standard output for help, on standard error otherwise
    };
    const Case cases[] = {
        {{"db", "--help"}, DbCommand::Moved, "--to"},
        {{"db", "move", "--help"}, DbCommand::Moved, "PGPASSWORD"},
        {{"db"}, DbCommand::BadInput, "缺少命令"},
        {{"db", "move"}, DbCommand::BadInput, "缺少 --to"},
        {{"db", "copy", "--to", "postgresql://u@h/db"}, DbCommand::BadInput, "未知的命令"},
        {{"db", "move", "--to", "mysql://u@h/db"}, DbCommand::BadInput, "postgresql://"},
        {{"db", "move", "--to", "postgresql://u@h/"}, DbCommand::BadInput, "缺少数据库名"},
        {{"db", "move", "--to", "postgresql://u@/db?host=/nonexistent/socket"},
         DbCommand::BadInput,
         "无法连接共享数据库"},
    };
    for (const Case &c : cases) {
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        EXPECT_EQ(DbCommand::run(c.arguments, home.path(), out, err), c.code)
            << c.arguments.join(' ').toStdString();
        const QString &said = c.code == DbCommand::Moved ? outText : errText;
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.says)))
            << c.arguments.join(' ').toStdString() << "\n"
            << said.toStdString();
    }
    // Nothing was switched by any of them.
    EXPECT_EQ(DatabaseChoice::read(IniFile(home.path() + "Config.ini"), DataHome(home.path())).kind,
              DatabaseChoice::Kind::Local);
}
