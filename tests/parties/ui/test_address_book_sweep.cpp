#include "CommandSweep.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "data/Grids.h"
#include "data/Parties.h"
#include "parties/ui/AddressBookWindows.h"
#include "parties/ui/Tfm_PersonManage.h"
#include "parties/ui/Tfrm_PersonInfo.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <gtest/gtest.h>

using namespace sweep;

namespace {

// The address book windows of the frame on a seeded home with three counterparties and our
// own unit; the list in manage mode is shown without a loop of its own, so that each of its
// commands can open its windows.
class AddressBookSweep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = shownFrame(home, device);
        windows = frame->findChild<AddressBookWindows *>();
        ASSERT_TRUE(windows);
        for (const char *name : {"深圳飞鸿贸易", "杭州云起科技", "广州南风商行"})
            store(name, TPerson::kCounterparty);
        store("岚砚总部", TPerson::kOwnUnit);
    }

    void store(const char *name, const QString &type)
    {
        TPerson p;
        p.FullName = QString::fromUtf8(name);
        p.Contactor = QStringLiteral("联系人");
        p.AcountType = type;
        EXPECT_TRUE(home.services().parties().Save(p).isEmpty());
    }
    int stored() { return home.db().CountTableAllRows("CKPersonalInfoTable", home.ui); }

    Tfm_PersonManage *openList()
    {
        if (!list) {
            list = new Tfm_PersonManage(home.services(), *windows, Tfm_PersonManage::Mode::Manage,
                                        frame.get());
            list->setAttribute(Qt::WA_DeleteOnClose);
        }
        if (!list->isVisible())
            list->show();
        EXPECT_TRUE(mapped(list));
        return list;
    }
    int listed() { return list->grid()->model()->rowCount(); }
    int currentRow() { return list->grid()->currentIndex().row(); }
    void clickRow(int row)
    {
        QTableView *grid = list->grid();
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    template<class W>
    W *child(QWidget *w, const char *name)
    {
        auto *c = w->findChild<W *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    // The counterparties' tab, as the user clicks it.
    void counterparties()
    {
        auto *tabs = child<QTabBar>(list, "TabControl1");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        ASSERT_EQ(tabs->currentIndex(), 1);
    }
    // The name the detail window shows, and the one a row of the list shows. "添 加" keeps what
    // the boxes held and only forgets which party they were.
    QString detailName()
    {
        return qobject_cast<QLineEdit *>(windows->detailWindow().box("edtName"))->text();
    }
    QString rowName(int row)
    {
        QAbstractItemModel *model = list->grid()->model();
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString() == u"全称")
                return model->index(row, c).data().toString();
        return {};
    }
    void typeKey(const char *text)
    {
        child<QLineEdit>(list, "KeyEdit")->setText(QString::fromUtf8(text));
    }

    TestHome home;
    RecordingPrintDevice *device = nullptr;
    std::unique_ptr<Tfm_Main> frame;
    AddressBookWindows *windows = nullptr;
    QPointer<Tfm_PersonManage> list;
};

} // namespace

TEST_F(AddressBookSweep, EveryCommandOfTheList)
{
    int before = 0;
    auto count = [&] { before = stored(); };
    auto menu = [&] { rightClick(list->grid()); };
    auto showAll = [&] { QTest::mouseClick(child<QPushButton>(list, "btSelAll"), Qt::LeftButton); };
    auto widthStored = [&] {
        return home.services()
                   .grids()
                   .loadColumnWidths(list->objectName(), "DBGrid1",
                                     list->grid()->model()->columnCount())
                   .value(1) == 173;
    };
    const std::vector<Row> rows = {
        {"btQur", state([&] { return listed() == 1; }),
         [&] {
             counterparties();
             typeKey("飞鸿");
         }},
        {"btSelAll", state([&] { return listed() == stored(); }), [&] { typeKey("飞鸿"); }},
        {"btShowAdv", state([&] { return child<QWidget>(list, "panelAdv")->isVisible(); })},
        {"btAdvQur", state([&] { return listed() == 1; }),
         [&] {
             counterparties();
             typeKey("");
             child<QLineEdit>(list, "key1")->setText(QStringLiteral("云起"));
         }},
        {"btLast", state([&] { return currentRow() == listed() - 1; }),
         [&] {
             showAll();
             clickRow(0);
         }},
        {"btFirst", state([&] { return currentRow() == 0; }), [&] { clickRow(1); }},
        {"btInsert",
         modal("Tfrm_PersonInfo", {}, [&] { return windows->detailWindow().idText().isEmpty(); })},
        {"btEdit",
         modal("Tfrm_PersonInfo", {},
               [&] {
                   return detailName() == rowName(0) && !windows->detailWindow().idText().isEmpty();
               }),
         [&] { clickRow(0); }},
        {"btImprt", modal("TfrmImport")},
        {"btExport", file()},
        {"btRefresh", disabled()},
        {"btSetDefault", message(QStringLiteral("默认出票人设置成功")), [&] { clickRow(0); }},
        // A party stored elsewhere meanwhile shows on "刷新".
        {"btRefresh", state([&] { return listed() == before + 1; }),
         [&] {
             counterparties();
             before = listed();
             store("成都锦里茶社", TPerson::kCounterparty);
         }},
        {"btDelete",
         message(QStringLiteral("真的要删除选中的单位信息吗"),
                 [&] { return stored() == before - 1; }),
         [&] {
             showAll();
             count();
             clickRow(0);
             home.ui.answer(Ui::Answer::Yes);
         }},
        {"btDeleteList",
         message(QStringLiteral("此操作将删除当前查询到的所有记录"),
                 [&] { return stored() == before - 1; }),
         [&] {
             count();
             counterparties();
             typeKey("云起");
             QTest::mouseClick(child<QPushButton>(list, "btQur"), Qt::LeftButton);
             home.ui.answer(Ui::Answer::Yes);
         }},
        {"DBGrid1", popup("PopupMenu1"), showAll},
        {"选择该单位", disabled()},
        {"添加新单位",
         modal("Tfrm_PersonInfo", {}, [&] { return windows->detailWindow().idText().isEmpty(); }),
         {},
         menu},
        {"修改单位信息",
         modal("Tfrm_PersonInfo", {},
               [&] {
                   return detailName() == rowName(0) && !windows->detailWindow().idText().isEmpty();
               }),
         [&] { clickRow(0); }, menu},
        {"设为默认出票人", message(QStringLiteral("默认出票人设置成功")), [&] { clickRow(0); },
         menu},
        {"【记住列宽】当前数据", state(widthStored),
         [&] { list->grid()->horizontalHeader()->resizeSection(1, 173); }, menu},
        {"【显示/隐藏】数据列", modal("TfrmGridConfig"), {}, menu},
        {"【刷新】", state([&] { return listed() == before + 1; }),
         [&] {
             counterparties();
             before = listed();
             store("西安长安书局", TPerson::kCounterparty);
         },
         menu},
        {"删除该单位",
         message(QStringLiteral("真的要删除选中的单位信息吗"),
                 [&] { return stored() == before - 1; }),
         [&] {
             count();
             clickRow(0);
             home.ui.answer(Ui::Answer::Yes);
         },
         menu},
        {"btClearAll", hidden()},
        {"btClearAll",
         message(QStringLiteral("警告:此操作将删除所有"), [&] { return stored() < before; }),
         [&] {
             showAll();
             count();
             QTest::mouseClick(child<QLabel>(list, "Label5"), Qt::LeftButton);
             home.ui.answer(Ui::Answer::Yes);
         }},
        {"btClose", state([&] { return !list || !list->isVisible(); })},
    };
    expectARowForEveryCommand(openList(), rows);
    pressRows([&] { return openList(); }, home.ui, rows);
}

TEST_F(AddressBookSweep, EveryCommandOfTheDetailWindow)
{
    Tfrm_PersonInfo &detail = windows->detailWindow();
    auto box = [&](const char *name) { return qobject_cast<QLineEdit *>(detail.box(name)); };
    auto open = [&]() -> QWidget * {
        if (!detail.isVisible()) {
            TPerson p;
            p.FullName = QStringLiteral("重庆山城火锅");
            p.Contactor = QStringLiteral("老王");
            p.AcountType = TPerson::kCounterparty;
            detail.showParty(p, 0);
            detail.show();
        }
        EXPECT_TRUE(mapped(&detail));
        return &detail;
    };
    int before = 0;
    const std::vector<Row> rows = {
        {"btLoadByID", hidden()},
        {"btClear", state([&] { return box("edtName")->text().isEmpty(); })},
        {"btSave",
         message(QStringLiteral("新增单位资料添加成功"), [&] { return stored() == before + 1; }),
         [&] {
             before = stored();
             box("edtName")->setText(QStringLiteral("重庆山城火锅"));
         }},
        // A second party of the same unit: the next save adds one instead of changing it.
        {"btMutiAcount", state([&] { return detail.idText().isEmpty(); }),
         [&] { EXPECT_FALSE(detail.idText().isEmpty()); }},
        {"btSaveClose",
         message(QStringLiteral("添加成功"),
                 [&] { return stored() == before + 2 && !detail.isVisible(); }),
         [&] { box("edtContactor")->setText(QStringLiteral("小李")); }},
        {"btClose", state([&] { return !detail.isVisible(); })},
    };
    expectARowForEveryCommand(open(), rows);
    pressRows(open, home.ui, rows);
}
