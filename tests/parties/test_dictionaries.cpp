#include "RefusingTrigger.h"
#include "TestHome.h"
#include "parties/Dictionaries.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

TEST(Regions, SeedHoldsEveryProvinceLevelDivision)
{
    TestHome home;
    const Dictionaries d(home.db());
    const QStringList provinces = d.loadProvinces();
    EXPECT_EQ(provinces.size(), 34);
    for (const char *p :
         {"北京市", "广东省", "新疆维吾尔自治区", "香港特别行政区", "澳门特别行政区", "台湾省"})
        EXPECT_TRUE(provinces.contains(QString::fromUtf8(p))) << p;
    EXPECT_EQ(d.regionProvinces().first(), QStringLiteral("北京市")); // customary order
    // Pickers list names by pinyin: 安徽 before 北京 before 重庆 (Chongqing) before 广东.
    EXPECT_EQ(provinces.first(), QStringLiteral("安徽省"));
    EXPECT_LT(provinces.indexOf("北京市"), provinces.indexOf("重庆市"));
    EXPECT_LT(provinces.indexOf("重庆市"), provinces.indexOf("广东省"));

    const QStringList guangdong = d.loadCitysByProvince(QStringLiteral(" 广东省 "));
    for (const char *city : {"广州市", "韶关市", "深圳市", "珠海市", "汕头市", "佛山市", "江门市",
                             "湛江市", "茂名市", "肇庆市", "惠州市", "梅州市", "汕尾市", "河源市",
                             "阳江市", "清远市", "东莞市", "中山市", "潮州市", "揭阳市", "云浮市"})
        EXPECT_TRUE(guangdong.contains(QString::fromUtf8(city))) << city;
    EXPECT_TRUE(guangdong.contains(QStringLiteral("天河区")));
    EXPECT_EQ(QStringList(guangdong).removeDuplicates(), 0);
    EXPECT_TRUE(d.loadCitysByProvince(QStringLiteral("香港特别行政区"))
                    .contains(QStringLiteral("油尖旺区")));
    EXPECT_TRUE(d.loadCitysByProvince(QStringLiteral("北京市")).contains(QStringLiteral("海淀区")));
    EXPECT_FALSE(
        d.loadCitysByProvince(QStringLiteral("北京市")).contains(QStringLiteral("市辖区")));
    EXPECT_TRUE(d.loadCitysByProvince(QStringLiteral("  ")).isEmpty());
}

TEST(Regions, RegionRowsOfOtherTypesStayOutOfThePickers)
{
    TestHome home;
    home.db().query().exec(
        "INSERT INTO DMTable2 (类型, 一级代码, 二级代码) VALUES ('其他字符', '广东省', '收件人:')");
    Dictionaries d(home.db());
    EXPECT_EQ(d.loadProvinces().size(), 34);
    EXPECT_FALSE(
        d.loadCitysByProvince(QStringLiteral("广东省")).contains(QStringLiteral("收件人:")));
    // Deleting only ever removes "省市" rows, and removing none is no success.
    EXPECT_FALSE(d.deleteRegion(QStringLiteral("广东省"), QStringLiteral("收件人:")));
}

TEST(Regions, RenameSucceedsOnlyWhenTheRowChanged)
{
    TestHome home;
    Dictionaries d(home.db());
    const QString gd = QStringLiteral("广东省");
    // The new name already exists; a rename that changed nothing must not look done.
    EXPECT_FALSE(d.renameRegion(gd, QStringLiteral("没有这个市"), QStringLiteral("广州市")));
    const RefusingTrigger noRename{"no_rename", "UPDATE", "DMTable2", {}};
    ASSERT_TRUE(noRename.install(home.db()));
    EXPECT_FALSE(d.renameRegion(gd, QStringLiteral("深圳市"), QStringLiteral("广州市")));
    EXPECT_TRUE(d.regionExists(gd, QStringLiteral("深圳市")));
    ASSERT_TRUE(noRename.remove(home.db()));
    EXPECT_TRUE(d.renameRegion(gd, QStringLiteral("深圳市"), QStringLiteral("鹏城市")));
    EXPECT_FALSE(d.regionExists(gd, QStringLiteral("深圳市")));
}

TEST(Currencies, SeedStartsWithRenminbiAndNewOnesGoLast)
{
    TestHome home;
    Dictionaries d(home.db());
    const std::vector<Currency> list = d.currencies();
    ASSERT_GE(list.size(), 5u);
    EXPECT_EQ(list.front().name, QStringLiteral("人民币"));
    EXPECT_EQ(list.front().code, QStringLiteral("￥"));
    EXPECT_EQ(d.getMoneyCodeByName(QStringLiteral("美元")), QStringLiteral("US$"));
    EXPECT_EQ(d.getMoneyNameByCode(QStringLiteral("￥")), QStringLiteral("人民币"));
    EXPECT_EQ(d.getMoneyCodeByName(QStringLiteral("没有")), QString());
    EXPECT_EQ(d.loadMoneyTypeList().size(), int(list.size()));

    ASSERT_TRUE(d.addCurrency(QStringLiteral("卢布'"), QStringLiteral("RUB")));
    EXPECT_EQ(d.currencies().back().name, QStringLiteral("卢布'"));
    ASSERT_TRUE(d.moveCurrency(QStringLiteral("卢布'"), +1));
    ASSERT_TRUE(d.moveCurrency(QStringLiteral("卢布'"), +1));
    EXPECT_EQ(d.currencies().back().name, QStringLiteral("韩元")); // the seed's lightest
    EXPECT_FALSE(d.moveCurrency(QStringLiteral("没有"), +1));
}

TEST(Dictionaries, TemplateWithoutOwnNamesSeesTheSharedOnes)
{
    TestHome home;
    Dictionaries d(home.db());
    home.db().query().exec(
        "INSERT INTO DMTable (DMName, DMValue, CheckTypeID) VALUES ('cfgJEDXFormat', '1', 0)");
    const QStringList shared = d.dictionaryNames(0);
    for (const QString &name : Dictionaries::offeredDictionaryNames())
        EXPECT_TRUE(shared.contains(name)) << name.toStdString();
    EXPECT_FALSE(shared.contains(QStringLiteral("cfgJEDXFormat")));
    EXPECT_EQ(d.dictionaryNames(7), shared);

    ASSERT_TRUE(d.addDictionary(7, QStringLiteral("始发站")));
    EXPECT_EQ(d.dictionaryNames(7), QStringList{"始发站"});
    const auto own = d.dictionaryEntries(QStringLiteral("始发站"), 7, false);
    ASSERT_TRUE(own);
    ASSERT_EQ(own->size(), 1u);
    EXPECT_EQ(own->front().value, QStringLiteral("<空>"));
    EXPECT_EQ(own->front().checkTypeId, 7);
    const auto withShared = d.dictionaryEntries(QStringLiteral("始发站"), 7, true);
    EXPECT_EQ(withShared->size(), 5u); // four shared stations and the new entry
}

TEST(Dictionaries, EntriesChangedOnAnotherWorkstationAreNotOverwritten)
{
    TestHome home;
    Database other("other workstation");
    ASSERT_EQ(home.openAnother(other), Database::Status::Opened) << other.problem().toStdString();
    Dictionaries here(home.db());
    Dictionaries there(other);
    ASSERT_TRUE(here.addDictionary(7, QStringLiteral("始发站")));
    auto mine = *here.dictionaryEntries(QStringLiteral("始发站"), 7, false);
    auto theirs = *there.dictionaryEntries(QStringLiteral("始发站"), 7, false);
    ASSERT_EQ(mine.size(), 1u);
    theirs[0].value = QStringLiteral("广州");
    bool changedElsewhere = true;
    ASSERT_TRUE(there.saveDictionaryEntries(theirs, &changedElsewhere));
    EXPECT_FALSE(changedElsewhere);

    // A new entry saved with the stale one goes neither: all or nothing.
    mine[0].value = QStringLiteral("深圳");
    mine.push_back({0, QStringLiteral("始发站"), QStringLiteral("东莞"), 7, -1});
    EXPECT_FALSE(here.saveDictionaryEntries(mine, &changedElsewhere));
    EXPECT_TRUE(changedElsewhere);
    auto stored = *here.dictionaryEntries(QStringLiteral("始发站"), 7, false);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].value, QStringLiteral("广州"));

    stored[0].value = QStringLiteral("深圳");
    EXPECT_TRUE(here.saveDictionaryEntries(stored, &changedElsewhere));
    EXPECT_FALSE(changedElsewhere);
    EXPECT_EQ(here.dictionaryEntries(QStringLiteral("始发站"), 7, false)->at(0).value,
              QStringLiteral("深圳"));
}
