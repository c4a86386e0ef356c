#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "bills/ui/TfmCheckKDD.h"
#include "data/BoundQuery.h"
#include "data/Parties.h"
#include "history/HistoryModel.h"
#include "history/ui/TfmSearch_CDHP.h"
#include "history/ui/TfmSearch_KDD.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void click(QWidget *window, const char *button)
{
    QAbstractButton *b = window->findChild<QAbstractButton *>(button);
    ASSERT_TRUE(b) << button;
    b->click();
}

QString labelText(QWidget *window, const char *name)
{
    return window->findChild<QLabel *>(name)->text();
}

// As the user does: a click on the first row, Ctrl+click on the others.
void selectRows(QTableView *grid, const QList<int> &rows)
{
    Qt::KeyboardModifiers keys;
    for (int r : rows) {
        grid->scrollTo(grid->model()->index(r, 1));
        const QRect cell = grid->visualRect(grid->model()->index(r, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, keys, cell.center());
        keys = Qt::ControlModifier;
    }
}

int column(QTableView *grid, const char *name)
{
    return static_cast<HistoryModel *>(grid->model())->record().indexOf(name);
}

QString cell(QTableView *grid, int row, const char *name)
{
    return grid->model()->index(row, column(grid, name)).data().toString();
}

} // namespace

TEST(ExpressSlipHistory, FindsSavedSlipsSumsThemAndReopensOne)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.show();
    frame.menuItem("m_new_kdd")->trigger();
    TfmCheckKDD *form = TfmCheckKDD::instance();
    ASSERT_TRUE(form);
    const QDate today = QDate::currentDate();
    const struct
    {
        const char *number;
        const char *charge;
        int daysAgo;
    } slips[] = {{"SF7001", "12.5", 0}, {"SF7002", "", 1}, {"YT9003", "30", 10}};
    QList<int> ids;
    for (const auto &s : slips) {
        click(form, "btNewCheck");
        form->setFieldText("zdSKR", QStringLiteral("深圳飞鸿贸易"));
        form->setFieldText("zdPJBH", s.number);
        form->setFieldText("edtMoney", s.charge);
        form->findChild<QDateEdit *>("SelDate")->setDate(today.addDays(-s.daysAgo));
        click(form, "btSaveCheck");
        ASSERT_EQ(home.ui.last().text, QStringLiteral("新快递单保存成功！ "));
        ids << form->billId();
    }

    // The form's "打开(&O)" opens the history through the frame, on every slip.
    click(form, "btOpenCheck");
    QPointer<TfmSearch_KDD> history = frame.findChild<TfmSearch_KDD *>();
    ASSERT_TRUE(history);
    QTableView *grid = history->grid();
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(cell(grid, 0, "流水号").toInt(), ids[2]);
    EXPECT_EQ(labelText(history, "lbSumMoney"), QStringLiteral("总费用汇总:￥42.5"));
    EXPECT_EQ(labelText(history, "Pjcount"), QStringLiteral("( 共检索到 3条记录)"));

    // "最近三天": today and yesterday, whole days.
    history->chooseDateRange(1);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(labelText(history, "lbSumMoney"), QStringLiteral("总费用汇总:￥12.5"));
    history->findChild<QDateEdit *>("Date1")->setDate(today.addDays(-1));
    history->findChild<QDateEdit *>("Date2")->setDate(today.addDays(-1));
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(labelText(history, "lbSumMoney"), QStringLiteral("总费用汇总:￥"));

    // The end before the start is refused with the dates named; the list stays.
    history->findChild<QDateEdit *>("Date2")->setDate(today.addDays(-2));
    EXPECT_EQ(home.ui.last().caption, QStringLiteral("日期输入"));
    EXPECT_EQ(home.ui.last().text, u"日期选择有误:\"" + today.addDays(-1).toString(Qt::ISODate) +
                                       u'>' + today.addDays(-2).toString(Qt::ISODate) + u'"');
    EXPECT_EQ(grid->model()->rowCount(), 1);

    // Fuzzy tracking number over all dates.
    click(history, "btAll");
    history->findChild<QComboBox *>("cb_PJBH")->setEditText(QStringLiteral(" SF700 "));
    click(history, "btQur");
    EXPECT_EQ(history->findChild<QComboBox *>("cb_PJBH")->currentText(), QStringLiteral("SF700"));
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(labelText(history, "lbSumMoney"), QStringLiteral("总费用汇总:￥12.5"));

    // A tracking number added afterwards is stored and listed.
    selectRows(grid, {0});
    home.ui.answerValue(QStringLiteral("SF7002-补"));
    history->completeTrackingNumber();
    EXPECT_EQ(home.ui.prompted.last().defaultValue, QStringLiteral("SF7002"));
    EXPECT_EQ(cell(grid, 0, "快递单号"), QStringLiteral("SF7002-补"));

    // With "双击打开" cleared a double click opens nothing; "打开(&O)" still does, after the
    // form has asked about the slip being typed.
    click(form, "btNewCheck");
    form->setFieldText("zdSKR", QStringLiteral("杭州未存公司"));
    form->setFieldText("zdSKRLXR", QStringLiteral("王五"));
    history->findChild<QCheckBox *>("ckDBLClick")->setChecked(false);
    EXPECT_EQ(home.settings().getINIConfigByname("KDDView_DBLOPEN"), QStringLiteral("0"));
    selectRows(grid, {1});
    const QRect row = grid->visualRect(grid->model()->index(1, 1));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(form->fieldText("zdSKR"), QStringLiteral("杭州未存公司"));
    EXPECT_TRUE(history->isVisible());
    home.ui.answer(Ui::Answer::Yes);
    click(history, "btOpenView");
    EXPECT_EQ(home.ui.shown[home.ui.shown.size() - 2].text, QStringLiteral("是否保存该快递单？"));
    EXPECT_EQ(home.db().CountTableAllRows("DataKDDTable", home.ui), 4);
    form = TfmCheckKDD::instance();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->billId(), ids[0]);
    EXPECT_TRUE(form->isHistory());
    EXPECT_EQ(form->fieldText("zdPJBH"), QStringLiteral("SF7001"));
    EXPECT_TRUE(!history || !history->isVisible());
}

namespace {

struct DraftFixture
{
    TestHome home;
    QList<int> ids;

    DraftFixture()
    {
        const char *rows[][3] = {{"HP-001", "1000.50", "未用"},
                                 {"HP-002", "200", "已用"},
                                 {"HP-003", "3000", ""},
                                 {"HP-004", "", "作废"}};
        for (const auto &r : rows)
            ids << add(r[0], r[1], r[2]);
    }

    int add(const QString &number, const QString &amount, const QString &state)
    {
        QSqlQuery q = home.db().query();
        const QVariant id = home.db().insertReturningKey(
            q,
            "INSERT INTO DataCDHPTable (承兑协议号, 金额, 票据状态, 出票日期, 收款人全称, "
            "模板种类) VALUES (?, ?, ?, '2026-05-01', '岚砚', '工行')",
            {number, amount, state}, "流水号");
        EXPECT_TRUE(id.isValid());
        return id.toInt();
    }
};

} // namespace

TEST(AcceptanceDraftHistory, AmountRangeRefusesWhatIsNoNumber)
{
    DraftFixture f;
    TfmSearch_CDHP history(f.home.services());
    history.show();
    QTableView *grid = history.grid();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(labelText(&history, "lbSumMoney"), QStringLiteral("金额汇总:￥4200.5"));

    auto *from = history.findChild<QLineEdit *>("edtJEFrom");
    auto *to = history.findChild<QLineEdit *>("edtJETo");
    for (const char *bad : {"-5", "1,000"}) {
        from->setText(QString::fromUtf8(bad));
        click(&history, "btQur");
        EXPECT_EQ(from->text(), QStringLiteral("非法数字")) << bad;
        EXPECT_EQ(grid->model()->rowCount(), 4) << bad;
    }
    from->setText(QStringLiteral("1000.50"));
    click(&history, "btQur");
    EXPECT_EQ(grid->model()->rowCount(), 2);
    to->setText(QStringLiteral("2000"));
    click(&history, "btQur");
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(cell(grid, 0, "承兑协议号"), QStringLiteral("HP-001"));

    // The same conditions again send nothing: a draft saved meanwhile shows only on "刷新".
    f.add("HP-005", "1500", "");
    click(&history, "btQur");
    EXPECT_EQ(grid->model()->rowCount(), 1);
    history.findChild<QAction *>("nRefresh")->trigger();
    EXPECT_EQ(grid->model()->rowCount(), 2);
}

TEST(AcceptanceDraftHistory, VoidsSelectedDraftsAndExportsTheList)
{
    DraftFixture f;
    TfmSearch_CDHP history(f.home.services());
    history.show();
    QTableView *grid = history.grid();

    click(&history, "btFailedSelects");
    EXPECT_EQ(f.home.ui.last().text,
              QStringLiteral("没有点中要作废的票据!（按住ctrl+点击，可多选哦）"));
    // Rows 0 and 3 are HP-004 (voided already) and HP-001.
    selectRows(grid, {0, 3});
    click(&history, "btFailedSelects");
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("成功作废2条记录！"));
    EXPECT_EQ(cell(grid, 3, "票据状态"), QStringLiteral("作废"));
    EXPECT_EQ(grid->model()->index(3, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
    selectRows(grid, {0, 3});
    click(&history, "btFailedSelects");
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("成功作废2条记录！"));

    const QString path = f.home.path() + "drafts.xlsx";
    f.home.ui.answerFile(path);
    QSignalSpy finished(&history, &HistoryWindow::exportFinished);
    click(&history, "pri");
    ASSERT_TRUE(finished.wait(60000)); // a hang guard only
    EXPECT_TRUE(finished.first().first().toBool());
    ASSERT_EQ(f.home.ui.opened.size(), 1);
    QString error;
    auto reader = f.home.services().spreadsheets().open(path, error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->usedRows(), 5);
    int state = 1;
    while (state < reader->usedColumns() && reader->cellText(1, state) != "票据状态")
        ++state;
    QStringList states;
    for (int r = 2; r <= 5; ++r)
        states << reader->cellText(r, state);
    EXPECT_EQ(states, (QStringList{"作废", "", "已用", "作废"}));
}

TEST(AcceptanceDraftHistory, PickModeCopiesChosenDraftsIntoTheBatchGroup)
{
    DraftFixture f;
    auto *history = new TfmSearch_CDHP(f.home.services());
    history->setAttribute(Qt::WA_DeleteOnClose);
    history->setPickMode(QStringLiteral("五月批"));
    history->show();
    EXPECT_FALSE(history->findChild<QPushButton *>("btOpenView")->isVisible());
    EXPECT_TRUE(history->findChild<QPushButton *>("btAddSel2MultiPrint")->isVisible());

    click(history, "btAddSel2MultiPrint");
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("未选中任何有效的列表记录！"));
    click(history, "btAddALL2MultiPrint");
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("本次共添加4个批打记录！"));
    QPointer<TfmSearch_CDHP> alive(history);
    selectRows(history->grid(), {1, 2});
    click(history, "btAddSel2MultiPrint");
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("本次共成功添加 2 个批打记录!"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);

    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("SELECT COUNT(*), MIN(批打分组), MAX(批打分组) FROM MultiPrintCDHP"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 6);
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("五月批"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("五月批"));
}

TEST(AcceptanceDraftHistory, ClearingAllAsksFirstAndThenEmptiesTheList)
{
    DraftFixture f;
    TfmSearch_CDHP history(f.home.services());
    history.show();
    auto *clearAll = history.findChild<QPushButton *>("DelAll");
    clearAll->click();
    EXPECT_EQ(f.home.ui.last().text,
              QStringLiteral("清空操作将删除所有保存的历史开票数据，确定要清空吗？"));
    EXPECT_EQ(history.grid()->model()->rowCount(), 4);
    EXPECT_TRUE(clearAll->isEnabled());

    f.home.ui.answer(Ui::Answer::Yes);
    clearAll->click();
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("清空成功！共删除4条记录"));
    EXPECT_EQ(history.grid()->model()->rowCount(), 0);
    EXPECT_EQ(labelText(&history, "lbSumMoney"), QStringLiteral("金额汇总:￥"));
    EXPECT_FALSE(clearAll->isEnabled());
    EXPECT_FALSE(history.findChild<QPushButton *>("pri")->isEnabled());
}

TEST(AcceptanceDraftHistory, ReopensADraftInTheDraftForm)
{
    DraftFixture f;
    Tfm_Main frame(f.home.services());
    frame.show();
    ASSERT_TRUE(frame.openSavedBill(Tfm_Main::SavedBill::AcceptanceDraft, {}, f.ids[0]));
    TfmCheckCDHP *form = TfmCheckCDHP::instance();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->billId(), f.ids[0]);
    EXPECT_EQ(form->fieldText("zdCDXYBH"), QStringLiteral("HP-001"));
    EXPECT_EQ(form->fieldText("zdInComp"), QStringLiteral("岚砚"));
}

// Leaving a party box keeps what the clerk typed and opens nothing; "选" opens the address book.
TEST(ExpressSlipHistory, LeavingAPartyBoxOpensNothingTheChooseButtonDoes)
{
    TestHome home;
    Tfm_Main frame(home.services());
    QStringList asked;
    TPerson chosen;
    chosen.FullName = QStringLiteral("深圳飞鸿贸易");
    home.services().parties().setAddressBook(
        [&](const QString &, const QString &title) -> std::optional<TPerson> {
            asked << title;
            return chosen;
        });
    frame.show();
    QApplication::setActiveWindow(&frame);
    frame.menuItem("mKDDSearch")->trigger();
    auto *history = frame.findChild<TfmSearch_KDD *>();
    ASSERT_TRUE(history);
    for (const char *name : {"filterSKR", "filterOutComp"}) {
        auto *box = history->findChild<QLineEdit *>(name);
        ASSERT_TRUE(box) << name;
        box->setFocus();
        QTest::keyClicks(box, "abc");
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_FALSE(box->hasFocus()) << name;
        EXPECT_EQ(box->text(), "abc") << name;
    }
    EXPECT_TRUE(asked.isEmpty()) << asked.join(u' ').toStdString();

    QTest::mouseClick(history->findChild<QPushButton *>("Button2"), Qt::LeftButton);
    EXPECT_EQ(asked, QStringList{"选择收件单位"});
    EXPECT_EQ(history->findChild<QLineEdit *>("filterSKR")->text(), chosen.FullName);
}
