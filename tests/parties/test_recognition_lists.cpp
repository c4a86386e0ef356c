#include "TestHome.h"
#include "data/BoundQuery.h"
#include "parties/RecognitionLists.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

TEST(RecognitionLists, OwnReplacementsInStoredOrderAndOnlyTheirType)
{
    TestHome home;
    QSqlQuery q = home.db().query();
    for (const auto &[type, from, to] :
         {std::tuple{"其他字符", "收件", "收货"}, std::tuple{"省市", "浙江省", "杭州市"},
          std::tuple{"其他字符", "O'Neil", "'"}})
        ASSERT_TRUE(execBound(
            q, QStringLiteral("INSERT INTO DMTable2 (类型, 一级代码, 二级代码) VALUES (?, ?, ?)"),
            {QString::fromUtf8(type), QString::fromUtf8(from), QString::fromUtf8(to)}));
    const std::vector<TextReplacement> expected{{QStringLiteral("收件"), QStringLiteral("收货")},
                                                {QStringLiteral("O'Neil"), QStringLiteral("'")}};
    EXPECT_EQ(RecognitionLists(home.db()).otherCharReplacements(), expected);
}

TEST(RecognitionLists, RemarkIsSavedOnceAndListed)
{
    TestHome home;
    RecognitionLists lists(home.db());
    const QString remark = QStringLiteral("易碎品 'O'Neil' 轻放");
    EXPECT_EQ(lists.saveRemark(remark), RecognitionLists::Saved::Added);
    EXPECT_EQ(lists.saveRemark(remark), RecognitionLists::Saved::Exists);
    EXPECT_TRUE(lists.remarkValues(RecognitionLists::Source::Dictionary).contains(remark));

    QSqlQuery q = home.db().query();
    for (int i = 0; i < RecognitionLists::kMaxListed + 5; ++i)
        execBound(q, QStringLiteral("INSERT INTO DataKDDTable (物品内容, 备注) VALUES (?, '')"),
                  {QStringLiteral("物品%1").arg(i)});
    EXPECT_EQ(lists.remarkValues(RecognitionLists::Source::HistoryGoods).size(),
              RecognitionLists::kMaxListed);
    // Blank remarks of saved slips are no choice.
    EXPECT_TRUE(lists.remarkValues(RecognitionLists::Source::HistoryRemarks).isEmpty());

    home.db().query().exec(QStringLiteral("DROP TABLE DMTable"));
    EXPECT_EQ(lists.saveRemark(QStringLiteral("新附注")), RecognitionLists::Saved::Failed);
}
