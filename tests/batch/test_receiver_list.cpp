#include "TestHome.h"
#include "batch/BatchRunLog.h"
#include "batch/ReceiverList.h"
#include "data/TPersonKDD.h"

#include <QDate>
#include <QSet>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <thread>

namespace {

int rows(Database &db)
{
    QSqlQuery q = db.query();
    q.exec(QStringLiteral("SELECT COUNT(*) FROM ReceiverList"));
    return q.next() ? q.value(0).toInt() : -1;
}

} // namespace

TEST(ReceiverList, StoresARecognisedPartyWithoutAGroup)
{
    TestHome home;
    TPersonKDD p;
    p.Contactor = QStringLiteral("O'Brien 张三");
    p.Address = QStringLiteral("科苑路15号");
    p.Province = QStringLiteral("广东省");
    p.City = QStringLiteral("深圳市");
    p.Town = QStringLiteral("南山区");
    p.Handset = QStringLiteral("13812345678");
    p.GoodsDesc = QStringLiteral("书");
    p.DestSite = QStringLiteral("深圳市");
    ReceiverList list(home.db());
    ASSERT_EQ(list.addReceiverAndGoods(p), ReceiverList::Added::Row);

    QSqlQuery q = home.db().query();
    q.exec(QStringLiteral("SELECT 联系人, 地址, 省, 市, 镇区, 手机, 内件说明, 目的站, 批打分组 "
                          "FROM ReceiverList"));
    ASSERT_TRUE(q.next());
    const QStringList expected{p.Contactor, p.Address,   p.Province, p.City,   p.Town,
                               p.Handset,   p.GoodsDesc, p.DestSite, QString()};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(q.value(i).toString(), expected[i]) << i;
}

TEST(ReceiverList, NeverStoresAPartyWithoutNameContactOrAddress)
{
    TestHome home;
    ReceiverList list(home.db());
    TPersonKDD p;
    p.Phone = QStringLiteral("0571-88886666");
    p.Province = QStringLiteral("浙江省");
    EXPECT_EQ(list.addReceiverAndGoods(p), ReceiverList::Added::Nothing);
    p.FullName = QStringLiteral("  ");
    p.Contactor = QStringLiteral("\t");
    EXPECT_EQ(list.addReceiverAndGoods(p), ReceiverList::Added::Nothing);
    EXPECT_EQ(rows(home.db()), 0);

    home.db().query().exec(QStringLiteral("DROP TABLE ReceiverList"));
    p.FullName = QStringLiteral("岚砚商贸");
    QString error;
    EXPECT_EQ(list.addReceiverAndGoods(p, &error), ReceiverList::Added::Failed);
    EXPECT_FALSE(error.isEmpty());
}

namespace {

// Stores rows (全称, 省, 市, 批打分组) and answers their IDs.
QList<int> addRows(Database &db, const QList<QStringList> &rows)
{
    QList<int> ids;
    QSqlQuery q = db.query();
    for (const QStringList &r : rows) {
        const QVariant id = db.insertReturningKey(
            q,
            QStringLiteral("INSERT INTO ReceiverList (全称, 省, 市, 批打分组) VALUES (?, ?, ?, ?)"),
            QVariantList(r.begin(), r.end()), "ID");
        EXPECT_TRUE(id.isValid());
        ids << id.toInt();
    }
    return ids;
}

QStringList listed(Database &db, const ReceiverList::Filter &filter)
{
    QString error;
    const auto s = ReceiverList::listStatement(filter, &error);
    EXPECT_TRUE(s) << error.toStdString();
    QSqlQuery q = db.query();
    q.prepare(s->sql);
    for (const QVariant &v : s->values)
        q.addBindValue(v);
    EXPECT_TRUE(q.exec());
    QStringList names;
    while (q.next())
        names << q.value(QStringLiteral("全称")).toString();
    return names;
}

} // namespace

TEST(ReceiverList, ListsByGroupKeyStatusAndOrder)
{
    TestHome home;
    const QList<int> ids = addRows(home.db(), {{"甲 O'Neil", "广东省", "深圳市", ""},
                                               {"乙", "浙江省", "杭州市", "  "},
                                               {"丙", "广东省", "广州市", "导入组"},
                                               {"丁_100%", "广东省", "佛山市", ""}});
    ReceiverList list(home.db());
    using F = ReceiverList::Filter;
    struct Case
    {
        F filter;
        QStringList expected;
    };
    F byProvince;
    byProvince.keyColumns = {"省", "市"};
    byProvince.key = " 广东 ";
    F exact;
    exact.keyColumns = {"全称"};
    exact.keyEquals = true;
    exact.key = "甲 O'Neil";
    F literal;
    literal.keyColumns = {"全称"};
    literal.key = "_100%";
    F descending;
    descending.orderColumn = "市";
    descending.descending = true;
    F group;
    group.group = "导入组";
    F all;
    all.group = "全部列表";
    const QList<Case> cases{
        {F{}, {"甲 O'Neil", "乙", "丁_100%"}}, // rows of a batch group are not listed
        {byProvince, {"甲 O'Neil", "丁_100%"}},
        {exact, {"甲 O'Neil"}},
        {literal, {"丁_100%"}}, // the key's % and _ are plain characters
        {descending, {"甲 O'Neil", "乙", "丁_100%"}},
        {group, {"丙"}},
        {all, {"甲 O'Neil", "乙", "丙", "丁_100%"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(listed(home.db(), c.filter), c.expected) << c.expected.join(',').toStdString();

    QString error;
    ASSERT_TRUE(list.moveTo({ids[1]}, QString::fromUtf8(ReceiverList::kTemporary), &error));
    F tab;
    tab.status = QString();
    EXPECT_EQ(listed(home.db(), tab), (QStringList{"甲 O'Neil", "丁_100%"}));
    tab.status = QString::fromUtf8(ReceiverList::kTemporary);
    EXPECT_EQ(listed(home.db(), tab), QStringList{"乙"});

    // Column names come from the user's boxes: anything else is refused, never spliced.
    F injected;
    injected.keyColumns = {"全称) OR (1=1"};
    injected.key = "x";
    EXPECT_FALSE(ReceiverList::listStatement(injected, &error));
    injected = F();
    injected.orderColumn = "ID; DROP TABLE x";
    EXPECT_FALSE(ReceiverList::listStatement(injected, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ReceiverList, EntryDateIsStoredAndFiltered)
{
    TestHome home;
    addRows(home.db(), {{"甲", "", "", ""}});
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT 录入日期 FROM ReceiverList")) && q.next());
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_TRUE(q.value(0).toString().startsWith(today)) << q.value(0).toString().toStdString();

    ReceiverList::Filter f;
    f.enteredFrom = today + " 00:00:00";
    f.enteredTo = today + " 23:59:59";
    EXPECT_EQ(listed(home.db(), f), QStringList{"甲"});
    f.enteredFrom = f.enteredTo = "2000-01-01 00:00:00";
    EXPECT_TRUE(listed(home.db(), f).isEmpty());
}

TEST(ReceiverList, ClearingRestartsTheNumbering)
{
    TestHome home;
    addRows(home.db(), {{"甲", "", "", ""}, {"乙", "", "", ""}});
    ReceiverList list(home.db());
    EXPECT_TRUE(list.clearAll().isEmpty());
    EXPECT_EQ(addRows(home.db(), {{"丙", "", "", "组"}}), QList<int>{1});
}

TEST(ReceiverList, FillColumnJoinsColumnsAndTextsOnTheGivenRowsOnly)
{
    TestHome home;
    const QList<int> ids =
        addRows(home.db(), {{"甲", "广东省", "深圳市", ""}, {"乙", "浙江省", "", ""}});
    QSqlQuery(home.db().connection())
        .exec(QStringLiteral("UPDATE ReceiverList SET 地址 = '科苑路1号' WHERE ID = 1"));
    ReceiverList list(home.db());
    QString error;
    EXPECT_EQ(list.fillColumn({ids[0]}, "@地址", {"@省", "@市", "@地址"}, &error), 1);
    EXPECT_EQ(list.fillColumn(ids, "@备注", {"收货地址:", "@市", " 'x'--"}, &error), 2);
    EXPECT_EQ(list.row(ids[0], &error)->value("地址"), QStringLiteral("广东省深圳市科苑路1号"));
    EXPECT_EQ(list.row(ids[0], &error)->value("备注"), QStringLiteral("收货地址:深圳市'x'--"));
    EXPECT_EQ(list.row(ids[1], &error)->value("备注"), QStringLiteral("收货地址:'x'--"));
    EXPECT_EQ(list.row(ids[1], &error)->value("地址"), QString());

    EXPECT_EQ(list.fillColumn({ids[1]}, "省", {"", "", ""}, &error), 1);
    EXPECT_EQ(list.row(ids[1], &error)->value("省"), QString());
    EXPECT_EQ(list.row(ids[0], &error)->value("省"), QStringLiteral("广东省"));

    for (const auto &[target, operand] :
         {std::pair{"@ID", "@省"}, std::pair{"@省", "@无此列"}, std::pair{"省=1;", "x"}})
        EXPECT_FALSE(list.fillColumn(ids, target, {operand}, &error)) << target;
    EXPECT_FALSE(list.row(99, &error));
}

TEST(BatchRunLog, ARunIsOnRecordBeforeItsRowsAreMarkedAndNoNumberIsGivenTwice)
{
    TestHome home;
    const QList<int> ids =
        addRows(home.db(), {{"甲", "", "", ""}, {"乙", "", "", ""}, {"丙", "", "", ""}});
    BatchRunLog log(home.db(), QStringLiteral("ReceiverList"));
    QString error;
    ReceiverList list(home.db());
    ReceiverList::Filter unprinted;
    unprinted.status = QString();

    // Sending: on record, the rows not yet marked.
    const QList<int> order{ids[2], ids[0]};
    const int first = log.begin(order, "Bill Printer", "张会计", &error);
    ASSERT_EQ(first, 1) << error.toStdString();
    EXPECT_EQ(listed(home.db(), unprinted).size(), 3);
    auto runs = log.runs(&error);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].rows, order);
    EXPECT_EQ(runs[0].state, QString::fromUtf8(BatchRunLog::kSending));
    EXPECT_EQ(runs[0].printer, "Bill Printer");
    EXPECT_EQ(runs[0].operatorName, QStringLiteral("张会计"));
    EXPECT_EQ(runs[0].pages, 2);

    ASSERT_TRUE(log.sent(first, &error)) << error.toStdString();
    EXPECT_EQ(listed(home.db(), unprinted), QStringList{"乙"});
    const auto row = list.row(ids[2], &error);
    EXPECT_EQ(row->value("打印批次"), "1");
    EXPECT_EQ(row->value("打印状态"), QString::fromUtf8(ReceiverList::kPrinted));
    EXPECT_EQ(row->value("打印时间"), log.runs(&error)[0].time);
    EXPECT_TRUE(log.recoverInterrupted(&error).isEmpty());

    // A run that never reached the paper keeps its number; so do numbers older versions left
    // in either list, and the draft list's runs share the numbering.
    const int thrownAway = log.begin({ids[1]}, "Bill Printer", "", &error);
    ASSERT_TRUE(log.notSent(thrownAway, &error));
    EXPECT_EQ(list.row(ids[1], &error)->value("打印批次"), "");
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("INSERT INTO MultiPrintCDHP (收款人全称, 打印批次) VALUES ('旧', 7)"));
    EXPECT_EQ(BatchRunLog(home.db(), "MultiPrintCDHP").begin({1}, "", "", &error), 8);
    EXPECT_EQ(log.begin({ids[1]}, "", "", &error), 9);
    EXPECT_EQ(log.runs(&error).size(), 3); // the draft list's run is not this list's
}

TEST(BatchRunLog, ARunCutOffWhileSendingMarksItsRowsAsUnconfirmedOnce)
{
    TestHome home;
    const QList<int> ids = addRows(home.db(), {{"甲", "", "", ""}, {"乙", "", "", ""}});
    QString error;
    ASSERT_EQ(BatchRunLog(home.db(), "ReceiverList").begin(ids, "Bill Printer", "", &error), 1);
    // The program was killed here; the next one finds the run.
    BatchRunLog after(home.db(), "ReceiverList");
    const QList<BatchRun> cut = after.recoverInterrupted(&error);
    ASSERT_EQ(cut.size(), 1) << error.toStdString();
    EXPECT_EQ(cut[0].number, 1);
    EXPECT_EQ(cut[0].state, QString::fromUtf8(BatchRunLog::kUnconfirmed));
    ReceiverList::Filter unprinted;
    unprinted.status = QString();
    EXPECT_TRUE(listed(home.db(), unprinted).isEmpty());
    EXPECT_TRUE(after.recoverInterrupted(&error).isEmpty());
    EXPECT_EQ(after.runs(&error)[0].state, QString::fromUtf8(BatchRunLog::kUnconfirmed));
}

TEST(BatchRunLog, WorkstationsStartingRunsAtOnceNeverShareANumber)
{
    TestHome home;
    constexpr int kRuns = 25;
    const QStringList stations{"甲机", "乙机"};
    std::vector<QList<int>> numbers(stations.size());
    std::vector<QString> errors(stations.size());
    std::vector<std::thread> threads;
    for (int s = 0; s < stations.size(); ++s)
        threads.emplace_back([&, s] {
            // A connection of its own, as another workstation has.
            Database db(u"station" + QString::number(s));
            if (home.openAnother(db) != Database::Status::Opened) {
                errors[s] = db.problem();
                return;
            }
            db.setWorkstation(stations[s]);
            BatchRunLog log(db, QStringLiteral("ReceiverList"));
            for (int i = 0; i < kRuns && errors[s].isEmpty(); ++i)
                numbers[s] << log.begin({1}, "", "", &errors[s]);
        });
    for (std::thread &t : threads)
        t.join();
    QSet<int> all;
    for (int s = 0; s < stations.size(); ++s) {
        EXPECT_TRUE(errors[s].isEmpty()) << errors[s].toStdString();
        EXPECT_EQ(numbers[s].size(), kRuns);
        for (int n : std::as_const(numbers[s]))
            all << n;
    }
    EXPECT_EQ(all.size(), 2 * kRuns);
    EXPECT_FALSE(all.contains(0));

    // Each run names its workstation; a run still on its way to the printer on the other one
    // is not this workstation's to call cut off.
    QString error;
    const QList<BatchRun> runs = BatchRunLog(home.db(), "ReceiverList").runs(&error);
    ASSERT_EQ(runs.size(), 2 * kRuns) << error.toStdString();
    for (const BatchRun &r : runs)
        EXPECT_EQ(r.workstation, stations[numbers[0].contains(r.number) ? 0 : 1]) << r.number;
    home.db().setWorkstation(stations[0]);
    const QList<BatchRun> cut = BatchRunLog(home.db(), "ReceiverList").recoverInterrupted(&error);
    EXPECT_EQ(cut.size(), kRuns) << error.toStdString();
    for (const BatchRun &r : cut)
        EXPECT_TRUE(numbers[0].contains(r.number)) << r.number;
}
