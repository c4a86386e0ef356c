#include "TestHome.h"
#include "parties/ui/TfrmSsSet.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

int rows(TestHome &home, const QString &city)
{
    QSqlQuery q = home.db().query();
    q.prepare("SELECT count(*) FROM DMTable2 WHERE 类型 = '省市' AND 一级代码 = '广东省' AND "
              "二级代码 = ?");
    q.addBindValue(city);
    q.exec();
    q.next();
    return q.value(0).toInt();
}

struct Dialog
{
    explicit Dialog(TestHome &home)
        : window(home.services())
    {
        auto *provinces = window.findChild<QComboBox *>("CoS");
        provinces->setCurrentIndex(provinces->findText("广东省"));
    }
    void click(const char *name) { window.findChild<QPushButton *>(name)->click(); }
    QListWidget *cities() { return window.findChild<QListWidget *>("lstS"); }
    void select(const QString &city)
    {
        const QList<QListWidgetItem *> found = cities()->findItems(u' ' + city, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        cities()->setCurrentItem(found.first());
    }
    void enter(const QString &city) { window.findChild<QLineEdit *>("txtNewSx")->setText(city); }
    bool panelShown() { return !window.findChild<QFrame *>("Panel1")->isHidden(); }
    TfrmSsSet window;
};

} // namespace

TEST(RegionDialog, AddStoresTheTrimmedCityOnce)
{
    TestHome home;
    Dialog d(home);
    EXPECT_GE(d.cities()->count(), 21);

    d.click("btAdd");
    ASSERT_TRUE(d.panelShown());
    EXPECT_EQ(d.window.findChild<QLineEdit *>("txtNewS")->text(), QStringLiteral("广东省"));
    d.enter("   ");
    d.click("btSure");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("省和市输入不能为空！"));

    d.enter(" 广州市 ");
    d.click("btSure");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("\"广东省--广州市\" 已经存在，不需要添加！"));
    EXPECT_EQ(rows(home, "广州市"), 1);
    EXPECT_TRUE(d.panelShown());

    d.enter("  横琴新区 ");
    d.click("btSure");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("\"广东省--横琴新区\"代码添加成功！"));
    EXPECT_EQ(rows(home, "横琴新区"), 1);
    EXPECT_FALSE(d.panelShown());
    EXPECT_EQ(d.window.findChild<QComboBox *>("CoS")->currentText(), QStringLiteral("广东省"));
    d.select("横琴新区");
}

TEST(RegionDialog, ModifyAndDeleteTheSelectedCityWithoutAsking)
{
    TestHome home;
    Dialog d(home);
    for (const char *button : {"btModify", "btDel"}) {
        d.click(button);
        EXPECT_TRUE(home.ui.last().text.startsWith(QStringLiteral("请先选中要"))) << button;
    }
    EXPECT_EQ(rows(home, "云浮市"), 1);

    d.select("云浮市");
    d.click("btModify");
    EXPECT_EQ(d.window.findChild<QLineEdit *>("txtNewSx")->text(), QStringLiteral("云浮市"));
    d.enter("云浮新市");
    d.click("btSure");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("修改成功！"));
    EXPECT_EQ(rows(home, "云浮市"), 0);
    EXPECT_EQ(rows(home, "云浮新市"), 1);

    d.select("云浮新市");
    d.click("btDel");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("删除成功！"));
    EXPECT_EQ(rows(home, "云浮新市"), 0);
    EXPECT_TRUE(d.cities()->findItems(" 云浮新市", Qt::MatchExactly).isEmpty());
    for (const ScriptedUi::Shown &s : home.ui.shown)
        EXPECT_EQ(s.buttons, Ui::Buttons::Ok);
}
