#include "TestHome.h"
#include "batch/ColumnMatch.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace ColumnMatch;

namespace {

// Item -> matched title, for the titles of one sheet.
QMap<QString, QString> matched(const QStringList &titles, ImportScenario scenario,
                               const Rules &rules)
{
    const std::vector<ImportItem> &items = ImportItems::of(scenario);
    const std::vector<int> columns = autoNewMatchProperty(titles, items, rules);
    QMap<QString, QString> result;
    for (size_t i = 0; i < items.size(); ++i) {
        if (columns[i] > 0)
            result.insert(items[i].item, titles[columns[i] - 1]);
    }
    return result;
}

} // namespace

TEST(ColumnMatch, PatternsCompareUpperCasedOrContainWithStars)
{
    const struct
    {
        QString title;
        QString patterns;
        bool matches;
    } cases[] = {
        {"手机号码", "收件手机,Mobile,移动电话,*手机*", true},
        {"MOBILE", "收件手机,Mobile,移动电话,*手机*", true},
        {"mobile phone", "收件手机,Mobile,移动电话,*手机*", false},
        {"所在省份", "*省*,州,Province", true},
        {"PROVINCE", "*省*,州,Province", true},
        // A starred entry is compared as it is written.
        {"Zip Code", "*zip*", false},
        {"订单编号", "\t订单编号,订单ID,订单号", false},
        {"订单号", "\t订单编号,订单ID,订单号", true},
        {"", ",,", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MatchColumnOK(c.title, c.patterns), c.matches)
            << c.title.toStdString() << " / " << c.patterns.toStdString();
}

TEST(ColumnMatch, ItemWithoutRuleMatchesItsOwnName)
{
    const Rules rules({{"电话", ""}});
    EXPECT_EQ(rules.patternsOf("电话"), "电话");
    EXPECT_EQ(rules.patternsOf("单位类型"), "单位类型");
}

TEST(ColumnMatch, ColumnListStopsAtTheFirstEmptyTitle)
{
    EXPECT_EQ(titlesOf({"姓名", " 电话 ", "  ", "地址"}), QStringList({"姓名", "电话"}));
    EXPECT_TRUE(titlesOf({"", "姓名"}).isEmpty());
}

TEST(ColumnMatch, CleanUpOfTypedPatterns)
{
    EXPECT_EQ(cleanPatterns(" '联系人，，收货人?' "), "联系人,收货人");
    EXPECT_EQ(cleanPatterns("a,,,,b"), "a,b");
    EXPECT_EQ(cleanPatterns(" ?'' "), "");
}

TEST(ColumnMatch, DefaultRulesFollowThePriorityOrder)
{
    TestHome home;
    const Rules rules = Rules::LoadAllConstColumnPair(home.db().connection());
    const auto book = matched(
        {"收件人姓名", "买家会员名", "城市", "所在省份", "手机号码", "MOBILE", "mobile phone"},
        ImportScenario::AddressBook, rules);
    EXPECT_EQ(book.value("联系人"), "收件人姓名");
    EXPECT_EQ(book.value("单位全称"), "买家会员名");
    EXPECT_EQ(book.value("市"), "城市");
    EXPECT_EQ(book.value("省"), "所在省份");
    EXPECT_EQ(book.value("手机"), "手机号码");
    EXPECT_FALSE(book.values().contains("mobile phone"));

    // In the batch list "城市" still goes to 市, and 会员ID to the full name before 会员ID.
    const auto list = matched({"城市", "会员ID", "订单编号"}, ImportScenario::BatchList, rules);
    EXPECT_EQ(list.value("市"), "城市");
    EXPECT_FALSE(list.contains("目的站"));
    EXPECT_EQ(list.value("单位全称"), "会员ID");
    EXPECT_FALSE(list.contains("会员ID"));
    EXPECT_EQ(list.value("订单号"), "订单编号");
}

TEST(ColumnMatch, TitlesOfCommonExportsAreMatched)
{
    TestHome home;
    const Rules rules = Rules::LoadAllConstColumnPair(home.db().connection());
    using Map = QMap<QString, QString>;
    const struct
    {
        const char *layout;
        QStringList titles;
        ImportScenario scenario;
        Map expected;
    } layouts[] = {
        {"shop order export",
         {"订单编号", "买家会员名", "买家支付宝账号", "收货人姓名", "收货地址", "联系电话",
          "联系手机", "宝贝标题", "宝贝总数量", "买家留言", "订单备注"},
         ImportScenario::BatchList,
         Map{{"订单号", "订单编号"},
             {"单位全称", "买家会员名"},
             {"联系人", "收货人姓名"},
             {"地址", "收货地址"},
             {"电话", "联系电话"},
             {"手机", "联系手机"},
             {"物品内容", "宝贝标题"},
             {"件数", "宝贝总数量"},
             {"备注", "买家留言"}}},
        {"platform order export",
         {"订单号", "商品", "商品数量", "收货人", "手机号", "省", "市", "区", "详细地址", "邮编",
          "重量(kg)"},
         ImportScenario::BatchList,
         Map{{"订单号", "订单号"},
             {"物品内容", "商品"},
             {"件数", "商品数量"},
             {"联系人", "收货人"},
             {"手机", "手机号"},
             {"省", "省"},
             {"市", "市"},
             {"镇区", "区"},
             {"地址", "详细地址"},
             {"邮编", "邮编"},
             {"重量", "重量(kg)"}}},
        {"office address list",
         {"公司名称", "姓名", "职务", "电话", "手机", "传真", "邮政编码", "所在省份", "所在城市",
          "区县", "地址", "备注"},
         ImportScenario::AddressBook,
         Map{{"单位全称", "公司名称"},
             {"联系人", "姓名"},
             {"电话", "电话"},
             {"手机", "手机"},
             {"邮编", "邮政编码"},
             {"省", "所在省份"},
             {"市", "所在城市"},
             {"镇区", "区县"},
             {"地址", "地址"},
             {"备注", "备注"}}},
        {"english contacts",
         {"Company", "Name", "Phone", "Mobile", "Address", "City", "State", "Zip", "Country",
          "Notes"},
         ImportScenario::AddressBook,
         Map{{"单位全称", "Company"},
             {"联系人", "Name"},
             {"电话", "Phone"},
             {"手机", "Mobile"},
             {"地址", "Address"},
             {"市", "City"},
             {"省", "State"},
             {"邮编", "Zip"},
             {"国家", "Country"},
             {"备注", "Notes"}}},
        {"english crm export",
         {"Company Name", "Contact", "Tel", "Cellphone", "Street", "District", "City", "Province",
          "Postcode", "Country", "Remark", "Order ID", "Qty"},
         ImportScenario::BatchList,
         Map{{"单位全称", "Company Name"},
             {"联系人", "Contact"},
             {"电话", "Tel"},
             {"手机", "Cellphone"},
             {"地址", "Street"},
             {"镇区", "District"},
             {"市", "City"},
             {"省", "Province"},
             {"邮编", "Postcode"},
             {"国家", "Country"},
             {"备注", "Remark"},
             {"订单号", "Order ID"},
             {"件数", "Qty"}}},
    };
    for (const auto &l : layouts)
        EXPECT_EQ(matched(l.titles, l.scenario, rules), l.expected) << l.layout;
}

TEST(ColumnMatch, AddedTitlesKeepTheOrderNumberRuleWithoutItsTab)
{
    TestHome home;
    QSqlQuery q(home.db().connection());
    ASSERT_TRUE(q.exec("SELECT SourceName FROM MatchColumn WHERE ItemName = '订单号'"));
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.value(0).toString().startsWith("订单编号,订单ID,订单号,"))
        << q.value(0).toString().toStdString();
}
