#include "parties/RegionIndex.h"

#include <gtest/gtest.h>

TEST(RegionIndex, FindsThePlacesATextNamesWithTheirFullNames)
{
    const RegionIndex &index = RegionIndex::shipped();
    const struct
    {
        const char *text, *province, *city, *town;
    } cases[] = {
        // Longest real names at the right level, not "青岛市市" / "南区".
        {"山东省青岛市市南区香港中路10号", "山东省", "青岛市", "市南区"},
        {"浙江 杭州 西湖区 文三路", "浙江省", "杭州市", "西湖区"},
        {"广西 南宁 青秀区", "广西壮族自治区", "南宁市", "青秀区"},
        // The province, and the city of a county, inferred.
        {"】长沙市岳麓区麓山南路", "湖南省", "长沙市", "岳麓区"},
        {"昆山市玉山镇人民路1号", "江苏省", "苏州市", "昆山市"},
        // Municipalities and Hong Kong: the region is the city, the district the town.
        {"上海上海市闵行区莘庄镇", "上海市", "上海市", "闵行区"},
        {"香港九龙油尖旺区弥敦道", "香港特别行政区", "香港特别行政区", "油尖旺区"},
        // A county-level city under the province itself; a city without counties.
        {"湖北省仙桃市沔阳大道", "湖北省", "仙桃市", ""},
        {"广东东莞长安镇霄边大道", "广东省", "东莞市", "长安镇"},
        // A labelled block: the labels between the names.
        {"省:山东\n市:青岛市\n地址:市南区枫林路", "山东省", "青岛市", "市南区"},
        // A name several places bear: only that much is certain.
        {"朝阳区望京街", "", "", "朝阳区"},
        // Names inside a street or a shop's name are no place.
        {"科技园南区高新南七道", "", "", ""},
        {"北京路100号", "", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const RegionIndex::Place p = index.find(QString::fromUtf8(c.text));
        EXPECT_EQ(p.province, QString::fromUtf8(c.province));
        EXPECT_EQ(p.city, QString::fromUtf8(c.city));
        EXPECT_EQ(p.town, QString::fromUtf8(c.town));
    }
}

TEST(RegionIndex, TellsWhereThePlacesStandAndLoadsOnce)
{
    const QString text = QStringLiteral("张三 浙江省杭州市西湖区文三路8号");
    const RegionIndex::Place p = RegionIndex::shipped().find(text);
    EXPECT_EQ(text.mid(p.begin, p.end - p.begin), QStringLiteral("浙江省杭州市西湖区"));
    EXPECT_EQ(&RegionIndex::shipped(), &RegionIndex::shipped());
    // Every province-level division with its prefectures and counties.
    EXPECT_GT(RegionIndex::shipped().size(), 3000);

    const RegionIndex own(QStringLiteral("33\t浙江省\n3301\t杭州市\n330106\t西湖区\nbad line\n"));
    EXPECT_EQ(own.size(), 3);
    EXPECT_EQ(own.find(QStringLiteral("西湖区")).city, QStringLiteral("杭州市"));
}
