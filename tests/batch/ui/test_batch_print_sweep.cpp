#include "CommandSweep.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "batch/ui/TfrmImport.h"
#include "batch/ui/TfrmMutiPrint.h"
#include "bills/ui/TfmCheckKDD.h"
#include "data/Grids.h"
#include "parties/ui/TfrmMatchAddr.h"
#include "print/PrintEngine.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QTableView>
#include <gtest/gtest.h>

using namespace sweep;

namespace {

// The express slip batch window beside the frame's slip form, on three stored receivers; its
// other sources open the windows the frame opens for them.
class BatchPrintSweep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = shownFrame(home, device);
        frame->menuItem("m_new_kdd")->trigger();
        ASSERT_TRUE(TfmCheckKDD::instance());
        TfrmMutiPrint::Sources sources{
            [this](std::function<void()> changed) {
                TfrmMatchAddr match(home.services(), frame.get());
                match.setBatchMode(std::move(changed));
                match.exec();
            },
            [this](std::function<void()>) {
                TfrmImport import(home.services(), ImportScenario::BatchList, frame.get());
                import.exec();
            }};
        window = std::make_unique<TfrmMutiPrint>(home.services(), sources);
        for (const char *name : {"甲", "乙", "丙"})
            add(name);
        window->show();
        ASSERT_TRUE(mapped(window.get()));
        window->ALoadGridData();
    }

    void add(const char *name)
    {
        QSqlQuery q = home.db().query();
        q.prepare("INSERT INTO ReceiverList (\"全称\", \"联系人\", \"地址\") VALUES (?, ?, ?)");
        q.addBindValue(QString::fromUtf8(name));
        q.addBindValue(QStringLiteral("联系人"));
        q.addBindValue(QStringLiteral("深圳市南山区"));
        EXPECT_TRUE(q.exec());
    }
    int stored()
    {
        QSqlQuery q = home.db().query();
        q.exec("SELECT COUNT(*) FROM ReceiverList");
        return q.next() ? q.value(0).toInt() : -1;
    }
    QTableView *grid() { return window->findChild<QTableView *>("DBGrid1"); }
    int listed() { return grid()->model()->rowCount(); }
    int currentRow() { return grid()->currentIndex().row(); }
    void clickRow(int row)
    {
        const QRect cell = grid()->visualRect(grid()->model()->index(row, 1));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    int selectedRows() { return int(grid()->selectionModel()->selectedRows().size()); }

    // The pages of the last print job: one, and one more for each new page.
    void countPages()
    {
        jobs = device->count("end");
        newPages = device->count("newPage");
    }
    Effect printsPages(int pages)
    {
        return message({}, [this, pages] {
            return device->count("end") == jobs + 1 &&
                   device->count("newPage") - newPages == pages - 1;
        });
    }

    TestHome home;
    RecordingPrintDevice *device = nullptr;
    std::unique_ptr<Tfm_Main> frame;
    std::unique_ptr<TfrmMutiPrint> window;
    int jobs = 0;
    int newPages = 0;
};

} // namespace

TEST_F(BatchPrintSweep, EveryCommandOfTheExpressSlipBatch)
{
    int before = 0;
    auto count = [&] { before = stored(); };
    auto menu = [&] { rightClick(grid()); };
    auto panel = [&] { return window->findChild<QWidget *>("panelFill")->isVisible(); };
    auto one = [&] {
        countPages();
        clickRow(1);
    };
    const std::vector<Row> rows = {
        {"btFirst", state([&] { return currentRow() == 0; }), [&] { clickRow(2); }},
        {"btLast", state([&] { return currentRow() == listed() - 1; }), [&] { clickRow(0); }},
        {"btSelectTopN", state([&] { return selectedRows() == 2; }),
         [&] { home.ui.answerValue(QStringLiteral("2")); }},
        {"_btRefreash", state([&] { return listed() == 4; }), [&] { add("丁"); }},
        {"btAll", state([&] { return listed() == 4; })},
        {"btFillColumn", state(panel)},
        {"btApplyFill", message(QStringLiteral("请选择要批量改写列"))},
        {"btCloseFill", state([&] { return !panel(); })},
        {"btRecognise", modal("TfrmMatchAddr")},
        {"btImportExcel", modal("TfrmImport")},
        {"btAddressBook", modal("Tfm_PersonManage", QStringLiteral("选取地址本"))},
        {"btExport", file()},
        {"btPrintAll", printsPages(4), [&] { countPages(); }},
        {"btRuns", modal("TfrmBatchRuns")},
        {"DBGrid1", popup("")},
        {"miPrintSelected", printsPages(1), one, menu},
        {"miPrintAll", printsPages(4), [&] { countPages(); }, menu},
        {"miPrintFrom", printsPages(3), one, menu},
        {"miPreview", state([&] { return !window->isVisible(); }), [&] { clickRow(0); }, menu},
        {"miRefresh", state([&] { return listed() == 5; }),
         [&] {
             window->show();
             add("戊");
         },
         menu},
        {"miSaveWidths", state([&] {
             return home.services()
                        .grids()
                        .loadColumnWidths(window->objectName(), "DBGrid1",
                                          grid()->model()->columnCount())
                        .value(1) == 179;
         }),
         [&] { grid()->horizontalHeader()->resizeSection(1, 179); }, menu},
        {"miColumns", modal("TfrmGridConfig"), {}, menu},
        {"miDeleteSelected",
         message(QStringLiteral("确认要删除"), [&] { return stored() == before - 1; }),
         [&] {
             count();
             clickRow(0);
             home.ui.answer(Ui::Answer::Yes);
         },
         menu},
        {"btDeleteSelected",
         message(QStringLiteral("确认要删除"), [&] { return stored() == before - 1; }),
         [&] {
             count();
             clickRow(0);
             home.ui.answer(Ui::Answer::Yes);
         }},
        {"miDeleteList", message(QStringLiteral("此操作将删除当前查询到的所有记录")), {}, menu},
        {"btDeleteList",
         message(QStringLiteral("此操作将删除当前查询到的所有记录"), [&] { return stored() == 0; }),
         [&] { home.ui.answer(Ui::Answer::Yes); }},
        {"miClearAll", message(QStringLiteral("确认要【清空系统所有列表】")), {}, menu},
        {"btClearAll", message(QStringLiteral("确认要【清空系统所有列表】"))},
    };
    // The move items sit in a submenu of their own; the batch window's own tests move rows.
    std::vector<Row> all = rows;
    for (const char *moved : {"miMoveTo", "miToPrinted", "miToUnprinted", "miToTemporary"})
        all.push_back({moved, hidden()});
    expectARowForEveryCommand(window.get(), all);
    pressRows([&] { return window.get(); }, home.ui, rows);
}
