#include "TestHome.h"
#include "batch/ReceiverList.h"
#include "data/BoundQuery.h"
#include "data/TPersonKDD.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

void add(TestHome &home, const QString &name, const QString &contact, const QString &group = {})
{
    QSqlQuery q(home.db().connection());
    ASSERT_TRUE(execBound(q, "INSERT INTO ReceiverList (全称, 联系人, 批打分组) VALUES (?, ?, ?)",
                          {name, contact, group}));
}

QStringList listed(TestHome &home, const ReceiverFilter &filter)
{
    QString error;
    const auto statement = ReceiverList::listStatement(filter, &error);
    EXPECT_TRUE(statement) << error.toStdString();
    QStringList names;
    QSqlQuery q(home.db().connection());
    if (statement && execBound(q, statement->sql, statement->values)) {
        while (q.next())
            names << q.value(QStringLiteral("全称")).toString();
    }
    return names;
}

QStringList column(TestHome &home, const QString &sql)
{
    QStringList values;
    QSqlQuery q(home.db().connection());
    EXPECT_TRUE(q.exec(sql));
    while (q.next())
        values << q.value(0).toString();
    return values;
}

} // namespace

TEST(ReceiverList, ListingByGroupKeyAndOrder)
{
    TestHome home;
    add(home, "甲's 100%", "张");
    add(home, "乙", "李");
    add(home, "丙", "王", "上午");
    add(home, "丁", "张", "  ");
    const auto filter = [](QString group, QString columns, QString key, bool equals = false,
                           bool descending = false) {
        return ReceiverFilter{group, columns, key, equals, {}, descending};
    };
    const struct
    {
        ReceiverFilter filter;
        QStringList names;
    } cases[] = {
        {filter({}, {}, {}), {"甲's 100%", "乙", "丁"}}, // grouped rows are not listed
        {filter("全部列表", {}, {}, false, true), {"丁", "丙", "乙", "甲's 100%"}},
        {filter("上午", {}, {}), {"丙"}},
        {filter({}, "联系人|全称", "张"), {"甲's 100%", "丁"}},
        {filter({}, "联系人|全称", "'s 100%"), {"甲's 100%"}},
        {filter({}, "全称", "_"), {}}, // a wildcard in the key is just a character
        {filter({}, "联系人", "张", true), {"甲's 100%", "丁"}},
        {filter({}, "联系人", "张三", true), {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(listed(home, c.filter), c.names) << c.filter.keyColumns.toStdString();

    QString error;
    EXPECT_FALSE(ReceiverList::listStatement(filter({}, "全称|x; DROP TABLE a", "k"), &error));
    EXPECT_TRUE(error.contains("没有这一列"));
}

TEST(ReceiverList, AddingClearingAndNumbering)
{
    TestHome home;
    ReceiverList list(home.db());
    TPersonKDD p;
    p.Reset();
    p.Phone = "010-1";
    EXPECT_FALSE(list.addReceiverAndGoods(p)); // no name, contact or address
    p.Address = "北京";
    p.GoodsDesc = "茶叶";
    EXPECT_TRUE(list.addReceiverAndGoods(p));
    EXPECT_TRUE(list.addReceiverAndGoods(p));
    EXPECT_EQ(column(home, "SELECT ID || '|' || 内件说明 || '|' || 批打分组 FROM ReceiverList"),
              QStringList({"1|茶叶|", "2|茶叶|"}));
    QString error;
    ASSERT_TRUE(list.clearAll(&error)) << error.toStdString();
    EXPECT_TRUE(list.addReceiverAndGoods(p));
    EXPECT_EQ(column(home, "SELECT ID FROM ReceiverList"), QStringList({"1"}));
}

TEST(ReceiverList, ColumnFillJoinsColumnsAndConstants)
{
    TestHome home;
    ReceiverList list(home.db());
    QSqlQuery q(home.db().connection());
    ASSERT_TRUE(q.exec("INSERT INTO ReceiverList (省, 市, 地址) VALUES ('浙江', '杭州', '文三路'), "
                       "(NULL, '上海', '世纪大道')"));
    QString error;
    EXPECT_EQ(list.applyColumnFill("@地址", {"@省", "@市", "@地址"}, &error), 2);
    EXPECT_EQ(list.applyColumnFill("@备注", {"收货人's", "", "【务必本人签收】"}, &error), 2);
    EXPECT_EQ(column(home, "SELECT 地址 || '|' || 备注 FROM ReceiverList ORDER BY ID"),
              QStringList({"浙江杭州文三路|收货人's【务必本人签收】",
                           "上海世纪大道|收货人's【务必本人签收】"}));
    EXPECT_EQ(list.applyColumnFill("@备注", {"", "", ""}, &error), 2);
    EXPECT_EQ(column(home, "SELECT DISTINCT 备注 FROM ReceiverList"), QStringList({""}));
    EXPECT_EQ(list.applyColumnFill("@ID", {"1"}, &error), -1);
    EXPECT_EQ(list.applyColumnFill("@地址", {"@地址 = 1; --"}, &error), -1);
}

TEST(ReceiverList, SlipValuesFollowTheVisibleColumns)
{
    const QHash<QString, QString> row{{"全称", "甲"},    {"电话", "010-1"},  {"手机", "139"},
                                      {"费用", "12"},    {"目的站", "杭州"}, {"金额大写1", "120"},
                                      {"内件说明", "茶"}};
    const auto valueOf = [](const QList<QPair<QString, QString>> &values,
                            const QString &control) -> std::optional<QString> {
        for (const auto &[c, v] : values)
            if (c == control)
                return v;
        return std::nullopt;
    };
    const QStringList all{"ID", "全称", "费用", "目的站", "金额大写1", "内件说明"};

    auto values = ReceiverList::slipValues(row, all, true);
    EXPECT_EQ(valueOf(values, "zdskrDH"), "010-1");
    EXPECT_EQ(valueOf(values, "edtMoney"), "12");
    EXPECT_EQ(valueOf(values, "cbDestSite"), "杭州");
    EXPECT_EQ(valueOf(values, "zdJEDX1"), "120");

    // Hidden 费用 leaves the form's own value; a hidden mobile box joins the numbers.
    values = ReceiverList::slipValues(row, {"ID", "全称"}, false);
    EXPECT_FALSE(valueOf(values, "edtMoney"));
    EXPECT_FALSE(valueOf(values, "zdWPNR"));
    EXPECT_EQ(valueOf(values, "zdskrDH"), "010-1/139");
    QHash<QString, QString> mobileOnly = row;
    mobileOnly["电话"] = "";
    EXPECT_EQ(valueOf(ReceiverList::slipValues(mobileOnly, {}, false), "zdskrDH"), "139");

    // The first grid column is not sent; only whole digits spell out an amount.
    EXPECT_FALSE(valueOf(ReceiverList::slipValues(row, {"费用", "ID"}, true), "edtMoney"));
    for (const QString amount : {"12.5", "-3", " ", "1２"}) {
        QHash<QString, QString> r = row;
        r["金额大写1"] = amount;
        EXPECT_EQ(valueOf(ReceiverList::slipValues(r, all, true), "zdJEDX1"), "")
            << amount.toStdString();
    }
}

TEST(ReceiverList, PrintRunsRecordEachSlipForReprinting)
{
    TestHome home;
    add(home, "甲", "张");
    add(home, "乙", "李");
    add(home, "丙", "王");
    ReceiverList list(home.db());
    const int run = list.startPrintRun(3);
    ASSERT_GT(run, 0);
    EXPECT_TRUE(list.recordPrinted(run, 1, 1));
    EXPECT_TRUE(list.recordPrinted(run, 2, 2));
    EXPECT_TRUE(list.finishPrintRun(run, 2, "中止"));
    EXPECT_EQ(list.rowsOfRun(run, 2), QList<int>({2}));
    EXPECT_EQ(column(home, "SELECT Planned || '|' || Sent || '|' || Outcome FROM ReceiverPrintRun"),
              QStringList({"3|2|中止"}));
    // The grid shows each row's last print as run-slip.
    QString error;
    const auto statement = ReceiverList::listStatement({}, &error);
    QSqlQuery q(home.db().connection());
    ASSERT_TRUE(execBound(q, statement->sql, statement->values));
    QStringList printed;
    while (q.next())
        printed << q.value("最近打印").toString();
    EXPECT_EQ(printed, QStringList({QString::number(run) + "-1", QString::number(run) + "-2", ""}));
}
