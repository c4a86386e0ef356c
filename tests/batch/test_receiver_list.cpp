#include "TestHome.h"
#include "batch/ReceiverList.h"
#include "data/TPersonKDD.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

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
