#include "CommandSweep.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "batch/DraftBatchList.h"
#include "batch/ui/TfrmImport.h"
#include "batch/ui/TfrmMutiPrintCDHP.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "data/Grids.h"
#include "print/PrintEngine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace sweep;

namespace {

QStringList column(TestHome &home, const QString &sql)
{
    QStringList values;
    QSqlQuery q = home.db().query();
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    while (q.next())
        values << q.value(0).toString();
    return values;
}

template<class W>
W *child(QWidget *window, const char *name)
{
    auto *w = window->findChild<W *>(QString::fromLatin1(name));
    EXPECT_TRUE(w) << name;
    return w;
}

void click(QWidget *window, const char *name)
{
    auto *b = child<QAbstractButton>(window, name);
    ASSERT_TRUE(b && b->isVisible() && b->isEnabled()) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

// The draft batch window as a user reaches it: the draft form's "批量打印".
struct DraftBatch
{
    TestHome home;
    Tfm_Main frame{home.services()};
    QWidget *window = nullptr;
    RecordingPrintDevice *device = nullptr;

    DraftBatch()
    {
        auto recording = std::make_unique<RecordingPrintDevice>();
        device = recording.get();
        home.services().printEngine().setDevice(std::move(recording));
        frame.findChild<QTimer *>("TimerSystem")->stop();
        frame.show();
        frame.menuItem("m_new_cdhp")->trigger();
        TfmCheckCDHP *form = TfmCheckCDHP::instance();
        EXPECT_TRUE(form);
        if (!form)
            return;
        QTest::mouseClick(form->findChild<QToolButton *>("btMultiPrintS"), Qt::LeftButton);
        window = shownWindowOf("TfrmMutiPrintCDHP");
        EXPECT_TRUE(mapped(window));
    }

    void add(const char *payee, const char *group)
    {
        QString error;
        EXPECT_TRUE(DraftBatchList(home.db()).addRow({{"收款人全称", QString::fromUtf8(payee)},
                                                      {"批打分组", QString::fromUtf8(group)},
                                                      {"金额", QStringLiteral("100")}},
                                                     &error))
            << error.toStdString();
    }
    void showGroup(const char *group)
    {
        auto *groups = child<QComboBox>(window, "cb_ListName");
        groups->setEditText(QString::fromUtf8(group));
        click(window, "_btRefreash");
    }
    void clickRow(int row)
    {
        auto *grid = child<QTableView>(window, "DBGrid1");
        const QModelIndex cell = grid->model()->index(row, 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    }
    int listed() { return child<QTableView>(window, "DBGrid1")->model()->rowCount(); }
    int currentRow() { return child<QTableView>(window, "DBGrid1")->currentIndex().row(); }
    QStringList payees()
    {
        return column(home, "SELECT 收款人全称 FROM MultiPrintCDHP ORDER BY 收款人全称");
    }
};

} // namespace

TEST(DraftBatchButtons, DeleteSelectedTakesTheRowAndClearGroupOnlyTheGroup)
{
    DraftBatch b;
    ASSERT_TRUE(b.window);
    b.add("甲", "A");
    b.add("乙", "A");
    b.add("丙", "B");
    b.showGroup("A");
    ASSERT_EQ(child<QTableView>(b.window, "DBGrid1")->model()->rowCount(), 2);

    // Delete selected: one row of the group, after the question.
    b.clickRow(0);
    b.home.ui.answer(Ui::Answer::Yes);
    click(b.window, "btDelSelect");
    EXPECT_EQ(b.payees().size(), 2) << b.payees().join(',').toStdString();
    EXPECT_TRUE(b.payees().contains("丙"));
    EXPECT_TRUE(b.home.ui.texts().join('\n').contains(QStringLiteral("确认要删除所选中的1个")))
        << b.home.ui.texts().join('\n').toStdString();

    // Clear group: what is left of A goes, B stays.
    b.home.ui.answer(Ui::Answer::Yes);
    click(b.window, "btClear");
    EXPECT_EQ(b.home.ui.last().text, QStringLiteral("提示：确认要删除当前列表所有收件人吗？"));
    EXPECT_EQ(b.payees(), QStringList({"丙"}));
}

TEST(ImportProgress, ShownWhileRowsGoInAndFullAtTheEnd)
{
    TestHome home;
    QTemporaryDir dir;
    const QString path = dir.filePath("many.csv");
    QFile csv(path);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("联系人,电话\n");
    const int rows = 3500; // several chunks
    for (int i = 0; i < rows; ++i)
        csv.write("人" + QByteArray::number(i) + "," + QByteArray::number(i) + "\n");
    csv.close();

    const int before = column(home, "SELECT COUNT(*) FROM CKPersonalInfoTable").value(0).toInt();
    TfrmImport window(home.services(), ImportScenario::AddressBook);
    window.show();
    ASSERT_TRUE(mapped(&window));
    child<QCheckBox>(&window, "ckReadLog")->setChecked(false);
    home.ui.answerFile(path);
    click(&window, "btBrowse");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isBusy(); }, 60000));

    auto *bar = child<QProgressBar>(&window, "ProgressBar1");
    QList<bool> visibleAt;
    QObject::connect(bar, &QProgressBar::valueChanged,
                     [&] { visibleAt << (bar->isVisible() && bar->value() <= bar->maximum()); });
    click(&window, "btStart");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isBusy(); }, 60000));
    ASSERT_GE(visibleAt.size(), 3) << "progress moved fewer times than chunks";
    EXPECT_FALSE(visibleAt.contains(false)) << "progress not shown while rows went in";
    EXPECT_GE(bar->value(), rows);
    EXPECT_EQ(column(home, "SELECT COUNT(*) FROM CKPersonalInfoTable"),
              QStringList({QString::number(before + rows)}));
}

TEST(DraftBatchButtons, EveryButtonShowsWhatItNames)
{
    DraftBatch b;
    ASSERT_TRUE(b.window);
    b.add("甲", "");
    b.add("乙", "");
    b.showGroup("全部列表");
    int before = 0;
    int pages = 0;
    auto count = [&] { before = b.listed(); };
    auto countPages = [&] { pages = b.device->count("end"); };
    auto printed = [&] { return b.device->count("end") > pages; };
    // The summary names how many drafts went out: the row typed in has no amount and stays.
    auto sent = [&](int drafts) {
        return message(u"共送出 " + QString::number(drafts) + u" 张汇票", printed);
    };
    auto menu = [&] { rightClick(child<QWidget>(b.window, "DBGrid1")); };
    auto widthStored = [&] {
        return b.home.services()
                   .grids()
                   .loadColumnWidths(b.window->objectName(), "DBGrid1",
                                     child<QTableView>(b.window, "DBGrid1")->model()->columnCount())
                   .value(1) == 177;
    };
    auto panel = [&] { return child<QWidget>(b.window, "panelModify")->isVisible(); };
    const std::vector<Row> rows = {
        {"_btRefreash", state([&] { return b.listed() == before + 1; }),
         [&] {
             count();
             b.add("丙", "");
         }},
        {"btFirst", state([&] { return b.currentRow() == 0; }), [&] { b.clickRow(1); }},
        {"btLast", state([&] { return b.currentRow() == b.listed() - 1; }), [&] { b.clickRow(0); }},
        {"btFillColumn", state(panel)},
        // Nothing typed to fill in: the question comes first, and No leaves the column.
        {"btModifyField", message(QStringLiteral("你确信要置空所有的"))},
        {"btFinished", state([&] { return !panel(); })},
        {"btFromWrite", state([&] { return b.listed() == before + 1; }), count},
        {"btToExcel", file()},
        {"btFromExcel", modal("TfrmImportMatchCDHP")},
        {"btFromHistory", modal("TfmSearch_CDHP")},
        {"btStartPrint", sent(3), countPages},
        {"btSelPrint", sent(1),
         [&] {
             countPages();
             b.clickRow(0);
         }},
        {"btRuns", modal("TfrmBatchRuns")},
        {"DBGrid1", popup("")},
        {"nPrintSel", sent(1),
         [&] {
             countPages();
             b.clickRow(0);
         },
         menu},
        {"mPrintAll", sent(3), countPages, menu},
        {"miPrintFrom", sent(2),
         [&] {
             countPages();
             b.clickRow(1);
         },
         menu},
        {"nRefresh", state([&] { return b.listed() == before + 1; }),
         [&] {
             count();
             b.add("丁", "");
         },
         menu},
        {"N3", state(widthStored),
         [&] { child<QTableView>(b.window, "DBGrid1")->horizontalHeader()->resizeSection(1, 177); },
         menu},
        {"nDeleteSel", message(QStringLiteral("确认要删除所选中的1个")), [&] { b.clickRow(0); },
         menu},
        {"btDelSelect", message(QStringLiteral("确认要删除所选中的1个")), [&] { b.clickRow(0); }},
        {"btClear", message(QStringLiteral("确认要删除当前列表所有收件人吗"))},
    };
    expectARowForEveryCommand(b.window, rows);
    pressRows([&] { return b.window; }, b.home.ui, rows);
}
