#include "CommandSweep.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "app/ui/PictureMdiArea.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "bills/ui/TfmCheckKDD.h"
#include "data/BoundQuery.h"
#include "data/Grids.h"
#include "history/HistoryModel.h"
#include "history/ui/TfmSearch_CDHP.h"
#include "history/ui/TfmSearch_KDD.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <gtest/gtest.h>

using namespace sweep;

namespace {

struct Kind
{
    const char *menuItem;  // opens the history window
    const char *className; // of the window
    const char *table;     // of its bills
    const char *numberBox;
    const char *sql; // stores one bill, its number bound
    std::function<BillForm *()> form;
};

const Kind kSlips{"mKDDSearch",
                  "TfmSearch_KDD",
                  "DataKDDTable",
                  "cb_PJBH",
                  "INSERT INTO DataKDDTable (快递单号, 寄件日期, 总费用, 收件单位, 模板种类) "
                  "VALUES (?, date('now'), 10, '深圳飞鸿贸易', '申通快递')",
                  [] { return static_cast<BillForm *>(TfmCheckKDD::instance()); }};
const Kind kDrafts{"mCDHPSearch",
                   "TfmSearch_CDHP",
                   "DataCDHPTable",
                   "cb_CDXYBH",
                   "INSERT INTO DataCDHPTable (承兑协议号, 金额, 出票日期, 收款人全称, 模板种类) "
                   "VALUES (?, 100, date('now'), '岚砚', '工行')",
                   [] { return static_cast<BillForm *>(TfmCheckCDHP::instance()); }};

// The frame on a seeded home with three saved bills of the kind; its history window is opened
// through the menu item, again whenever a command closed it.
class HistorySweep : public ::testing::Test
{
protected:
    void start(const Kind &k)
    {
        kind = &k;
        frame = shownFrame(home, device);
        for (const char *number : {"N-001", "N-002", "N-003"})
            add(number);
    }

    void add(const char *number)
    {
        QSqlQuery q = home.db().query();
        EXPECT_TRUE(
            execBound(q, QString::fromUtf8(kind->sql), QVariantList{QString::fromLatin1(number)}));
    }
    int stored()
    {
        QSqlQuery q = home.db().query();
        q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(kind->table));
        return q.next() ? q.value(0).toInt() : -1;
    }

    HistoryWindow *shown() const
    {
        return qobject_cast<HistoryWindow *>(shownWindowOf(kind->className));
    }
    HistoryWindow *open()
    {
        if (!shown())
            frame->menuItem(QString::fromLatin1(kind->menuItem))->trigger();
        EXPECT_TRUE(mapped(shown())) << kind->className;
        return shown();
    }

    int listed() { return shown()->grid()->model()->rowCount(); }
    void clickRow(int row)
    {
        QTableView *grid = shown()->grid();
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    template<class W>
    W *child(const char *name)
    {
        auto *c = shown()->findChild<W *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    void typeNumber(const char *number)
    {
        child<QComboBox>(kind->numberBox)->setEditText(QString::fromLatin1(number));
    }
    // Fills `box` before a "清空" and checks afterwards that it is empty.
    Row clears(const char *button, const char *box)
    {
        return {button, state([=, this] { return child<QLineEdit>(box)->text().isEmpty(); }),
                [=, this] { child<QLineEdit>(box)->setText(QStringLiteral("岚砚")); }};
    }
    // A right click on the list, where its pop-up menu opens.
    std::function<void()> listMenu()
    {
        return [this] { rightClick(shown()->grid()); };
    }
    // The chosen bill comes back in its own form and the history closes.
    Row reopens(const char *name, std::function<void()> menu = {})
    {
        return {name, state([this] {
                    BillForm *form = kind->form();
                    return chosenId > 0 && form && form->isVisible() &&
                           form->billId() == chosenId && !shown();
                }),
                [this] {
                    frame->mdiArea()->closeAllSubWindows();
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                    QTest::mouseClick(child<QPushButton>("btAll"), Qt::LeftButton);
                    clickRow(0);
                    HistoryModel *model = shown()->model();
                    const int key = model->record().indexOf(QStringLiteral("流水号"));
                    chosenId = model->index(0, key).data(Qt::EditRole).toInt();
                },
                std::move(menu)};
    }

    // These bills were never printed and name templates the home does not have: asked whether
    // today's template will do, then told that it is gone, and nothing prints.
    Row reprints(const char *name, std::function<void()> menu = {})
    {
        return {name,
                message(QStringLiteral("没有第一次打印时的模板记录"),
                        [this] {
                            return home.ui.last().text.contains(QStringLiteral("已不存在")) &&
                                   device->count("end") == 0;
                        }),
                [this] {
                    clickRow(0);
                    home.ui.answer(Ui::Answer::Yes);
                },
                std::move(menu)};
    }

    // The commands every history window has, in an order in which each finds bills to work on.
    std::vector<Row> sharedRows()
    {
        return {
            clears("btClearSKRen", "filterSKR"),
            clears("btClearOutComp", "filterOutComp"),
            {"btQur", state([this] { return listed() == 1; }), [this] { typeNumber("N-002"); }},
            {"btAll", state([this] {
                 return listed() == 3 && child<QComboBox>(kind->numberBox)->currentText().isEmpty();
             }),
             [this] { typeNumber("N-002"); }},
            {"DBGrid1", popup("PopupMenu1")},
            {"nRefresh", state([this] { return listed() == 4; }), [this] { add("N-004"); },
             listMenu()},
            {"nRemeberWidth", state([this] {
                 return home.services()
                            .grids()
                            .loadColumnWidths(kind->className, "DBGrid1",
                                              shown()->grid()->model()->columnCount())
                            .value(1) == 171;
             }),
             [this] { shown()->grid()->horizontalHeader()->resizeSection(1, 171); }, listMenu()},
            {"nHideShowColumn", modal("TfrmGridConfig"), {}, listMenu()},
            {"pri", file()},
            {"del",
             message(QStringLiteral("确认要删除"),
                     [this] { return stored() == 3 && listed() == 3; }),
             [this] {
                 clickRow(0);
                 home.ui.answer(Ui::Answer::Yes);
             }},
            {"btDeleteList",
             message(QStringLiteral("此操作将删除当前查询到的所有记录"),
                     [this] { return stored() == 2 && listed() == 0; }),
             [this] {
                 typeNumber("N-002");
                 QTest::mouseClick(child<QPushButton>("btQur"), Qt::LeftButton);
                 home.ui.answer(Ui::Answer::Yes);
             }},
            reopens("btOpenView"),
            reopens("N5", listMenu()),
            reprints("btReprint"),
            reprints("nReprint", listMenu()),
            {"btExit", state([this] { return !shown(); })},
            {"DelAll", message(QStringLiteral("确定要清空吗"), [this] { return stored() == 0; }),
             [this] { home.ui.answer(Ui::Answer::Yes); }},
        };
    }

    void sweepRows(std::vector<Row> rows)
    {
        std::vector<Row> shared = sharedRows();
        rows.insert(rows.begin(), shared.begin(), shared.end() - 1);
        rows.push_back(shared.back());
        HistoryWindow *window = open();
        ASSERT_TRUE(window);
        expectARowForEveryCommand(window, rows);
        pressRows([this] { return open(); }, home.ui, rows);
    }

    TestHome home;
    RecordingPrintDevice *device = nullptr;
    std::unique_ptr<Tfm_Main> frame;
    const Kind *kind = nullptr;
    int chosenId = 0;
};

} // namespace

TEST_F(HistorySweep, EveryCommandOfTheExpressSlipHistory)
{
    start(kSlips);
    sweepRows({
        {"Button2", modal("Tfm_PersonManage", QStringLiteral("选择收件单位"))},
        {"Button3", modal("Tfm_PersonManage", QStringLiteral("选择寄件单位"))},
        {"btClearTemplate",
         state([&] { return child<QComboBox>("filterTemplate")->currentText().isEmpty(); }),
         [&] { child<QComboBox>("filterTemplate")->setEditText(QStringLiteral("申通快递")); }},
        {"nInputDH", prompt(), [&] { clickRow(0); }, listMenu()},
        {"nInputRemark", prompt(), [&] { clickRow(0); }, listMenu()},
        {"N1", url(), [&] { clickRow(0); }, listMenu()},
    });
}

TEST_F(HistorySweep, EveryCommandOfTheAcceptanceDraftHistory)
{
    start(kDrafts);
    sweepRows({
        {"btChoose1", modal("Tfm_PersonManage", QStringLiteral("选择收款单位"))},
        {"btChoose2", modal("Tfm_PersonManage", QStringLiteral("选择付款单位"))},
        clears("btClearJe", "edtJEFrom"),
        {"btFailedSelects",
         message(QStringLiteral("成功作废1条记录"),
                 [&] {
                     QSqlQuery q = home.db().query();
                     q.exec("SELECT COUNT(*) FROM DataCDHPTable WHERE 票据状态 = '作废'");
                     return q.next() && q.value(0).toInt() == 1;
                 }),
         [&] { clickRow(0); }},
        // Only in pick mode, where the batch window opens the list.
        {"btAddSel2MultiPrint", hidden()},
        {"btAddALL2MultiPrint", hidden()},
    });
}
