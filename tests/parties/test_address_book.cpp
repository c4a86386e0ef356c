#include "RefusingTrigger.h"
#include "TestHome.h"
#include "data/Parties.h"
#include "parties/AddressBook.h"

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace {

struct BookFixture
{
    TestHome home;
    AddressBook book{home.db()};

    BookFixture()
    {
        // name, contact, group, type, order weight
        const struct
        {
            const char *name, *contact, *group, *type;
            int order;
        } rows[] = {
            {"O'Brien 贸易", "王五", "华东", "往来单位", 0},
            {"百分之50%公司", "赵六", "华东", "往来单位", 0},
            {"下划线_公司", "孙七", "", "往来单位", 0},
            {"本公司", "张三", "默认出票人", "我方单位", 0},
            {"甲分公司", "李四", "华东", "我方单位", 1},
        };
        for (const auto &r : rows) {
            TPerson p;
            p.FullName = QString::fromUtf8(r.name);
            p.Contactor = QString::fromUtf8(r.contact);
            p.Group = QString::fromUtf8(r.group);
            p.AcountType = QString::fromUtf8(r.type);
            EXPECT_TRUE(home.services().parties().Save(p).isEmpty());
            QSqlQuery q = home.db().query();
            q.prepare("UPDATE CKPersonalInfoTable SET 排序 = ? WHERE 全称 = ?");
            q.addBindValue(r.order);
            q.addBindValue(p.FullName);
            EXPECT_TRUE(q.exec());
        }
    }

    // The names the list shows, in its order; "count" must agree with the list.
    QStringList names(const AddressBookFilter &filter,
                      const QString &sortField = AddressBook::kDefaultSortField,
                      const QString &direction = AddressBook::kDefaultSortDirection)
    {
        const AddressBookStatement s = AddressBook::listStatement(filter, sortField, direction);
        QSqlQueryModel model;
        const int rows = book.open(model, s);
        QStringList list;
        for (int r = 0; r < model.rowCount(); ++r)
            list << model.record(r).value("全称").toString();
        EXPECT_EQ(rows, list.size()) << s.sql().toStdString();
        EXPECT_EQ(book.count(s), list.size());
        return list;
    }

    int parties() { return home.db().CountTableAllRows("CKPersonalInfoTable", home.ui); }
};

} // namespace

TEST(AddressBook, SearchTakesTheKeyLiterallyAndCombinesTheFilters)
{
    BookFixture f;
    const QString own = TPerson::kOwnUnit;
    const QString counterparty = TPerson::kCounterparty;
    const struct
    {
        QString key, group, unitType;
        QStringList expected;
    } cases[] = {
        // A quote is a character, not the end of the statement.
        {"O'Brien", {}, {}, {"O'Brien 贸易"}},
        // "%" and "_" match themselves only.
        {"50%", {}, {}, {"百分之50%公司"}},
        {"_", {}, {}, {"下划线_公司"}},
        {"' OR '1'='1", {}, {}, {}},
        // Contact persons are searched too; surrounding blanks are dropped.
        {"  李四 ", {}, {}, {"甲分公司"}},
        {"公司", {}, counterparty, {"百分之50%公司", "下划线_公司"}},
        {{}, "华东", own, {"甲分公司"}},
        {{}, AddressBook::kAllGroups, own, {"本公司", "甲分公司"}},
    };
    for (const auto &c : cases) {
        AddressBookFilter filter;
        filter.key = c.key;
        filter.group = c.group;
        filter.unitType = c.unitType;
        EXPECT_EQ(f.names(filter), c.expected) << c.key.toStdString();
    }

    // The advanced panel: one column, equal or containing.
    AddressBookFilter advanced;
    advanced.advancedColumn = AddressBook::advancedColumnOf("联系人");
    advanced.advancedEquals = true;
    advanced.advancedValue = "王五";
    EXPECT_EQ(f.names(advanced), QStringList({"O'Brien 贸易"}));
    advanced.advancedValue = "王";
    EXPECT_TRUE(f.names(advanced).isEmpty());
    advanced.advancedEquals = false;
    EXPECT_EQ(f.names(advanced), QStringList({"O'Brien 贸易"}));
    EXPECT_EQ(AddressBook::advancedColumnOf("县市"), QStringLiteral("市"));
}

TEST(AddressBook, OrderFollowsTheSortFieldsAndNeverTakesSqlFromThem)
{
    BookFixture f;
    // Order weight first, ascending; then the names descending (by code point).
    const QStringList byDefault = f.names({});
    ASSERT_EQ(byDefault.size(), 5);
    EXPECT_EQ(byDefault.last(), QStringLiteral("甲分公司"));
    QStringList rest = byDefault.mid(0, 4);
    QStringList sorted = rest;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    EXPECT_EQ(rest, sorted);

    EXPECT_EQ(f.names({}, "联系人", "asc").first(), QStringLiteral("下划线_公司"));    // 孙七
    EXPECT_EQ(f.names({}, "联系人", "DESC").first(), QStringLiteral("百分之50%公司")); // 赵六
    // A field that is no column of the table is left out; the list still shows.
    EXPECT_EQ(f.names({}, "全称; DROP TABLE CKPersonalInfoTable", "ASC").size(), 5);
    EXPECT_EQ(f.parties(), 5);

    EXPECT_EQ(AddressBook::nextDirection("DESC"), "ASC");
    EXPECT_EQ(AddressBook::nextDirection("asc"), "DESC");
    EXPECT_EQ(AddressBook::nextDirection(""), "ASC");
}

TEST(AddressBook, GroupListStartsWithAllGroupsThenDescending)
{
    BookFixture f;
    EXPECT_EQ(f.book.groupFilterList(),
              QStringList({AddressBook::kAllGroups, "默认出票人", "华东", ""}));
    EXPECT_EQ(f.book.groups(), QStringList({"华东", "默认出票人"}));
}

TEST(AddressBook, DeletingRemovesExactlyTheGivenPartiesAndLeavesBillsAlone)
{
    BookFixture f;
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("INSERT INTO DataKDDTable (收件单位, 收件联系人) VALUES ('O''Brien 贸易', "
                       "'王五')"));
    const int obrien = f.home.services().parties().FindByFullName("O'Brien 贸易")->ID;
    const int percent = f.home.services().parties().FindByFullName("百分之50%公司")->ID;

    EXPECT_TRUE(f.book.deleteParties({obrien, percent}).isEmpty());
    EXPECT_EQ(f.names({}).size(), 3);
    EXPECT_FALSE(f.home.services().parties().FindByFullName("O'Brien 贸易"));
    EXPECT_EQ(f.home.db().CountTableAllRows("DataKDDTable", f.home.ui), 1);

    EXPECT_TRUE(f.book.clearAll(" 我方单位 ").isEmpty());
    EXPECT_EQ(f.names({}), QStringList({"下划线_公司"}));
    EXPECT_TRUE(f.book.clearAll({}).isEmpty());
    EXPECT_EQ(f.parties(), 0);
    EXPECT_EQ(f.home.db().CountTableAllRows("DataKDDTable", f.home.ui), 1);
}

TEST(AddressBook, AFailedDeleteChangesNothing)
{
    BookFixture f;
    // A trigger that refuses the second row stands in for any failure half way.
    const int second = f.home.services().parties().FindByFullName("本公司")->ID;
    ASSERT_TRUE((RefusingTrigger{"refuse", "DELETE", "CKPersonalInfoTable",
                                 QString("OLD.ID = %1").arg(second)}
                     .install(f.home.db())));
    const int first = f.home.services().parties().FindByFullName("甲分公司")->ID;
    EXPECT_FALSE(f.book.deleteParties({first, second}).isEmpty());
    EXPECT_EQ(f.parties(), 5);
}
