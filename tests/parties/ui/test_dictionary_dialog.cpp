#include "TestHome.h"
#include "parties/ui/Tfm_DMConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

constexpr int kTemplate = 900;

void addTemplate(TestHome &home)
{
    QSqlQuery q = home.db().query();
    q.prepare("INSERT INTO ckTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, "
              "Visiable) VALUES (?, '快递单（字典测试）', '快递单', '字典测试', '启用')");
    q.addBindValue(kTemplate);
    ASSERT_TRUE(q.exec());
}

QStringList values(TestHome &home, const QString &name, int checkTypeId)
{
    QSqlQuery q = home.db().query();
    q.prepare("SELECT DMValue FROM DMTable WHERE DMName = ? AND CheckTypeID = ? ORDER BY DMValue");
    q.addBindValue(name);
    q.addBindValue(checkTypeId);
    q.exec();
    QStringList list;
    while (q.next())
        list << q.value(0).toString();
    return list;
}

struct Dialog
{
    Dialog(TestHome &home, int checkTypeId)
        : window(home.services(), checkTypeId)
    {}
    void click(const char *name) { window.findChild<QPushButton *>(name)->click(); }
    QAbstractItemModel *grid() { return window.findChild<QTableView *>("DBGrid1")->model(); }
    QStringList gridValues()
    {
        QStringList list;
        for (int row = 0; row < grid()->rowCount(); ++row)
            list << grid()->index(row, 2).data().toString();
        return list;
    }
    void chooseName(const QString &name)
    {
        auto *names = window.findChild<QListWidget *>("listBoxNames");
        names->setCurrentItem(names->findItems(name, Qt::MatchExactly).value(0));
        window.loadEntries();
    }
    void setNewName(const QString &name)
    {
        window.findChild<QComboBox *>("edtNewName")->setCurrentText(name);
    }
    Tfm_DMConfig window;
};

} // namespace

TEST(DictionaryDialog, NewDictionaryIsCheckedAndStartsWithOneEmptyEntry)
{
    TestHome home;
    Dialog d(home, 0);
    EXPECT_EQ(d.window.windowTitle(), QStringLiteral("岚砚软件-字典管理"));

    d.setNewName("  ");
    d.click("btAdd");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("请输入字典名称"));

    d.setNewName("始发站");
    d.click("btAdd");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("字典项目【始发站】已经存在"));

    d.setNewName(" 运输方式 ");
    d.click("btAdd");
    EXPECT_EQ(values(home, "运输方式", 0), QStringList{"<空>"});
    EXPECT_EQ(d.window.currentName(), QStringLiteral("运输方式"));
    EXPECT_EQ(d.gridValues(), QStringList{"<空>"});
    EXPECT_EQ(home.ui.shown.size(), 2);
}

TEST(DictionaryDialog, TemplateAddsItsOwnEntriesBesideTheSharedOnes)
{
    TestHome home;
    addTemplate(home);
    Dialog d(home, kTemplate);
    ASSERT_EQ(d.window.checkTypeId(), kTemplate);
    EXPECT_EQ(d.window.findChild<QComboBox *>("Co_CheckType")->currentText(),
              QStringLiteral("快递单（字典测试）"));
    // No dictionaries of its own: the shared names are offered.
    EXPECT_TRUE(d.window.findChild<QListWidget *>("listBoxNames")
                    ->findItems("始发站", Qt::MatchExactly)
                    .size() == 1);

    d.chooseName("始发站");
    EXPECT_EQ(d.gridValues().size(), 4);
    d.click("btNewContent");
    ASSERT_EQ(d.grid()->rowCount(), 5);
    EXPECT_EQ(d.grid()->index(4, 3).data().toInt(), kTemplate);
    EXPECT_FALSE(d.grid()->flags(d.grid()->index(4, 3)) & Qt::ItemIsEditable);
    d.grid()->setData(d.grid()->index(4, 2), "杭州");
    d.click("Button4");
    EXPECT_EQ(values(home, "始发站", kTemplate), QStringList{"杭州"});

    d.window.findChild<QCheckBox *>("ckCommon")->setChecked(false);
    EXPECT_EQ(d.gridValues(), QStringList{"杭州"});
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST(DictionaryDialog, EditsAreStoredOnSubmitAndOnClose)
{
    TestHome home;
    Dialog d(home, 0);
    d.chooseName("始发站");
    const int row = d.gridValues().indexOf("北京");
    ASSERT_GE(row, 0);
    d.grid()->setData(d.grid()->index(row, 2), "北京西");
    d.click("Button4");
    EXPECT_TRUE(values(home, "始发站", 0).contains("北京西"));
    EXPECT_FALSE(values(home, "始发站", 0).contains("北京"));

    d.click("btNewContent");
    d.grid()->setData(d.grid()->index(d.grid()->rowCount() - 1, 2), "成都");
    d.click("btClose");
    EXPECT_TRUE(values(home, "始发站", 0).contains("成都"));
}

TEST(DictionaryDialog, DeleteAsksFirstAndDropsAnEmptiedDictionary)
{
    TestHome home;
    Dialog d(home, 0);
    d.setNewName("运输方式");
    d.click("btAdd");
    ASSERT_EQ(d.window.currentName(), QStringLiteral("运输方式"));

    home.ui.answer(Ui::Answer::No);
    d.click("Button3");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("确认删除字典项目吗？"));
    EXPECT_EQ(values(home, "运输方式", 0).size(), 1);

    home.ui.answer(Ui::Answer::Yes);
    d.click("Button3");
    EXPECT_TRUE(values(home, "运输方式", 0).isEmpty());
    // The emptied dictionary is gone from the names; the first one is shown instead.
    EXPECT_TRUE(d.window.findChild<QListWidget *>("listBoxNames")
                    ->findItems("运输方式", Qt::MatchExactly)
                    .isEmpty());
    EXPECT_NE(d.window.currentName(), QStringLiteral("运输方式"));
}

TEST(DictionaryDialog, DeleteWithNothingListedSaysSo)
{
    TestHome home;
    home.db().query().exec("DELETE FROM DMTable");
    Dialog d(home, 0);
    home.ui.answer(Ui::Answer::Yes);
    d.click("Button3");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("对不起，没有内容可删除！"));
}
