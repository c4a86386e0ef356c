// What each condition of the history windows finds, and that the searches run on the indexes an
// upgraded database has.
#include "TestHome.h"
#include "data/BoundQuery.h"
#include "data/Schema.h"
#include "history/BillHistory.h"
#include "history/HistoryStatement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const HistoryKind &slips = HistoryKind::expressSlips();
const HistoryKind &drafts = HistoryKind::acceptanceDrafts();

void insert(Database &db, const char *sql, const QVariantList &values)
{
    QSqlQuery q = db.query();
    ASSERT_TRUE(execBound(q, QString::fromUtf8(sql), values)) << q.lastError().text().toStdString();
}

// Slips 1 to 7 and drafts 1 to 6, each made to be found by some conditions and not by others.
void seed(Database &db)
{
    const char *slip = "INSERT INTO DataKDDTable (快递单号, 寄件单位, 寄件联系人, 收件单位, "
                       "收件联系人, 寄件日期, 模板种类, 总费用) VALUES (?, ?, ?, ?, ?, ?, ?, ?)";
    const QVariant null;
    const QList<QVariantList> slipRows{
        {"SF1001", "岚砚文具", "张三", "飞鸿贸易", "李四", "2026-02-28", "顺丰速运", "12.5"},
        {"SF1002", "岚砚文具", "王五", "甬兴机械", "飞鸿", "2026-03-01", "顺丰速运", ""},
        {"YT2001", "东湖印务", "张三", "甬兴机械", "赵六", "2026-03-01 23:59:59", "圆通快递", "8"},
        {"yt2002", "东湖印务", null, "飞鸿贸易有限公司", null, "2026-03-02", "圆通快递", "30.25"},
        {null, "岚砚文具", "张三", "飞鸿贸易", "李四", "2025-03-02", "顺丰速运", null},
        {"50%_1", "岚砚文具", "张三", "钱七", "孙八", "2026-03-01 08:00:00", "中通", "1"},
        {"SF1001", "岚砚文具", "张三", "甬兴机械", "李四", "2026-03-05", "顺丰速运", "2"},
    };
    for (const QVariantList &row : slipRows)
        insert(db, slip, row);

    const char *draft = "INSERT INTO DataCDHPTable (承兑协议号, 出票人全称, 收款人全称, "
                        "出票日期, 金额, 票据状态) VALUES (?, ?, ?, ?, ?, ?)";
    const QList<QVariantList> draftRows{
        {"XY-001", "岚砚文具", "飞鸿贸易", "2026-01-15", "1000", ""},
        {"XY-002", "岚砚文具", "甬兴机械", "2026-02-01", "1000.50", "已用"},
        {"XY-103", "东湖印务", "飞鸿贸易", "2026-02-01 10:00:00", "250000", "作废"},
        {"HT-104", "东湖印务", "飞鸿贸易有限公司", "2026-03-31", "999.99", ""},
        {"XY-105", "岚砚文具", "钱七", "2025-12-31", "3000", ""},
        {"XY-001", "东湖印务", "甬兴机械", "2026-02-28 23:59:59", "1500", ""},
    };
    for (const QVariantList &row : draftRows)
        insert(db, draft, row);
}

HistoryFilter fuzzy(QString HistoryFilter::*box, const char *text, bool isFuzzy = true)
{
    HistoryFilter f;
    f.*box = QString::fromUtf8(text);
    f.fuzzy = isFuzzy;
    return f;
}

HistoryFilter exact(QString HistoryFilter::*box, const char *text)
{
    return fuzzy(box, text, false);
}

HistoryFilter dates(QDate from, QDate to, HistoryFilter f = {})
{
    f.from = from;
    f.to = to;
    return f;
}

HistoryFilter amounts(std::optional<double> from, std::optional<double> to)
{
    HistoryFilter f;
    f.amountFrom = from;
    f.amountTo = to;
    return f;
}

HistoryFilter sortedBy(const char *column, HistoryFilter f)
{
    f.sortColumn = QString::fromUtf8(column);
    return f;
}

// The keys the window lists, in its order, and the count its summary line shows.
std::pair<QList<int>, int> search(Database &db, const HistoryKind &kind, const HistoryFilter &f)
{
    QSqlQueryModel model;
    QString error;
    const auto summary =
        BillHistory(db, kind).open(model, HistoryStatement::build(kind, f, db.backend()), error);
    EXPECT_TRUE(summary) << error.toStdString();
    while (model.canFetchMore())
        model.fetchMore();
    QList<int> ids;
    const int key = model.record().indexOf(kind.key);
    for (int row = 0; row < model.rowCount(); ++row)
        ids << model.data(model.index(row, key)).toInt();
    return {ids, summary ? summary->count : -1};
}

} // namespace

TEST(HistorySearch, EachConditionFindsTheBillsItNames)
{
    TestHome home;
    Database &db = home.db();
    seed(db);
    using F = HistoryFilter;
    const QDate mar1(2026, 3, 1);
    const struct
    {
        const char *what;
        const HistoryKind &kind;
        HistoryFilter filter;
        QList<int> ids;
    } cases[] = {
        {"every slip, newest first", slips, {}, {7, 6, 5, 4, 3, 2, 1}},
        {"number contains, any case", slips, fuzzy(&F::number, "t200"), {4, 3}},
        {"number contains a literal %", slips, fuzzy(&F::number, "%_"), {6}},
        {"number equals", slips, exact(&F::number, "SF1001"), {7, 1}},
        {"sender unit or contact contains", slips, fuzzy(&F::sender, "东湖"), {4, 3}},
        {"sender contact contains", slips, fuzzy(&F::sender, "王"), {2}},
        {"sender equals unit or contact", slips, exact(&F::sender, "张三"), {7, 6, 5, 3, 1}},
        {"receiver contains in unit or contact", slips, fuzzy(&F::receiver, "飞鸿"), {5, 4, 2, 1}},
        {"receiver equals, not contains", slips, exact(&F::receiver, "飞鸿贸易"), {5, 1}},
        {"receiver contact equals", slips, exact(&F::receiver, "飞鸿"), {2}},
        {"template contains", slips, fuzzy(&F::templateName, "圆通"), {4, 3}},
        {"template equals", slips, exact(&F::templateName, "中通"), {6}},
        {"one whole day", slips, dates(mar1, mar1), {6, 3, 2}},
        {"a range of days", slips, dates(QDate(2026, 2, 28), QDate(2026, 3, 2)), {6, 4, 3, 2, 1}},
        {"a year back", slips, dates(QDate(2025, 3, 5), QDate(2026, 3, 5)), {7, 6, 4, 3, 2, 1}},
        {"days and receiver",
         slips,
         dates(mar1, QDate(2026, 3, 5), fuzzy(&F::receiver, "甬兴")),
         {7, 3, 2}},
        {"days sorted by template", slips, sortedBy("模板种类", dates(mar1, mar1)), {2, 3, 6}},
        {"every draft", drafts, {}, {6, 5, 4, 3, 2, 1}},
        {"draft number contains", drafts, fuzzy(&F::number, "xy-00"), {6, 2, 1}},
        {"draft number equals", drafts, exact(&F::number, "XY-001"), {6, 1}},
        {"drawer contains", drafts, fuzzy(&F::sender, "东湖"), {6, 4, 3}},
        {"payee contains", drafts, fuzzy(&F::receiver, "飞鸿"), {4, 3, 1}},
        {"payee equals", drafts, exact(&F::receiver, "飞鸿贸易"), {3, 1}},
        {"issued in February", drafts, dates(QDate(2026, 2, 1), QDate(2026, 2, 28)), {6, 3, 2}},
        {"amount from", drafts, amounts(1000.5, {}), {6, 5, 3, 2}},
        {"amount to", drafts, amounts({}, 1000), {4, 1}},
        {"amount between", drafts, amounts(1000, 1500), {6, 2, 1}},
        {"amount and payee",
         drafts,
         [] {
             HistoryFilter f = amounts(1000, {});
             f.receiver = QStringLiteral("飞鸿");
             return f;
         }(),
         {3, 1}},
    };
    for (const auto &c : cases) {
        const auto [ids, count] = search(db, c.kind, c.filter);
        EXPECT_EQ(ids, c.ids) << c.what;
        EXPECT_EQ(count, c.ids.size()) << c.what;
    }
}

namespace {

// The indexes the searches use, by name.
QStringList indexes(Database &db)
{
    QSqlQuery q = db.query();
    EXPECT_TRUE(q.exec("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name IN "
                       "('DataKDDTable', 'DataCDHPTable')"));
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QStringList plan(Database &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q = db.query();
    EXPECT_TRUE(execBound(q, u"EXPLAIN QUERY PLAN " + sql, values))
        << q.lastError().text().toStdString();
    QStringList steps;
    while (q.next())
        steps << q.value(3).toString();
    return steps;
}

} // namespace

TEST(HistorySearch, UpgradedDatabaseSearchesOnIndexes)
{
    constexpr int kBeforeCoveringIndexes = 11;
    QTemporaryDir dir;
    const QString path = dir.filePath("EPData.ini");
    {
        // A file of the version before the covering indexes: its one-column history indexes.
        Database made("previous");
        ASSERT_NE(made.open(path), Database::Status::Unreadable);
        QSqlQuery q = made.query();
        for (const QString &name : indexes(made)) {
            if (name.startsWith(u"DataKDD_") || name.startsWith(u"DataCDHP_")) {
                ASSERT_TRUE(q.exec(u"DROP INDEX " + name));
            }
        }
        for (const char *sql : {"CREATE INDEX DataKDD_Date ON DataKDDTable (寄件日期)",
                                "CREATE INDEX DataKDD_Number ON DataKDDTable (快递单号)",
                                "CREATE INDEX DataKDD_Template ON DataKDDTable (模板种类)",
                                "CREATE INDEX DataKDD_Receiver ON DataKDDTable (收件单位)",
                                "CREATE INDEX DataKDD_Sender ON DataKDDTable (寄件单位)",
                                "CREATE INDEX DataCDHP_Date ON DataCDHPTable (出票日期)",
                                "CREATE INDEX DataCDHP_Number ON DataCDHPTable (承兑协议号)",
                                "CREATE INDEX DataCDHP_Drawer ON DataCDHPTable (出票人全称)",
                                "CREATE INDEX DataCDHP_Payee ON DataCDHPTable (收款人全称)"})
            ASSERT_TRUE(q.exec(QString::fromUtf8(sql)));
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kBeforeCoveringIndexes)));
    }
    Database db("upgraded");
    ASSERT_EQ(db.open(path), Database::Status::Opened) << db.problem().toStdString();
    const QStringList names = indexes(db);
    for (const char *old : {"DataKDD_Date", "DataKDD_Receiver", "DataCDHP_Payee"})
        EXPECT_FALSE(names.contains(QString::fromLatin1(old))) << old << " is superseded";

    using F = HistoryFilter;
    const QDate today(2026, 3, 5);
    const struct
    {
        const char *what;
        const HistoryKind &kind;
        HistoryFilter filter;
        const char *index;
    } cases[] = {
        {"slips of the last year", slips, dates(today.addDays(-365), today), "DataKDD_DateCharge"},
        {"slip number contains", slips, fuzzy(&F::number, "0008"), "DataKDD_NumberCharge"},
        {"slip number equals", slips, exact(&F::number, "SF1001"), "DataKDD_NumberCharge"},
        {"receiver contains", slips, fuzzy(&F::receiver, "飞鸿"), "DataKDD_ReceiverCharge"},
        {"receiver equals", slips, exact(&F::receiver, "飞鸿"), "DataKDD_ReceiverContact"},
        {"sender contains", slips, fuzzy(&F::sender, "张"), "DataKDD_SenderCharge"},
        {"sender equals", slips, exact(&F::sender, "张三"), "DataKDD_SenderContact"},
        {"template contains", slips, fuzzy(&F::templateName, "圆通"), "DataKDD_TemplateCharge"},
        {"drafts of the last year", drafts, dates(today.addDays(-365), today),
         "DataCDHP_DateAmount"},
        {"draft number contains", drafts, fuzzy(&F::number, "0099"), "DataCDHP_NumberAmount"},
        {"payee contains", drafts, fuzzy(&F::receiver, "甬兴"), "DataCDHP_PayeeAmount"},
        {"drawer equals", drafts, exact(&F::sender, "岚砚文具"), "DataCDHP_DrawerAmount"},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(names.contains(QString::fromLatin1(c.index))) << c.index;
        const HistoryStatement s = HistoryStatement::build(c.kind, c.filter, db.backend());
        for (const QStringList &steps :
             {plan(db, s.sql(), s.values), plan(db, s.summarySql(), s.values)}) {
            const std::string shown = steps.join(u" | ").toStdString();
            EXPECT_TRUE(steps.join(u' ').contains(QString::fromLatin1(c.index)))
                << c.what << ": " << shown;
            // Neither a pass over whole rows nor a sort of them.
            EXPECT_FALSE(steps.contains(u"SCAN " + c.kind.table)) << c.what << ": " << shown;
            EXPECT_FALSE(steps.join(u' ').contains(u"TEMP B-TREE")) << c.what << ": " << shown;
        }
    }
    // Opening a window counts and sums every bill on the amount's index alone.
    for (const HistoryKind *kind : {&slips, &drafts})
        EXPECT_TRUE(plan(db, HistoryStatement::build(*kind, {}, db.backend()).summarySql(), {})
                        .join(u' ')
                        .contains(u"COVERING INDEX"));
}
