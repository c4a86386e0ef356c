#include "RefusingTrigger.h"
#include "TestHome.h"
#include "data/BoundQuery.h"
#include "data/spreadsheet/XlsxWriter.h"
#include "history/BillHistory.h"
#include "history/HistoryExport.h"
#include "history/HistoryModel.h"
#include "history/HistoryStatement.h"

#include <QColor>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace {

const HistoryKind &slips = HistoryKind::expressSlips();
const HistoryKind &drafts = HistoryKind::acceptanceDrafts();

int addSlip(Database &db, const QString &number, const QString &date, const QVariant &charge,
            const QString &receiver = {})
{
    QSqlQuery q = db.query();
    const QVariant id =
        db.insertReturningKey(q,
                              "INSERT INTO DataKDDTable (快递单号, 寄件日期, 总费用, 收件单位, "
                              "模板种类) VALUES (?, ?, ?, ?, '顺丰')",
                              {number, date, charge, receiver}, "流水号");
    EXPECT_TRUE(id.isValid());
    return id.toInt();
}

int addDraft(Database &db, const QString &amount, const QString &state = {})
{
    QSqlQuery q = db.query();
    const QVariant id = db.insertReturningKey(q,
                                              "INSERT INTO DataCDHPTable (承兑协议号, 金额, "
                                              "票据状态, 出票日期, 出票人全称) VALUES (?, ?, ?, "
                                              "'2026-05-01', '岚砚公司')",
                                              {QString("XY-" + amount), amount, state}, "流水号");
    EXPECT_TRUE(id.isValid());
    return id.toInt();
}

// The keys the statement lists, in its order.
QList<int> listed(Database &db, const HistoryStatement &s)
{
    QSqlQuery q = db.query();
    EXPECT_TRUE(execBound(q, s.sql(), s.values)) << q.lastError().text().toStdString();
    QList<int> ids;
    while (q.next())
        ids << q.value("流水号").toInt();
    return ids;
}

QString stateOf(Database &db, int id)
{
    QSqlQuery q = db.query();
    execBound(q, "SELECT 票据状态 FROM DataCDHPTable WHERE 流水号 = ?", QVariantList{id});
    return q.next() ? q.value(0).toString() : QString();
}

} // namespace

TEST(HistoryStatement, TextMatchesLiterallyExactOrFuzzy)
{
    TestHome home;
    Database &db = home.db();
    const int plain = addSlip(db, "SF1001", "2026-03-01", "10");
    const int percent = addSlip(db, "50%_off", "2026-03-01", "10");
    const int quote = addSlip(db, "O'Neil", "2026-03-01", "10", "李四's shop");
    const int under = addSlip(db, "50a-off", "2026-03-01", "10");
    const struct
    {
        QString number;
        bool fuzzy;
        QList<int> ids;
    } cases[] = {
        {"100", true, {plain}},     {"100", false, {}},      {"SF1001", false, {plain}},
        {"%", true, {percent}},     {"%_", true, {percent}}, {"_", true, {percent}},
        {"O'Neil", false, {quote}}, {"'", true, {quote}},    {"50", true, {under, percent}},
    };
    for (const auto &c : cases) {
        HistoryFilter f;
        f.number = c.number;
        f.fuzzy = c.fuzzy;
        EXPECT_EQ(listed(db, HistoryStatement::build(slips, f, db.backend())), c.ids)
            << c.number.toStdString() << " fuzzy " << c.fuzzy;
    }
    HistoryFilter byReceiver;
    byReceiver.receiver = "'s sh";
    EXPECT_EQ(listed(db, HistoryStatement::build(slips, byReceiver, db.backend())),
              QList<int>{quote});
}

TEST(HistoryStatement, DateRangeTakesWholeDaysAndSortKeepsNewestFirstOnTies)
{
    TestHome home;
    Database &db = home.db();
    addSlip(db, "A", "2026-02-28", "1");
    const int morning = addSlip(db, "B", "2026-03-01", "1");
    const int night = addSlip(db, "C", "2026-03-01 23:59:59", "1");
    addSlip(db, "D", "2026-03-02", "1");
    HistoryFilter f;
    f.from = f.to = QDate(2026, 3, 1);
    EXPECT_EQ(listed(db, HistoryStatement::build(slips, f, db.backend())),
              (QList<int>{night, morning}));

    // Another column sorts descending; equal values keep the newest bill first.
    HistoryFilter sorted;
    sorted.sortColumn = "总费用";
    EXPECT_EQ(listed(db, HistoryStatement::build(slips, sorted, db.backend())).first(), 4);
    sorted.sortColumn = "快递单号";
    EXPECT_EQ(listed(db, HistoryStatement::build(slips, sorted, db.backend())),
              (QList<int>{4, 3, 2, 1}));
    // A name that is not a column never reaches the statement.
    sorted.sortColumn = "快递单号\"; DROP TABLE DataKDDTable; --";
    EXPECT_EQ(HistoryStatement::build(slips, sorted, db.backend()).orderBy,
              " ORDER BY \"流水号\" DESC");
}

TEST(HistoryStatement, IdentityChangesWithValuesNotOnlyText)
{
    HistoryFilter a;
    a.number = "1";
    HistoryFilter b = a;
    const auto sqlite = Database::Backend::Sqlite;
    EXPECT_EQ(HistoryStatement::build(slips, a, sqlite).identity(),
              HistoryStatement::build(slips, b, sqlite).identity());
    b.number = "2";
    EXPECT_NE(HistoryStatement::build(slips, a, sqlite).identity(),
              HistoryStatement::build(slips, b, sqlite).identity());
}

TEST(HistoryText, AmountBoundsAndSumText)
{
    const struct
    {
        const char *text;
        std::optional<double> bound;
    } bounds[] = {
        {"1000.50", 1000.5},     {"12", 12.0},        {"-5", std::nullopt}, {"1,000", std::nullopt},
        {"1.2.3", std::nullopt}, {".", std::nullopt}, {"", std::nullopt},   {"１２", std::nullopt},
        {"1e3", std::nullopt}};
    for (const auto &b : bounds)
        EXPECT_EQ(HistoryText::amountBound(QString::fromUtf8(b.text)), b.bound) << b.text;
    // Sums come in ten-thousandths.
    EXPECT_EQ(HistoryText::sumText(QVariant()), "");
    for (const auto &[scaled, text] : {std::pair<qint64, const char *>{3000, "0.3"},
                                       {0, "0"},
                                       {-12500, "-1.25"},
                                       {250252209376300, "25025220937.63"},
                                       {123456789, "12345.6789"}})
        EXPECT_EQ(HistoryText::sumText(QVariant(scaled)), text) << scaled;
}

TEST(BillHistory, SumSkipsBlankChargesAndIsEmptyWithoutRows)
{
    TestHome home;
    Database &db = home.db();
    BillHistory history(db, slips);
    HistoryFilter f;
    QSqlQueryModel model;
    QString error;
    auto summary = history.open(model, HistoryStatement::build(slips, f, db.backend()), error);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->count, 0);
    EXPECT_TRUE(summary->sum.isNull());

    addSlip(db, "A", "2026-03-01", "12.5");
    addSlip(db, "B", "2026-03-01", "  ");
    addSlip(db, "C", "2026-03-01", QVariant());
    addSlip(db, "D", "2026-03-01", "7元");
    summary = history.open(model, HistoryStatement::build(slips, f, db.backend()), error);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->count, 4);
    EXPECT_EQ(HistoryText::sumText(summary->sum), "19.5");
    EXPECT_EQ(model.rowCount(), 4);
}

TEST(BillHistory, SumOfManyAmountsIsExactToTheCent)
{
    TestHome home;
    Database &db = home.db();
    // A thousand times 2502522.09 added as binary fractions ends at 2502522089.99999.
    db.inTransaction([&] {
        for (int i = 0; i < 1000; ++i)
            addSlip(db, "A", "2026-03-01", "2502522.09");
        return true;
    });
    QSqlQueryModel model;
    QString error;
    const auto summary =
        BillHistory(db, slips).open(model, HistoryStatement::build(slips, {}, db.backend()), error);
    ASSERT_TRUE(summary) << error.toStdString();
    EXPECT_EQ(HistoryText::sumText(summary->sum), "2502522090");
}

TEST(BillHistory, AmountRangeOnDrafts)
{
    TestHome home;
    Database &db = home.db();
    addDraft(db, "999.99");
    const int exact = addDraft(db, "1000.50");
    const int big = addDraft(db, "20000");
    HistoryFilter f;
    f.amountFrom = 1000.5;
    EXPECT_EQ(listed(db, HistoryStatement::build(drafts, f, db.backend())),
              (QList<int>{big, exact}));
    f.amountTo = 1000.5;
    EXPECT_EQ(listed(db, HistoryStatement::build(drafts, f, db.backend())), QList<int>{exact});
}

TEST(BillHistory, VoidingCountsAgainAndIsAllOrNothing)
{
    TestHome home;
    Database &db = home.db();
    BillHistory history(db, drafts);
    const int a = addDraft(db, "1");
    const int b = addDraft(db, "2", "已用");
    QString error;
    EXPECT_EQ(history.voidBills({a, b}, error), 2);
    EXPECT_EQ(history.voidBills({a, b}, error), 2);
    EXPECT_EQ(stateOf(db, b), "作废");

    // One row that cannot change keeps every other row as it was.
    const int c = addDraft(db, "3");
    QVariantList many;
    db.inTransaction([&] {
        for (int i = 0; i < 600; ++i)
            many << addDraft(db, QString::number(i));
        return true;
    });
    ASSERT_TRUE((RefusingTrigger{"refuse", "UPDATE", "DataCDHPTable",
                                 QString("OLD.流水号 = %1").arg(many.last().toInt())}
                     .install(db)));
    EXPECT_FALSE(history.voidBills(QVariantList{c} + many, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(stateOf(db, c), "");
    EXPECT_EQ(stateOf(db, many.first().toInt()), "");
}

TEST(BillHistory, CopiesDraftsIntoTheBatchListWithItsGroup)
{
    TestHome home;
    Database &db = home.db();
    BillHistory history(db, drafts);
    const int a = addDraft(db, "100");
    const int b = addDraft(db, "200");
    QString error;
    EXPECT_EQ(history.copyToBatch(QVariantList{b, a}, "三月'批", error), 2);
    HistoryFilter f;
    f.amountFrom = 150;
    EXPECT_EQ(history.copyToBatch(HistoryStatement::build(drafts, f, db.backend()), "全部", error),
              1);
    QSqlQuery q = db.query();
    ASSERT_TRUE(q.exec("SELECT 金额, 批打分组, 出票人全称 FROM MultiPrintCDHP ORDER BY ID"));
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString() + "/" + q.value(1).toString() + "/" + q.value(2).toString();
    EXPECT_EQ(rows,
              (QStringList{"200/三月'批/岚砚公司", "100/三月'批/岚砚公司", "200/全部/岚砚公司"}));
}

TEST(HistoryModel, ColoursRowsByState)
{
    TestHome home;
    Database &db = home.db();
    addDraft(db, "1", "作废");
    addDraft(db, "2", "已用");
    addDraft(db, "3", "未用");
    HistoryModel model(drafts.stateColumn);
    QSqlQuery q = db.query();
    q.exec("SELECT * FROM DataCDHPTable ORDER BY 流水号");
    model.setQuery(std::move(q));
    ASSERT_EQ(model.rowCount(), 3);
    const int amount = model.record().indexOf("金额");
    auto colour = [&](int row, Qt::ItemDataRole role) {
        return model.index(row, amount).data(role).value<QColor>();
    };
    EXPECT_EQ(colour(0, Qt::BackgroundRole), QColor(Qt::red));
    EXPECT_EQ(colour(0, Qt::ForegroundRole), QColor(Qt::white));
    EXPECT_EQ(colour(1, Qt::BackgroundRole), QColor(Qt::yellow));
    EXPECT_EQ(colour(1, Qt::ForegroundRole), QColor(Qt::black));
    EXPECT_FALSE(model.index(2, amount).data(Qt::BackgroundRole).isValid());
}

TEST(HistoryExport, WritesEveryListedRowOrNothingWhenCancelled)
{
    TestHome home;
    Database &db = home.db();
    db.inTransaction([&] {
        for (int i = 0; i < 300; ++i)
            addSlip(db, QString("00%1").arg(1000000000 + i), "2026-03-01", "1");
        return true;
    });
    HistoryFilter f;
    f.number = "0010000002";
    const HistoryStatement s = HistoryStatement::build(slips, f, db.backend());
    const QString path = home.path() + "export.xlsx";

    HistoryExport::Progress cancelled;
    cancelled.cancel = true;
    {
        XlsxWriter book(path);
        const HistoryExport::Result r = HistoryExport::run(db, s, book, cancelled);
        EXPECT_TRUE(r.cancelled);
    }
    EXPECT_FALSE(QFile::exists(path));

    HistoryExport::Progress progress;
    XlsxWriter book(path);
    const HistoryExport::Result r = HistoryExport::run(db, s, book, progress);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.rows, 100);
    EXPECT_EQ(progress.total, 100);
    QString error;
    auto reader = home.services().spreadsheets().open(path, error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->usedRows(), 101);
    EXPECT_EQ(reader->cellText(1, 1), "流水号");
    // Listed order, and long numbers keep their leading zeros.
    EXPECT_EQ(reader->cellText(2, 1), "300");
    int number = 1;
    while (number <= reader->usedColumns() && reader->cellText(1, number) != "快递单号")
        ++number;
    EXPECT_EQ(reader->cellText(2, number), "001000000299");
}

TEST(HistoryExport, AmountsAreNumbersInTheSheetAndCodesStayText)
{
    TestHome home;
    Database &db = home.db();
    for (const char *charge : {"12.5", "7元", "0012", "", "-3"})
        addSlip(db, "0012345", "2026-03-01", QString::fromUtf8(charge));
    const QString path = home.path() + "numbers.xlsx";
    HistoryExport::Progress progress;
    {
        XlsxWriter book(path);
        const HistoryExport::Result r = HistoryExport::run(
            db, HistoryStatement::build(slips, {}, db.backend()), book, progress);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    }
    // The sheet as any spreadsheet program reads it: a number cell has a value and no type.
    QProcess unzip;
    unzip.start("unzip", {"-p", path, "xl/worksheets/sheet1.xml"});
    ASSERT_TRUE(unzip.waitForFinished());
    const QString sheet = QString::fromUtf8(unzip.readAllStandardOutput());
    QStringList numbers;
    static const QRegularExpression numberCell(
        QStringLiteral("<c r=\"[A-Z]+\\d+\" s=\"3\"><v>([^<]*)</v>"));
    for (auto m = numberCell.globalMatch(sheet); m.hasNext();)
        numbers << m.next().captured(1);
    // Newest first; "7元" and "0012" are no plain numbers.
    EXPECT_EQ(numbers, (QStringList{"-3", "12.5"}));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<t xml:space=\"preserve\">7元</t>")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<t xml:space=\"preserve\">0012345</t>")));
}
