#include "TestHome.h"
#include "parties/ui/TfrmCom.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct Dialog
{
    explicit Dialog(TestHome &home)
        : window(home.services())
    {}
    void click(const char *name) { window.findChild<QPushButton *>(name)->click(); }
    QComboBox *names() { return window.findChild<QComboBox *>("cb_biz"); }
    QLineEdit *name() { return window.findChild<QLineEdit *>("ed_bz"); }
    QLineEdit *code() { return window.findChild<QLineEdit *>("ed_jm"); }
    void choose(const QString &currency) { Q_EMIT names()->activated(names()->findText(currency)); }
    TfrmCom window;
};

} // namespace

TEST(CurrencyDialog, AddRefusesIncompleteAndDuplicateInput)
{
    TestHome home;
    Dialog d(home);
    EXPECT_EQ(d.names()->itemText(0), QStringLiteral("人民币"));
    EXPECT_EQ(d.names()->currentIndex(), -1);
    EXPECT_EQ(d.name()->maxLength(), 8);
    EXPECT_EQ(d.code()->maxLength(), 3);

    const struct
    {
        const char *name;
        const char *code;
        const char *text;
        const char *caption;
    } refused[] = {
        {" ", "RUB", "请填写要添加的币种名称！", "输入不完整"},
        {"卢布", " ", "请填写要添加的币种简码！", "输入不完整"},
        {"人民币", "RMB", "币种\"人民币\"已经存在！", "存在的币种"},
        {"卢布", "￥", "币种简码\"￥\"已经存在！", "存在的币种简码"},
    };
    for (const auto &r : refused) {
        d.name()->setText(QString::fromUtf8(r.name));
        d.code()->setText(QString::fromUtf8(r.code));
        d.click("btadd");
        EXPECT_EQ(home.ui.last().text, QString::fromUtf8(r.text));
        EXPECT_EQ(home.ui.last().caption, QString::fromUtf8(r.caption));
    }
    EXPECT_EQ(d.names()->findText("卢布"), -1);

    d.name()->setText(" 卢布 ");
    d.code()->setText("RUB");
    d.click("btadd");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("新币种添加成功！"));
    EXPECT_EQ(d.names()->itemText(d.names()->count() - 1), QStringLiteral("卢布"));
    EXPECT_EQ(home.services().dictionaries().getMoneyCodeByName("卢布"), QStringLiteral("RUB"));
}

TEST(CurrencyDialog, DeleteModifyAndMoveTheChosenCurrency)
{
    TestHome home;
    Dialog d(home);
    for (const char *button : {"btdel", "btmod", "btMoveUp"}) {
        d.click(button);
        EXPECT_TRUE(home.ui.last().text.startsWith(QStringLiteral("请先选中要"))) << button;
    }

    d.choose("港币");
    EXPECT_EQ(d.name()->text(), QStringLiteral("港币"));
    EXPECT_EQ(d.code()->text(), QStringLiteral("HK$"));
    d.name()->setText("香港元");
    d.click("btmod");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("修改不能改变币种名称！"));
    EXPECT_EQ(d.name()->text(), QStringLiteral("港币"));
    d.code()->setText("US$"); // another currency's code
    d.click("btmod");
    EXPECT_EQ(home.ui.last().caption, QStringLiteral("存在的币种简码"));
    d.code()->setText("HKD");
    d.click("btmod");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("币种\"港币\"修改成功！"));
    EXPECT_EQ(home.services().dictionaries().getMoneyNameByCode("HKD"), QStringLiteral("港币"));

    d.choose("美元");
    d.click("btMoveUp");
    d.click("btMoveUp");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("显示顺序上移成功！"));
    EXPECT_EQ(d.names()->itemText(0), QStringLiteral("美元"));
    EXPECT_EQ(d.names()->currentText(), QStringLiteral("美元")); // still chosen

    d.click("btdel"); // no question
    EXPECT_EQ(home.ui.last().text, QStringLiteral("币种\"美元\"删除成功！"));
    EXPECT_EQ(d.names()->findText("美元"), -1);
    EXPECT_TRUE(d.name()->text().isEmpty() && d.code()->text().isEmpty());
    for (const ScriptedUi::Shown &s : home.ui.shown)
        EXPECT_EQ(s.buttons, Ui::Buttons::Ok);
}
