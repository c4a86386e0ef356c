#include "parties/AddressRecognizer.h"

#include <gtest/gtest.h>

namespace {

using F = AddressFormat;

RecognizedAddress recognize(const QString &text, bool containProvinceCity = false,
                            F format = F::TaoBao, const std::vector<TextReplacement> &own = {})
{
    AddressRecognitionOptions options;
    options.format = format;
    options.containProvinceCity = containProvinceCity;
    return recognizeAddress(normalizeAddressText(text, own), options);
}

struct Expected
{
    const char *company, *contact, *phone, *handset, *country, *province, *city, *town, *address,
        *zipcode;
};

struct Block
{
    F format;
    const char *text;
    Expected expected;
};

// Order-page copies, hand-typed lines, municipalities, autonomous regions, Hong Kong and
// Macau, fixed lines with extensions; "含省市" off.
const Block kBlocks[] = {
    {F::TaoBao,
     "王小明，13912345678，0571-87654321，浙江省 杭州市 西湖区 "
     "文三路388号钱江科技大厦1203室，310012",
     {"", "王小明", "0571-87654321", "13912345678", "", "浙江省", "杭州市", "西湖区",
      "文三路388号钱江科技大厦1203室", "310012"}},
    {F::TaoBao,
     "收货人：张三，手机：13812345678，地址：广东省深圳市南山区科技园科苑路15号",
     {"", "张三", "", "13812345678", "", "广东省", "深圳市", "南山区", "科技园科苑路15号", ""}},
    {F::TaoBao,
     "收货人：钱多多，手机：15000001234，"
     "地址：浙江省杭州市余杭区五常街道文一西路969号，邮编：311121",
     {"", "钱多多", "", "15000001234", "", "浙江省", "杭州市", "余杭区", "五常街道文一西路969号",
      "311121"}},
    {F::TaoBao,
     "收件人：王五\n联系电话：13912345678\n收货地址：江苏省 南京市 鼓楼区 中山北路1号，210008",
     {"", "王五", "", "13912345678", "", "江苏省", "南京市", "鼓楼区", "中山北路1号", "210008"}},
    {F::TaoBao,
     "收货人：许仙\n联系电话：0571－88886666\n收货地址：浙江省　杭州市　西湖区　北山街84号",
     {"", "许仙", "0571-88886666", "", "", "浙江省", "杭州市", "西湖区", "北山街84号", ""}},
    {F::TaoBao,
     "收件人: 张三\n手机号码: 13812345678\n所在地区: 广东省 深圳市 南山区\n"
     "详细地址: 粤海街道科技园科苑路15号",
     {"", "张三", "", "13812345678", "", "广东省", "深圳市", "南山区", "粤海街道科技园科苑路15号",
      ""}},
    {F::TaoBao,
     "收货人: 孔明 电话:0755-26543210转8012 地址:广东省深圳市宝安区新安街道宝民一路201号",
     {"", "孔明", "0755-26543210转8012", "", "", "广东省", "深圳市", "宝安区",
      "新安街道宝民一路201号", ""}},
    {F::TaoBao,
     "李丽 13700001111 上海市徐汇区漕溪北路595号 200030",
     {"", "李丽", "", "13700001111", "", "上海市", "上海市", "徐汇区", "漕溪北路595号", "200030"}},
    {F::TaoBao,
     "收货人:刘强\n手机:15811112222\n地址:北京市海淀区中关村大街27号中关村大厦8层\n邮编:100080",
     {"", "刘强", "", "15811112222", "", "北京市", "北京市", "海淀区",
      "中关村大街27号中关村大厦8层", "100080"}},
    {F::TaoBao,
     "陈静，18622223333，天津市和平区南京路189号津汇广场2座1501室，300051",
     {"", "陈静", "", "18622223333", "", "天津市", "天津市", "和平区",
      "南京路189号津汇广场2座1501室", "300051"}},
    {F::TaoBao,
     "杨帆，13983334444，重庆市渝中区解放碑民族路188号，400010",
     {"", "杨帆", "", "13983334444", "", "重庆市", "重庆市", "渝中区", "解放碑民族路188号",
      "400010"}},
    {F::TaoBao,
     "韩梅梅，87654321，北京市朝阳区建国路88号SOHO现代城B座1201",
     {"", "韩梅梅", "87654321", "", "", "北京市", "北京市", "朝阳区", "建国路88号SOHO现代城B座1201",
      ""}},
    {F::TaoBao,
     "赵刚，13945556666，黑龙江省哈尔滨市南岗区西大直街92号，150001",
     {"", "赵刚", "", "13945556666", "", "黑龙江省", "哈尔滨市", "南岗区", "西大直街92号",
      "150001"}},
    {F::TaoBao,
     "赵刚 黑龙江省 哈尔滨市 南岗区 西大直街92号 13945556666",
     {"", "赵刚", "", "13945556666", "", "黑龙江省", "哈尔滨市", "南岗区", "西大直街92号", ""}},
    {F::TaoBao,
     "黄海，13877778888，广西壮族自治区南宁市青秀区民族大道136号，530028",
     {"", "黄海", "", "13877778888", "", "广西壮族自治区", "南宁市", "青秀区", "民族大道136号",
      "530028"}},
    {F::TaoBao,
     "周杰，13999990000，新疆维吾尔自治区乌鲁木齐市天山区解放北路88号，830002",
     {"", "周杰", "", "13999990000", "", "新疆维吾尔自治区", "乌鲁木齐市", "天山区", "解放北路88号",
      "830002"}},
    {F::TaoBao,
     "吴敏，15947471234，内蒙古自治区呼和浩特市新城区新华大街63号，010050",
     {"", "吴敏", "", "15947471234", "", "内蒙古自治区", "呼和浩特市", "新城区", "新华大街63号",
      "010050"}},
    {F::TaoBao,
     "徐磊 13908901234 西藏自治区拉萨市城关区北京中路45号 850000",
     {"", "徐磊", "", "13908901234", "", "西藏自治区", "拉萨市", "城关区", "北京中路45号",
      "850000"}},
    {F::TaoBao,
     "孙丽 13995001234 宁夏回族自治区银川市兴庆区解放西街2号 750001",
     {"", "孙丽", "", "13995001234", "", "宁夏回族自治区", "银川市", "兴庆区", "解放西街2号",
      "750001"}},
    {F::TaoBao,
     "潘红 13847471234 内蒙古锡林郭勒盟锡林浩特市额尔敦路12号",
     {"", "潘红", "", "13847471234", "", "内蒙古自治区", "锡林郭勒盟", "锡林浩特市", "额尔敦路12号",
      ""}},
    {F::TaoBao,
     "朱先生，香港特别行政区九龙城区太子道西193号新都城中心2期8楼，电话：852-23456789",
     {"", "朱先生", "852-23456789", "", "", "香港特别行政区", "香港特别行政区", "九龙城区",
      "太子道西193号新都城中心2期8楼", ""}},
    {F::TaoBao,
     "马小姐 澳门特别行政区花地玛堂区黑沙环马场北大马路1号 853-28712345",
     {"", "马小姐", "853-28712345", "", "", "澳门特别行政区", "澳门特别行政区", "花地玛堂区",
      "黑沙环马场北大马路1号", ""}},
    {F::TaoBao,
     "公司:岚砚商贸有限公司\n姓名:赵小红\n电话:021-62345678-806\n手机:13501234567\n国家:中国\n省:"
     "上海\n市:上海市\n地址:上海市徐汇区漕溪北路595号A座12楼\n邮编:200030",
     {"岚砚商贸有限公司", "赵小红", "021-62345678-806", "13501234567", "中国", "上海市", "上海市",
      "徐汇区", "漕溪北路595号A座12楼", "200030"}},
    {F::TaoBao,
     "(020)87654321-12 胡先生 广东省广州市天河区天河路385号太古汇一座2501室 510620",
     {"", "胡先生", "(020)87654321-12", "", "", "广东省", "广州市", "天河区",
      "天河路385号太古汇一座2501室", "510620"}},
    {F::TaoBao,
     "蒋文，0571-88223344-209，13600001111，浙江省杭州市滨江区长河街道江南大道1888号",
     {"", "蒋文", "0571-88223344-209", "13600001111", "", "浙江省", "杭州市", "滨江区",
      "长河街道江南大道1888号", ""}},
    {F::TaoBao,
     "江苏岚砚电子科技有限公司 郭总 025-83334444 江苏省南京市鼓楼区中山北路1号",
     {"江苏岚砚电子科技有限公司", "郭总", "025-83334444", "", "", "江苏省", "南京市", "鼓楼区",
      "中山北路1号", ""}},
    {F::TaoBao,
     "宋老师 四川大学华西医院 四川省成都市武侯区国学巷37号 028-85422114",
     {"四川大学华西医院", "宋老师", "028-85422114", "", "", "四川省", "成都市", "武侯区",
      "国学巷37号", ""}},
    {F::TaoBao,
     "林芳 13888881234 云南省西双版纳傣族自治州景洪市勐泐大道6号 666100",
     {"", "林芳", "", "13888881234", "", "云南省", "西双版纳傣族自治州", "景洪市", "勐泐大道6号",
      "666100"}},
    {F::TaoBao,
     "何平，13507071234，江西省赣州市兴国县潋江镇红都大道8号",
     {"", "何平", "", "13507071234", "", "江西省", "赣州市", "兴国县", "潋江镇红都大道8号", ""}},
    {F::TaoBao,
     "梁军 13508081234 湖南省怀化市芷江侗族自治县芷江镇和平路5号",
     {"", "梁军", "", "13508081234", "", "湖南省", "怀化市", "芷江侗族自治县", "芷江镇和平路5号",
      ""}},
    {F::TaoBao,
     "郑伟，13609091234，广东省东莞市虎门镇连升路12号，523900",
     {"", "郑伟", "", "13609091234", "", "广东省", "东莞市", "虎门镇", "连升路12号", "523900"}},
    {F::PaiPai,
     "收货人:谢华 13612345678 广东省深圳市福田区 福华路28号金中环商务大厦1608 (邮编:518048)",
     {"", "谢华", "", "13612345678", "", "广东省", "深圳市", "福田区",
      "福华路28号金中环商务大厦1608", "518048"}},
    {F::TaoBao,
     "唐宁 13811112222/13933334444 浙江省宁波市鄞州区天童南路588号",
     {"", "唐宁", "13933334444", "13811112222", "", "浙江省", "宁波市", "鄞州区", "天童南路588号",
      ""}},
    {F::TaoBao,
     "曹操 旺旺在线 13700002222 河南省许昌市魏都区文峰路66号 461000",
     {"", "曹操", "", "13700002222", "", "河南省", "许昌市", "魏都区", "文峰路66号", "461000"}},
    {F::TaoBao,
     "邓超，18643211234，吉林省长春市朝阳区人民大街5988号，130022",
     {"", "邓超", "", "18643211234", "", "吉林省", "长春市", "朝阳区", "人民大街5988号", "130022"}},
    {F::TaoBao,
     "冯刚 13605311234 山东省济南市历城区港沟街道旅游路1号",
     {"", "冯刚", "", "13605311234", "", "山东省", "济南市", "历城区", "港沟街道旅游路1号", ""}},
};

void expectFields(const RecognizedAddress &r, const Expected &e)
{
    EXPECT_EQ(r.company.text, QString::fromUtf8(e.company));
    EXPECT_EQ(r.contact.text, QString::fromUtf8(e.contact));
    EXPECT_EQ(r.phone.text, QString::fromUtf8(e.phone));
    EXPECT_EQ(r.handset.text, QString::fromUtf8(e.handset));
    EXPECT_EQ(r.country.text, QString::fromUtf8(e.country));
    EXPECT_EQ(r.province.text, QString::fromUtf8(e.province));
    EXPECT_EQ(r.city.text, QString::fromUtf8(e.city));
    EXPECT_EQ(r.town.text, QString::fromUtf8(e.town));
    EXPECT_EQ(r.address.text, QString::fromUtf8(e.address));
    EXPECT_EQ(r.zipcode.text, QString::fromUtf8(e.zipcode));
}

} // namespace

TEST(AddressRecognizer, RealisticBlocksGiveEveryField)
{
    for (const Block &b : kBlocks) {
        SCOPED_TRACE(b.text);
        expectFields(recognize(QString::fromUtf8(b.text), false, b.format), b.expected);
    }
}

// Mobiles however written become 11 digits; fixed lines stay as written; a mobile never
// stands in the phone box.
TEST(AddressRecognizer, PhonesAreNormalisedOrKeptAsWritten)
{
    const struct
    {
        const char *text, *phone, *handset;
    } cases[] = {
        {"张伟 +86 138 2222 3333 广东省广州市越秀区中山五路219号", "", "13822223333"},
        {"张伟 138-0013-5678 广东省广州市越秀区中山五路219号", "", "13800135678"},
        {"张伟 86-13800135678 广东省广州市越秀区中山五路219号", "", "13800135678"},
        {"张伟 +8613800135678 广东省广州市越秀区中山五路219号", "", "13800135678"},
        {"张伟 电话:020-83331234-806 广东省广州市越秀区中山五路219号", "020-83331234-806", ""},
        {"张伟 (020)83331234 13800135678 广东省广州市越秀区中山五路219号", "(020)83331234",
         "13800135678"},
        {"张伟 0755-26543210转8012 广东省深圳市南山区科苑路15号", "0755-26543210转8012", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const RecognizedAddress r = recognize(QString::fromUtf8(c.text));
        EXPECT_EQ(r.phone.text, QString::fromUtf8(c.phone));
        EXPECT_EQ(r.handset.text, QString::fromUtf8(c.handset));
        EXPECT_TRUE(r.address.text.endsWith(u"号")) << r.address.text.toStdString();
    }
}

// A street, a building or a label is never the contact; the shop's "(女士)" goes. Every
// pattern candidate stays offered.
TEST(AddressRecognizer, ContactIsAPersonNeverAPlaceOrLabel)
{
    const struct
    {
        const char *text, *contact;
    } cases[] = {
        {"福建省厦门市思明区龙溪街道湖滨南路88号 13800135678 陈晓东", "陈晓东"},
        {"浙江省杭州市西湖区文三路8号 3号楼 林芳 13912345678", "林芳"},
        {"收件人: 丁一(女士)\n手机号码: 18967001234\n详细地址: 浙江省杭州市滨江区网商路699号",
         "丁一"},
        {"【收货人】黎明【手机】13912345678【地址】长沙市岳麓区麓山南路932号", "黎明"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const RecognizedAddress r = recognize(QString::fromUtf8(c.text));
        EXPECT_EQ(r.contact.text, QString::fromUtf8(c.contact));
        EXPECT_TRUE(r.contact.candidates.contains(r.contact.text));
    }
}

TEST(AddressRecognizer, MunicipalityBlockSuppliesItsCity)
{
    for (const char *text : {"上海市静安区", "收货人:周洁\n地址:上海市静安区南京西路1266号"}) {
        SCOPED_TRACE(text);
        const RecognizedAddress r = recognize(QString::fromUtf8(text));
        EXPECT_EQ(r.province.text, QStringLiteral("上海市"));
        EXPECT_EQ(r.city.text, QStringLiteral("上海市"));
        EXPECT_EQ(r.town.text, QStringLiteral("静安区"));
    }
}

TEST(AddressRecognizer, MobileIsNotAlsoATelephone)
{
    const RecognizedAddress r =
        recognize(QStringLiteral("张伟 13812345678 广东省广州市越秀区中山五路219号"));
    EXPECT_EQ(r.handset.candidates, QStringList{QStringLiteral("13812345678")});
    EXPECT_TRUE(r.phone.text.isEmpty());
    EXPECT_TRUE(r.phone.candidates.isEmpty());
}

TEST(AddressRecognizer, ProvinceNameNeverGivesAContact)
{
    for (const char *text : {"黑龙江省", "黑龙江省 哈尔滨市道里区中央大街100号",
                             "13945556666 黑龙江省\n大庆市萨尔图区中央街5号"}) {
        SCOPED_TRACE(text);
        const RecognizedAddress r = recognize(QString::fromUtf8(text));
        EXPECT_FALSE(r.contact.candidates.contains(QStringLiteral("龙江省")));
        EXPECT_NE(r.contact.text, QStringLiteral("龙江省"));
    }
}

TEST(AddressRecognizer, TextWithoutStreetWordFallsBackToAnyLongPiece)
{
    const RecognizedAddress r = recognize(QStringLiteral("周末，13812345678，城西菜场东侧小卖部"));
    EXPECT_EQ(r.contact.text, QStringLiteral("周末"));
    EXPECT_EQ(r.address.text, QStringLiteral("城西菜场东侧小卖部"));
}

TEST(AddressRecognizer, EquallyLongAddressesTakeTheLaterOne)
{
    const RecognizedAddress r =
        recognize(QStringLiteral("张三,13812345678,文三路100号甲楼,解放路200号乙楼"));
    ASSERT_EQ(r.address.candidates.size(), 2);
    EXPECT_EQ(r.address.text, QStringLiteral("解放路200号乙楼"));
}

TEST(AddressRecognizer, ContainProvinceCityPrefixesOrStripsThePlace)
{
    const QString text =
        QStringLiteral("王小明，13912345678，浙江省 杭州市 西湖区 文三路388号，310012");
    EXPECT_EQ(recognize(text, true).address.text, QStringLiteral("浙江省杭州市西湖区文三路388号"));
    EXPECT_EQ(recognize(text, false).address.text, QStringLiteral("文三路388号"));
    // A municipality is named once, and the contact heading the address still goes.
    EXPECT_EQ(recognize(QStringLiteral("李丽 13700001111 上海市徐汇区漕溪北路595号 200030"), true)
                  .address.text,
              QStringLiteral("上海市徐汇区漕溪北路595号"));

    const struct
    {
        const char *address;
        bool contain;
        const char *result;
    } cases[] = {
        {"文三路388号", true, "浙江省杭州市西湖区文三路388号"},
        {"杭州市西湖区文三路388号", true, "浙江省杭州市西湖区文三路388号"},
        {"浙江省杭州市西湖区文三路388号", false, "文三路388号"},
        {" 浙江省 ,文三路388号", false, "文三路388号"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(applyContainProvinceCity(QString::fromUtf8(c.address), QStringLiteral("浙江省"),
                                           QStringLiteral("杭州市"), QStringLiteral("西湖区"),
                                           c.contain),
                  QString::fromUtf8(c.result))
            << c.address;
    const QString sh[] = {QStringLiteral("上海"), QStringLiteral("上海市"),
                          QStringLiteral("徐汇区")};
    EXPECT_EQ(applyContainProvinceCity(QStringLiteral("上海市徐汇区漕溪北路595号"), sh[0], sh[1],
                                       sh[2], false),
              QStringLiteral("漕溪北路595号"));
    EXPECT_EQ(applyContainProvinceCity(QStringLiteral("漕溪北路595号"), sh[0], sh[1], sh[2], true),
              QStringLiteral("上海市徐汇区漕溪北路595号"));
}

TEST(AddressRecognizer, TypedContactIsTakenOffTheAddress)
{
    const QString text =
        normalizeAddressText(QStringLiteral("13812345678,Tom 文三路100号甲楼"), {});
    AddressRecognitionOptions options;
    EXPECT_TRUE(recognizeAddress(text, options).address.text.startsWith(u"Tom"));
    options.contactHint = QStringLiteral("Tom");
    EXPECT_EQ(recognizeAddress(text, options).address.text, QStringLiteral("文三路100号甲楼"));
}

TEST(AddressRecognizer, NormalisationCleansShopTextAndAppliesOwnReplacements)
{
    const QString text = normalizeAddressText(
        QStringLiteral(
            "\n\n收货人：张三  旺旺在线\n\n\n地址：杭州　西湖，文三路１号\n电话：0571－1\n"),
        {{QStringLiteral("１"), QStringLiteral("1")},
         {QStringLiteral("西湖"), QStringLiteral("西湖区")}});
    EXPECT_EQ(text.toStdString(),
              QStringLiteral("\n\r收货人:张三,\r\n地址:杭州 西湖区,文三路1号\r\n"
                             "电话:0571-1\r\n\n\r")
                  .toStdString());
    // The user's replacements run after the built-in ones, in stored order.
    EXPECT_EQ(
        recognize(QStringLiteral("收货人：张三，手机：13812345678，地址：广东深圳南山科苑路15号"),
                  false, F::TaoBao,
                  {{QStringLiteral("广东深圳南山"), QStringLiteral("广东省深圳市南山区")}})
            .town.text,
        QStringLiteral("南山区"));
}

TEST(AddressRecognizer, BadInputGivesAnEmptyResultQuickly)
{
    const QString junk = QString::fromUtf8(QByteArray("\x00\x01\xff\xfe\x80\x1b\x9b\x7f\x00", 9));
    const QString cases[] = {
        QString(),
        QStringLiteral("      \n\n   \t"),
        QStringLiteral("12345678901234567890"),
        QString(1024, u'8'),
        QStringLiteral("😀😀🎉🎉👍👍 !!! ???"),
        junk,
        junk.repeated(100),
    };
    for (const QString &text : cases) {
        SCOPED_TRACE(text.left(40).toStdString());
        EXPECT_TRUE(recognize(text).isEmpty());
    }
}

TEST(AddressRecognizer, LongHostileTextsFinish)
{
    // Each would make a careless pattern backtrack for ever; the test's time-out catches a hang.
    const QString texts[] = {
        QString(1024, u'省'),
        QString(1024, u'路'),
        QStringLiteral("区:").repeated(512),
        QStringLiteral("收货人:").repeated(256),
        QStringLiteral("张 ").repeated(512),
        QStringLiteral("广东省深圳市南山区科技园路1号 ").repeated(60).left(1024),
        QStringLiteral("(0").repeated(512),
    };
    for (const QString &text : texts) {
        SCOPED_TRACE(text.left(20).toStdString());
        recognize(text, true);
        recognize(text, false, F::PaiPai);
    }
}

TEST(AddressRecognizer, SamplesOfEveryFormatAreRecognised)
{
    for (F format : {F::TaoBao, F::EachNet, F::PaiPai, F::Other}) {
        const RecognizedAddress r = recognize(addressFormatSample(format), false, format);
        EXPECT_FALSE(r.contact.text.isEmpty());
        EXPECT_FALSE(r.address.text.isEmpty());
        EXPECT_FALSE(r.handset.text.isEmpty());
        EXPECT_FALSE(addressFormatNote(format).isEmpty());
    }
}
