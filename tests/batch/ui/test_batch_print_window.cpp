#include "../../print/PdfWords.h"
#include "FakeBillHost.h"
#include "NextModal.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "base/CurrentOperator.h"
#include "batch/BatchRunLog.h"
#include "batch/ReceiverList.h"
#include "batch/ReceiverListModel.h"
#include "batch/ui/TfrmMutiPrint.h"
#include "bills/ui/TfmCheckKDD.h"
#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"
#include "templates/Catalogue.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The express slip form open over a stand-in for the main frame, and the batch window beside it.
struct BatchFixture
{
    TestHome home;
    FakeBillHost host{home.services()};
    std::unique_ptr<TfmCheckKDD> slipForm = std::make_unique<TfmCheckKDD>(host);
    TfmCheckKDD *form = slipForm.get();
    std::unique_ptr<TfrmMutiPrint> window;

    BatchFixture()
    {
        form->show();
        window = std::make_unique<TfrmMutiPrint>(home.services(), TfrmMutiPrint::Sources{});
    }

    // Stores rows given as column -> value and lists them.
    QList<int> addRows(const QList<QHash<QString, QString>> &rows)
    {
        QList<int> ids;
        for (const auto &row : rows) {
            QSqlQuery q = home.db().query();
            QStringList columns, marks;
            QVariantList values;
            for (auto it = row.begin(); it != row.end(); ++it) {
                columns << u'"' + it.key() + u'"';
                marks << QStringLiteral("?");
                values << it.value();
            }
            const QVariant id =
                home.db().insertReturningKey(q,
                                             u"INSERT INTO ReceiverList (" + columns.join(',') +
                                                 u") VALUES (" + marks.join(',') + u')',
                                             values, "ID");
            EXPECT_TRUE(id.isValid());
            ids << id.toInt();
        }
        window->show();
        window->ALoadGridData();
        return ids;
    }

    QString printToPdf(const std::function<void()> &print)
    {
        const QString pdf = home.path() + QString::number(++m_pdfs) + u".pdf";
        home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
        print();
        return pdf;
    }

    QString column(int id, const char *name)
    {
        QString error;
        return ReceiverList(home.db()).row(id, &error)->value(QString::fromUtf8(name));
    }

    void hideColumn(const char *name, bool hidden)
    {
        window->grid()->setColumnHidden(window->model()->record().indexOf(QString::fromUtf8(name)),
                                        hidden);
    }

    // Types a group into the group box and presses Enter, as the clerk does.
    void chooseGroup(const QString &group)
    {
        QLineEdit *box = window->findChild<QComboBox *>("cb_ListName")->lineEdit();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        box->insert(group); // typed: QTest has no keys for Chinese text
        QTest::keyClick(box, Qt::Key_Return);
    }
    QStringList listedNames() const
    {
        QStringList names;
        const int c = window->model()->record().indexOf(QStringLiteral("全称"));
        for (int r = 0; r < window->model()->rowCount(); ++r)
            names << window->model()->index(r, c).data().toString();
        return names;
    }
    void click(const char *button)
    {
        auto *b = window->findChild<QPushButton *>(QString::fromLatin1(button));
        ASSERT_TRUE(b && b->isVisible() && b->isEnabled()) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    QString listed() const { return window->findChild<QLineEdit *>("edtListCount")->text(); }
    QString selected() const { return window->findChild<QLineEdit *>("edtSelectedCount")->text(); }

private:
    int m_pdfs = 0;
};

const PdfWord *findWord(const PdfPage &page, const QString &text)
{
    for (const PdfWord &w : page.words)
        if (w.text == text)
            return &w;
    return nullptr;
}

} // namespace

TEST(BatchPrintWindow, ThreeRowsPrintAsThreePagesOfOneDocumentAndARunCanBeRepeatedFromARow)
{
    BatchFixture f;
    ASSERT_TRUE(f.form);
    f.form->setFieldText("zdHKR", QStringLiteral("岚砚办公用品公司"));
    f.form->setFieldText("zdHKRLXR", QStringLiteral("赵六"));
    const QStringList names{"甲公司", "乙公司", "丙公司"};
    const QStringList contacts{"张三", "李四", "王五"};
    QList<QHash<QString, QString>> rows;
    for (int i = 0; i < 3; ++i)
        rows.append({{"全称", names[i]},
                     {"联系人", contacts[i]},
                     {"地址", "科苑路" + QString::number(i + 1) + "号"}});
    const QList<int> ids = f.addRows(rows);
    EXPECT_EQ(f.listed(), "3");

    const QString pdf = f.printToPdf([&] { f.window->btPrintAllClick(); });
    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 3u);
    Catalogue &catalogue = f.home.services().catalogue();
    const auto at = [&](const char *control) {
        const auto item = catalogue.loadTemplateItem(f.form->currentTemplate(), control);
        EXPECT_TRUE(item) << control;
        return QPointF(item->ctlX / 10.0 + item->ctlFontSize * 25.4 / 72.0, item->ctlY / 10.0);
    };
    for (int i = 0; i < 3; ++i) {
        for (const auto &[control, text] :
             {std::pair{"ZDSKR", names[i]}, std::pair{"ZDSKRLXR", contacts[i]},
              std::pair{"ZDHKR", QStringLiteral("岚砚办公用品公司")},
              std::pair{"ZDHKRLXR", QStringLiteral("赵六")}}) {
            const PdfWord *word = findWord(pages[size_t(i)], text);
            ASSERT_TRUE(word) << i << " " << text.toStdString();
            EXPECT_NEAR(word->x, at(control).x(), 0.3) << i << control;
            EXPECT_NEAR(word->y, at(control).y(), 0.3) << i << control;
        }
        // No value of another row leaks onto the page.
        for (int other = 0; other < 3; ++other) {
            if (other != i) {
                EXPECT_FALSE(findWord(pages[size_t(i)], names[other])) << i;
            }
        }
    }
    // The summary names the queue and the pages, and how a jam is recovered.
    const QString summary = f.home.ui.last().text;
    EXPECT_TRUE(summary.startsWith(u"批量打印完成：第 1 批，共送出 3 张快递单（3 页），打印机：" +
                                   pdf + u'。'))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("从第 N 条开始"))) << summary.toStdString();
    for (int id : ids) {
        EXPECT_EQ(f.column(id, "打印批次"), "1");
        EXPECT_EQ(f.column(id, "打印状态"), QString::fromUtf8(ReceiverList::kPrinted));
    }
    // The run shows in the list.
    const int runColumn = f.window->model()->record().indexOf("打印批次");
    ASSERT_GE(runColumn, 0);
    EXPECT_FALSE(f.window->grid()->isColumnHidden(runColumn));
    EXPECT_EQ(f.window->model()->index(0, runColumn).data().toString(), "1");

    // The paper jammed at the second slip: print again from there.
    const std::vector<PdfPage> again = readPdfWords(f.printToPdf([&] { f.window->printFrom(1); }));
    ASSERT_EQ(again.size(), 2u);
    EXPECT_TRUE(findWord(again[0], names[1]));
    EXPECT_TRUE(findWord(again[1], names[2]));
    EXPECT_EQ(f.column(ids[0], "打印批次"), "1");
    EXPECT_EQ(f.column(ids[1], "打印批次"), "2");
}

TEST(BatchPrintWindow, RowsFillTheSlipAsTheListShowsThem)
{
    BatchFixture f;
    ASSERT_TRUE(f.form);
    const QList<int> ids = f.addRows({{{"全称", "甲公司"},
                                       {"电话", "0755-1234"},
                                       {"手机", "13800001111"},
                                       {"市", "深圳市"},
                                       {"费用", "12"},
                                       {"金额大写1", "120"}},
                                      {{"全称", "乙公司"}, {"金额大写1", "120.50"}}});
    f.form->setFieldText("edtMoney", "99");

    f.hideColumn("费用", true);
    f.window->GridFieldIndexAdjust();
    ASSERT_TRUE(f.window->SendToCheckByID(ids[0]));
    EXPECT_EQ(f.form->fieldText("edtMoney"), "99"); // hidden column: the form's own value
    EXPECT_EQ(f.form->fieldText("zdSKR"), QStringLiteral("甲公司"));
    EXPECT_EQ(f.form->fieldText("zdskrDH"), "0755-1234");

    f.hideColumn("费用", false);
    f.form->field("skrHandset")->hide();
    f.window->GridFieldIndexAdjust();
    ASSERT_TRUE(f.window->SendToCheckByID(ids[0]));
    EXPECT_EQ(f.form->fieldText("edtMoney"), "12");
    EXPECT_EQ(f.form->fieldText("zdskrDH"), "0755-1234/13800001111");
    const QString converted = f.form->fieldText("zdJEDX1");
    EXPECT_FALSE(converted.isEmpty());

    // A decimal amount empties the capital amount instead of printing a wrong one.
    ASSERT_TRUE(f.window->SendToCheckByID(ids[1]));
    EXPECT_TRUE(f.form->fieldText("zdJEDX1").isEmpty());

    f.window->SendToCheckByID(999);
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("调用错误，找不到记录，编号=999"));
}

TEST(BatchPrintWindow, RowsThatCannotPrintWholeAreSkippedAndNamed)
{
    BatchFixture f;
    ASSERT_TRUE(f.form);
    const QList<int> ids = f.addRows({{{"全称", QString(81, u'长')}},
                                      {{"电话", "0755-1"}, {"费用", "5"}},
                                      {{"全称", "丙公司"}, {"地址", "科苑路"}}});
    const std::vector<PdfPage> pages =
        readPdfWords(f.printToPdf([&] { f.window->btPrintAllClick(); }));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(findWord(pages[0], QStringLiteral("丙公司")));
    const QString summary = f.home.ui.last().text;
    EXPECT_TRUE(summary.contains(QStringLiteral("共送出 1 张"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("跳过 2 条"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("编号=1：全称太长"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("编号=2：全称、联系人和地址都是空的")))
        << summary.toStdString();
    EXPECT_TRUE(f.column(ids[0], "打印批次").isEmpty());
    EXPECT_TRUE(f.column(ids[1], "打印批次").isEmpty());
    EXPECT_EQ(f.column(ids[2], "打印批次"), "1");
}

TEST(BatchPrintWindow, StoppedOrFailedBatchThrowsTheDocumentAwayAndSaysSo)
{
    BatchFixture f;
    ASSERT_TRUE(f.form);
    const QList<int> ids =
        f.addRows({{{"全称", "甲公司"}}, {{"全称", "乙公司"}}, {{"全称", "丙公司"}}});
    QString label;
    f.window->batchRowDone = [&](QProgressDialog &progress, int done, int) {
        label = progress.labelText();
        if (done == 2)
            progress.cancel();
    };
    const QString pdf = f.printToPdf([&] { f.window->btPrintAllClick(); });
    EXPECT_EQ(label, "2 / 3");
    EXPECT_FALSE(QFile::exists(pdf) && !readPdfWords(pdf).empty());
    EXPECT_EQ(
        f.home.ui.last().text,
        QStringLiteral("批量打印已中止：已排版 2 / 3 张，打印文档已撤销，没有送出任何快递单。"));
    EXPECT_TRUE(f.window->findChild<QWidget *>("btPrintAll")->isEnabled());
    EXPECT_TRUE(f.window->grid()->isEnabled());

    f.window->batchRowDone = nullptr;
    auto device = std::make_unique<RecordingPrintDevice>();
    RecordingPrintDevice *recording = device.get();
    recording->failing << "newPage";
    f.home.services().printEngine().setDevice(std::move(device));
    f.window->btPrintAllClick();
    EXPECT_EQ(recording->count("abort"), 1);
    EXPECT_EQ(recording->count("end"), 0);
    EXPECT_TRUE(f.home.ui.last().text.startsWith(QStringLiteral("批量打印失败：打印文档已撤销")))
        << f.home.ui.last().text.toStdString();
    for (int id : ids)
        EXPECT_TRUE(f.column(id, "打印批次").isEmpty());
}

TEST(BatchPrintWindow, ListSelectionClearingAndColumnFill)
{
    BatchFixture f;
    f.addRows({{{"全称", "甲公司"}, {"备注", "原样"}},
               {{"全称", "乙公司"}, {"备注", "原样"}},
               {{"全称", "导入组的"}, {"批打分组", "第一批"}}});
    EXPECT_EQ(f.listed(), "3");
    f.chooseGroup({}); // the rows without a group
    EXPECT_EQ(f.listed(), "2");

    struct Case
    {
        QString answer;
        QString selected;
        QString message;
    };
    for (const Case &c : {Case{"10", "2", {}}, Case{"1", "1", {}},
                          Case{"abc", "1", QStringLiteral("输入错误的数字！")}}) {
        const qsizetype before = f.home.ui.shown.size();
        f.home.ui.answerValue(c.answer);
        f.window->selectFirstRows();
        EXPECT_EQ(f.selected(), c.selected) << c.answer.toStdString();
        EXPECT_EQ(f.home.ui.shown.size() > before ? f.home.ui.last().text : QString(), c.message);
    }

    // Emptying a column asks first; No changes nothing.
    QTest::mouseClick(f.window->findChild<QPushButton *>("btFillColumn"), Qt::LeftButton);
    f.window->findChild<QComboBox *>("cbField")->setEditText("@备注");
    f.home.ui.answer(Ui::Answer::No);
    QTest::mouseClick(f.window->findChild<QPushButton *>("btApplyFill"), Qt::LeftButton);
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("你确信要置空所有的[备注]列吗？"));
    EXPECT_EQ(f.column(1, "备注"), QStringLiteral("原样"));

    f.window->findChild<QComboBox *>("cbField1")->setEditText("@全称");
    f.window->findChild<QComboBox *>("cbField2")->setEditText("-");
    f.window->findChild<QComboBox *>("cbField3")->setEditText("@备注");
    QTest::mouseClick(f.window->findChild<QPushButton *>("btApplyFill"), Qt::LeftButton);
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("2条收件人的【备注】修改成功！"));
    EXPECT_EQ(f.column(2, "备注"), QStringLiteral("乙公司-原样"));
    EXPECT_TRUE(f.column(3, "备注").isEmpty()); // not listed, not changed

    f.home.ui.answer(Ui::Answer::Yes);
    f.window->btClearAllClick();
    EXPECT_EQ(f.listed(), "0");
    EXPECT_EQ(f.addRows({{{"全称", "丁公司"}}}), QList<int>{1});
}

TEST(BatchPrintWindow, MenuCommandPressesTheFormsBatchButton)
{
    TestHome home;
    Tfm_Main frame{home.services()};
    frame.show();
    frame.menuItem("m_multi_kdd")->trigger();
    EXPECT_EQ(home.ui.last().text, QStringLiteral("没有填开单据，打印什么呢？"));

    frame.menuItem("m_new_kdd")->trigger();
    ASSERT_TRUE(TfmCheckKDD::instance());
    QString opened;
    NextModal answer([&](QWidget *w) {
        opened = w->objectName();
        w->close();
    });
    frame.menuItem("m_multi_kdd")->trigger();
    EXPECT_EQ(opened, "frmMutiPrint");
}

TEST(BatchPrintWindow, EveryGroupIsListedAndTheGroupBoxChoosesOne)
{
    BatchFixture f;
    int imports = 0;
    f.window = std::make_unique<TfrmMutiPrint>(
        f.home.services(),
        TfrmMutiPrint::Sources{{}, [&](std::function<void()> listChanged) {
                                   // What the import stores: rows under the list name typed.
                                   ++imports;
                                   QSqlQuery q = f.home.db().query();
                                   EXPECT_TRUE(q.exec("INSERT INTO ReceiverList (全称, 批打分组) "
                                                      "VALUES ('店铺一', '淘宝店'), "
                                                      "('店铺二', '淘宝店')"));
                                   listChanged();
                               }});
    f.addRows({{{"全称", "甲公司"}},
               {{"全称", "乙公司"}, {"批打分组", "第一批"}},
               {{"全称", "丙公司"}, {"批打分组", " 第一批 "}},
               {{"全称", "丁公司"}, {"批打分组", "  "}}});
    EXPECT_EQ(f.listedNames(), (QStringList{"甲公司", "乙公司", "丙公司", "丁公司"}));

    f.click("btImportExcel");
    EXPECT_EQ(imports, 1);
    EXPECT_EQ(f.listed(), "6");
    auto *groups = f.window->findChild<QComboBox *>("cb_ListName");
    QStringList offered;
    for (int i = 0; i < groups->count(); ++i)
        offered << groups->itemText(i);
    EXPECT_EQ(offered, (QStringList{"全部列表", "", "淘宝店", "第一批"}));

    struct Case
    {
        QString group;
        QStringList names;
    };
    for (const Case &c :
         {Case{"淘宝店", {"店铺一", "店铺二"}}, Case{"第一批", {"乙公司", "丙公司"}},
          Case{"", {"甲公司", "丁公司"}}, Case{"没有这组", {}}}) {
        f.chooseGroup(c.group);
        EXPECT_EQ(f.listedNames(), c.names) << c.group.toStdString();
        EXPECT_EQ(f.window->findChild<QPushButton *>("btPrintAll")->isEnabled(),
                  !c.names.isEmpty());
    }
    // Printing takes the group shown.
    f.chooseGroup(QStringLiteral("淘宝店"));
    const std::vector<PdfPage> pages = readPdfWords(f.printToPdf([&] { f.click("btPrintAll"); }));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(findWord(pages[1], QStringLiteral("店铺二")));
}

TEST(BatchPrintWindow, TheRunRecordNamesEachRunAndPrintsAnyRunAgainFromARow)
{
    BatchFixture f;
    ASSERT_TRUE(f.form);
    CurrentOperator::set(QStringLiteral("张会计"));
    const QStringList names{"甲公司", "乙公司", "丙公司"};
    QList<QHash<QString, QString>> rows;
    for (const QString &name : names)
        rows.append({{"全称", name}});
    const QList<int> ids = f.addRows(rows);
    const QString first = f.printToPdf([&] { f.click("btPrintAll"); });
    ASSERT_EQ(readPdfWords(first).size(), 3u);

    // After a jam at the second slip: the record, run 1, from row 2.
    const QString again = f.home.path() + u"again.pdf";
    f.home.services().printEngine().setDevice(QtPrintDevice::pdfFile(again));
    QStringList cells;
    NextModal answer([&](QWidget *w) {
        EXPECT_EQ(w->objectName(), "frmBatchRuns");
        auto *grid = w->findChild<QTableWidget *>("gridRuns");
        ASSERT_TRUE(grid);
        ASSERT_EQ(grid->rowCount(), 1);
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << grid->item(0, c)->text();
        auto *from = w->findChild<QSpinBox *>("spFromRow");
        EXPECT_EQ(from->maximum(), 3);
        from->setValue(2);
        QTest::mouseClick(w->findChild<QPushButton *>("btReprintFrom"), Qt::LeftButton);
    });
    f.click("btRuns");
    ASSERT_TRUE(answer.answered());
    ASSERT_EQ(cells.size(), 6);
    EXPECT_EQ(cells[0], "1");
    EXPECT_EQ(QDateTime::fromString(cells[1], "yyyy-MM-dd HH:mm:ss").date(), QDate::currentDate());
    EXPECT_EQ(cells.mid(2), (QStringList{"张会计", first, "3", "已送出"}));
    const std::vector<PdfPage> pages = readPdfWords(again);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(findWord(pages[0], names[1]));
    EXPECT_TRUE(findWord(pages[1], names[2]));
    EXPECT_EQ(f.column(ids[0], "打印批次"), "1");
    EXPECT_EQ(f.column(ids[2], "打印批次"), "2");

    // Clearing the list restarts its numbering, never that of the runs.
    f.home.ui.answer(Ui::Answer::Yes);
    f.click("btClearAll");
    f.addRows({{{"全称", "丁公司"}}});
    f.printToPdf([&] { f.click("btPrintAll"); });
    EXPECT_TRUE(f.home.ui.last().text.startsWith(QStringLiteral("批量打印完成：第 3 批")))
        << f.home.ui.last().text.toStdString();
    CurrentOperator::set({});
}

namespace {

// A printer that looks at the record at the moment the document goes to the spooler.
struct WatchedSpooler : RecordingPrintDevice
{
    std::function<void()> onEnd;
    bool endDocument() override
    {
        if (onEnd)
            onEnd();
        return RecordingPrintDevice::endDocument();
    }
};

} // namespace

TEST(BatchPrintWindow, TheRunIsOnRecordBeforeTheDocumentIsSentAndAKillIsReported)
{
    BatchFixture f;
    ASSERT_TRUE(f.form);
    const QList<int> ids = f.addRows({{{"全称", "甲公司"}}, {{"全称", "乙公司"}}});
    auto device = std::make_unique<WatchedSpooler>();
    WatchedSpooler *spooler = device.get();
    QList<BatchRun> atSpool;
    spooler->onEnd = [&] {
        QString error;
        atSpool = BatchRunLog(f.home.db(), "ReceiverList").runs(&error);
    };
    f.home.services().printEngine().setDevice(std::move(device));
    f.click("btPrintAll");
    ASSERT_EQ(spooler->count("end"), 1);
    ASSERT_EQ(atSpool.size(), 1);
    EXPECT_EQ(atSpool[0].state, QString::fromUtf8(BatchRunLog::kSending));
    EXPECT_EQ(atSpool[0].rows, ids);
    EXPECT_EQ(f.column(ids[0], "打印批次"), "1");

    // A program killed while sending run 2 leaves it on record; the next opening says so and
    // its rows are not offered as unprinted.
    const QList<int> more = f.addRows({{{"全称", "丙公司"}}, {{"全称", "丁公司"}}});
    QString error;
    ASSERT_EQ(BatchRunLog(f.home.db(), "ReceiverList").begin(more, "Bill Printer", "", &error), 2);
    f.window = std::make_unique<TfrmMutiPrint>(f.home.services(), TfrmMutiPrint::Sources{});
    const qsizetype before = f.home.ui.shown.size();
    f.window->show();
    ASSERT_EQ(f.home.ui.shown.size(), before + 1);
    EXPECT_TRUE(f.home.ui.last().text.startsWith(QStringLiteral("第 2 批")));
    EXPECT_TRUE(f.home.ui.last().text.contains(QStringLiteral("中断")));
    f.window->findChild<QTabBar *>("tabStatus")->setCurrentIndex(1); // 【未打印】
    EXPECT_EQ(f.listed(), "0");
    f.window->hide();
    f.window->show();
    EXPECT_EQ(f.home.ui.shown.size(), before + 1); // told once

    // Without a record nothing is sent.
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("DROP TABLE BatchRunTable"));
    auto failing = std::make_unique<RecordingPrintDevice>();
    RecordingPrintDevice *recording = failing.get();
    f.home.services().printEngine().setDevice(std::move(failing));
    f.window->findChild<QTabBar *>("tabStatus")->setCurrentIndex(0);
    f.click("btPrintAll");
    EXPECT_EQ(recording->count("end"), 0);
    EXPECT_EQ(recording->count("abort"), 1);
    EXPECT_TRUE(
        f.home.ui.last().text.startsWith(QStringLiteral("打印记录保存失败，没有送出任何快递单")))
        << f.home.ui.last().text.toStdString();
}

TEST(BatchPrintWindow, ABatchFromAReopenedHistorySlipStartsEachSlipAsANewOne)
{
    BatchFixture f;
    ASSERT_TRUE(f.form);
    f.form->setFieldText("zdHKR", QStringLiteral("岚砚办公用品公司"));
    f.form->setFieldText("zdPJBH", "SF1234567");
    f.form->setFieldText("zdSKR", QStringLiteral("历史收件公司"));
    QTest::mouseClick(f.form->findChild<QAbstractButton *>("btSaveCheck"), Qt::LeftButton);
    ASSERT_GT(f.form->billId(), 0);
    f.form->BrowseOldCheck(f.form->billId());
    ASSERT_TRUE(f.form->isHistory());
    f.addRows({{{"全称", "甲公司"}}, {{"全称", "乙公司"}}});

    // Kept as it is: nothing prints.
    auto device = std::make_unique<RecordingPrintDevice>();
    RecordingPrintDevice *recording = device.get();
    f.home.services().printEngine().setDevice(std::move(device));
    f.home.ui.answer(Ui::Answer::No);
    f.click("btPrintAll");
    EXPECT_TRUE(f.home.ui.last().text.contains(QStringLiteral("历史快递单")))
        << f.home.ui.last().text.toStdString();
    EXPECT_EQ(recording->count("begin"), 0);
    EXPECT_TRUE(f.form->isHistory());

    f.home.ui.answer(Ui::Answer::Yes);
    const std::vector<PdfPage> pages = readPdfWords(f.printToPdf([&] { f.click("btPrintAll"); }));
    ASSERT_EQ(pages.size(), 2u);
    for (const PdfPage &page : pages) {
        EXPECT_FALSE(findWord(page, "SF1234567"));
        EXPECT_FALSE(findWord(page, QStringLiteral("历史收件公司")));
        EXPECT_TRUE(findWord(page, QStringLiteral("岚砚办公用品公司"))); // the sender stays
    }
    EXPECT_FALSE(f.form->isHistory());
}
