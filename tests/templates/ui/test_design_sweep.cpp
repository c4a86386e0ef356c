#include "CommandSweep.h"
#include "TestHome.h"
#include "data/BoundQuery.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/TfmCheckDesign.h"
#include "templates/ui/TfmTemplateDesigner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace sweep;

namespace {

constexpr int kExpressSlip = 1;
const QString kSender = QStringLiteral("ZDHKR");

// Design mode on the shipped express slip, shown as its menu item shows it.
class DesignModeSweep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        design = std::make_unique<TfmCheckDesign>(home.services(), kExpressSlip);
        design->show();
        QApplication::setActiveWindow(design.get());
        ASSERT_TRUE(mapped(design.get()));
    }

    template<class W>
    W *child(const char *name)
    {
        auto *w = design->findChild<W *>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }

    // The stored value of a column of the sender's item.
    int stored(const char *column)
    {
        QSqlQuery q = home.db().query();
        execBound(q,
                  QStringLiteral("SELECT ") + QLatin1String(column) +
                      u" FROM CKControl WHERE CheckTypeID = ? AND CtlName = ?",
                  QVariantList{kExpressSlip, kSender});
        return q.next() ? q.value(0).toInt() : -1;
    }

    // A click on the sender's entry in the item list, as the user selects an item.
    void selectSender()
    {
        QListWidget *list = child<QListWidget>("listCtlLabel");
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem *item = list->item(i);
            if (item->data(Qt::UserRole).toString().compare(kSender, Qt::CaseInsensitive) == 0) {
                list->scrollToItem(item);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(item).center());
                break;
            }
        }
        ASSERT_TRUE(design->selectedBox());
        ASSERT_EQ(design->selectedBox()->objectName().toUpper(), kSender);
    }

    int checkedItems()
    {
        QListWidget *list = child<QListWidget>("listCtlLabel");
        int checked = 0;
        for (int i = 0; i < list->count(); ++i)
            checked += list->item(i)->checkState() == Qt::Checked;
        return checked;
    }

    bool saidOnTheLine(const QString &text)
    {
        auto *line = child<QLabel>("lbMessage");
        return line->isVisible() && line->text().contains(text);
    }

    void showTab(int index)
    {
        QTabBar *bar = design->findChild<QTabWidget *>()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    TestHome home;
    std::unique_ptr<TfmCheckDesign> design;
};

} // namespace

TEST_F(DesignModeSweep, EveryCommandOfDesignMode)
{
    int before = 0;
    auto arrow = [&](const char *name, const char *column, int delta, const char *direction) {
        return Row{name, state([=, &before, this] {
                       return stored(column) == before + delta &&
                              saidOnTheLine(QString::fromUtf8(direction));
                   }),
                   [=, &before, this] {
                       selectSender();
                       before = stored(column);
                   }};
    };
    auto listMenu = [&] { rightClick(child<QListWidget>("listCtlLabel")); };
    // The maintenance panel opens after seven clicks on the status bar, on its own tab.
    auto unlock = [&] {
        for (int i = 0; i < 7; ++i)
            QTest::mouseClick(child<QLabel>("statusPanel0"), Qt::LeftButton);
        showTab(2);
    };
    int srcX = 0;

    const std::vector<Row> rows = {
        {"btShowExpirence", message(QStringLiteral("【设计模式使用技巧】"))},
        // Nothing selected: the message line says what to do, nothing moves.
        {"btPrtRight", state([&] {
             return saidOnTheLine(QStringLiteral("请选择左侧需要设置的项目")) &&
                    stored("CtlX") == before;
         }),
         [&] { before = stored("CtlX"); }},
        // One millimetre is ten tenths, each arrow its own way.
        arrow("btPrtTop", "CtlY", -10, "上移了"),
        arrow("btPrtBottom", "CtlY", 10, "下移了"),
        arrow("btPrtLeft", "CtlX", -10, "左移了"),
        arrow("btPrtRight", "CtlX", 10, "右移了"),
        {"btSaveCheck", message(QStringLiteral("打印细节")), [&] { selectSender(); }},
        {"btPreview", modal("TfmTemplateDesigner")},
        // A box stored elsewhere meanwhile is shown there after "刷新".
        {"btRefreshCheck", state([&] { return design->box(kSender)->x() == srcX; }),
         [&] {
             srcX = stored("SrcX") + 17;
             QSqlQuery q = home.db().query();
             execBound(q, "UPDATE CKControl SET SrcX = ? WHERE CheckTypeID = ? AND CtlName = ?",
                       QVariantList{srcX, kExpressSlip, kSender});
         }},
        {"nSelectAll",
         state([&] { return checkedItems() == child<QListWidget>("listCtlLabel")->count(); }),
         {},
         listMenu},
        {"nSelectFan", state([&] { return checkedItems() == 0; }), {}, listMenu},
        {"nCheckBoxSet", prompt(), {}, listMenu},
        {"btRunSQL", message(QStringLiteral("只有以管理员角色登录的操作员才能运行命令")), unlock},
        {"Button2", message(QString::number(kExpressSlip)), unlock},
    };
    expectARowForEveryCommand(design.get(), rows);
    pressRows([&] { return design.get(); }, home.ui, rows);

    // The blue links show the measuring picture; the offset tab opens the whole-slip offset.
    // The home is given a picture of that name: the viewer is what is under test here.
    ASSERT_TRUE(
        QFile::copy(home.path() + "Image/sys_bg.jpg", home.path() + "Image/sys_PosExp.jpg"));
    for (const char *link : {"lbCtlX", "lbCtlY", "lbAlert"}) {
        auto *label = child<QLabel>(link);
        expectEffect(link, home.ui, window("TfrmImageShow"),
                     [&] { QTest::mouseClick(label, Qt::LeftButton); });
    }
    showTab(0);
    expectEffect("tabMoveXY", home.ui, modal("TfrmPrintOffset"), [&] {
        showTab(1);
        QTest::qWait(50); // the window opens from the event loop once the tab has changed
    });
    EXPECT_EQ(design->findChild<QTabWidget *>()->currentIndex(), 0) << "back on the first tab";
}

namespace {

// The designer of the shipped express slip, as design mode's "预览打印效果" opens it.
class DesignerSweep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        designer.setCheckTypeID(kExpressSlip);
        ASSERT_TRUE(designer.loadDesigner());
        designer.show();
        QApplication::setActiveWindow(&designer);
        ASSERT_TRUE(mapped(&designer));
    }

    template<class W>
    W *child(const char *name)
    {
        auto *w = designer.findChild<W *>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }

    int stored(const char *column, const QString &item = kSender)
    {
        QSqlQuery q = home.db().query();
        execBound(q,
                  QStringLiteral("SELECT ") + QLatin1String(column) +
                      u" FROM CKControl WHERE CheckTypeID = ? AND CtlName = ?",
                  QVariantList{kExpressSlip, item});
        return q.next() ? q.value(0).toInt() : -1;
    }
    int paperWidth()
    {
        QSqlQuery q = home.db().query();
        execBound(q, "SELECT PWidth FROM ckTypeTable WHERE CheckTypeID = ?",
                  QVariantList{kExpressSlip});
        return q.next() ? q.value(0).toInt() : -1;
    }

    // The list menus: "清空选择" on the chosen, "全选" and "反选" on all items.
    void fromMenu(const char *list, const char *item)
    {
        auto *l = child<QListWidget>(list);
        EXPECT_TRUE(chooseFromMenu([l] { rightClick(l); }, QString::fromUtf8(item))) << item;
    }
    std::function<void()> menuOf(const char *list)
    {
        return [this, list] { rightClick(child<QListWidget>(list)); };
    }
    // The sender alone selected, with a click on its piece on the page.
    void selectSender()
    {
        fromMenu("lstSelectedNames", "清空选择");
        LayoutItem *piece = designer.pieces(kSender).value(0);
        ASSERT_TRUE(piece);
        QTest::mouseClick(designer.canvas()->viewport(), Qt::LeftButton, {},
                          designer.canvas()->mapFromScene(piece->scenePos() + QPointF(2, 2)));
        ASSERT_EQ(designer.selection(), QStringList{kSender});
    }
    // Every item selected, on the batch tab `tab`.
    void selectAllOn(int tab)
    {
        fromMenu("lstAllCtlNames", "全选");
        auto *tabs = child<QTabWidget>("PageControlUpdate");
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(tab).center());
        ASSERT_EQ(tabs->currentIndex(), tab);
    }
    bool statusSays(const char *text)
    {
        return child<QLabel>("stateBar1_3")->text().contains(QString::fromUtf8(text));
    }

    TestHome home;
    TfmTemplateDesigner designer{home.services()};
};

} // namespace

TEST_F(DesignerSweep, EveryCommandOfTheDesigner)
{
    int before = 0;
    // A move by the step, one millimetre: ten tenths each way.
    auto move = [&](const char *name, const char *column, int delta) {
        return Row{name, state([=, &before, this] { return stored(column) == before + delta; }),
                   [=, &before, this] {
                       selectSender();
                       QTest::mouseClick(child<QPushButton>("btStep1"), Qt::LeftButton);
                       before = stored(column);
                   }};
    };
    auto step = [&](const char *name, const char *shown) {
        return Row{name, state([=, this] {
                       return child<QLabel>("lbStepWidth")->text() == QString::fromLatin1(shown);
                   })};
    };
    // A batch command on every item; the status line names what it did.
    auto batch = [&](const char *caption, int tab, const char *said) {
        return Row{caption, state([=, this] { return statusSays(said); }),
                   [=, this] { selectAllOn(tab); }};
    };
    const std::vector<Row> rows = {
        {"btPicBrowse", file()},
        {"btSaveXY",
         message(QStringLiteral("底图实际长和宽保存成功"), [&] { return paperWidth() == 2210; }),
         [&] { child<QLineEdit>("edtPWidth")->setText(QStringLiteral("22.10")); }},
        {"btCaculateMMDivPix",
         state([&] { return child<QLineEdit>("edtMMDivPixValueX")->text().toDouble() > 0; }),
         [&] { child<QLineEdit>("edtMMDivPixValueX")->setText(QStringLiteral("?")); }},
        step("btStep2", "2mm"),
        step("btStep3", "3mm"),
        step("btStep5", "5mm"),
        step("btStep10", "10mm"),
        step("btStep1", "1mm"),
        move("btMoveUp", "CtlY", -10),
        move("btMoveDown", "CtlY", 10),
        move("btMoveLeft", "CtlX", -10),
        move("btMoveRight", "CtlX", 10),
        {"btUpdateTestData", message(),
         [&] {
             selectSender();
             child<QComboBox>("cbTestData")->setCurrentText(QStringLiteral("岚砚科技有限公司"));
         }},
        // The fields are stored as they show, over what the database held.
        {"btSaveXYWH", state([&] { return stored("CtlW") == before; }),
         [&] {
             selectSender();
             before = child<QSpinBox>("edtCtlW")->value();
             QSqlQuery q = home.db().query();
             execBound(q,
                       "UPDATE CKControl SET CtlW = CtlW + 7 WHERE CheckTypeID = ? AND CtlName = ?",
                       QVariantList{kExpressSlip, kSender});
         }},
        {"btTabFontSize", state([&] { return stored("CtlFontSize") == 13; }),
         [&] {
             selectAllOn(0);
             child<QComboBox>("cbTabFontSize")->setCurrentText(QStringLiteral("13"));
         }},
        {"btTabFontName", message(QStringLiteral("字体必须选择")), [&] { selectAllOn(1); }},
        batch("等宽-最窄", 2, "个批量修改等量宽度(最窄)成功！"),
        batch("等高-最矮", 2, "个批量修改等量高度(最矮)成功！"),
        batch("等高-最高", 2, "批量修改等量高度（最高）成功！"),
        batch("等宽-最宽", 2, "批量修改等量宽度（最宽）成功！"),
        batch("最右对齐", 2, "批量修改最右对齐成功！"),
        batch("最顶对齐", 2, "批量修改距最顶对齐成功！"),
        batch("最底对齐", 2, "批量修改距最底对齐成功！"),
        batch("最左对齐", 2, "批量修改最左对齐成功！"),
        batch("+宽", 2, "个批量加宽成功！"),
        batch("-宽", 2, "个批量减宽成功！"),
        batch("+高", 2, "个批量加高成功！"),
        batch("-高", 2, "个批量减高成功！"),
        batch("btSpreadX", 3, "个等宽分布修改成功！"),
        batch("btSpreadY", 3, "个等宽分布修改成功！"),
        {"清空选择",
         state([&] { return designer.selection().isEmpty(); }),
         {},
         menuOf("lstSelectedNames")},
        {"全选",
         state([&] {
             return designer.selection().size() == child<QListWidget>("lstAllCtlNames")->count();
         }),
         {},
         menuOf("lstAllCtlNames")},
        {"反选",
         state([&] { return designer.selection().isEmpty(); }),
         {},
         menuOf("lstAllCtlNames")},
        {"btMaxVeiw", state([&] {
             return !child<QWidget>("PanelMiddle")->isVisible() &&
                    child<QPushButton>("btMaxVeiw")->text() == u"返回";
         })},
        {"btMaxVeiw", state([&] {
             return child<QWidget>("PanelMiddle")->isVisible() &&
                    child<QPushButton>("btMaxVeiw")->text() == u"满屏";
         })},
    };
    expectARowForEveryCommand(&designer, rows);
    pressRows([&] { return &designer; }, home.ui, rows);
}
