#include "../../print/PdfWords.h"
#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "batch/DraftBatchList.h"
#include "batch/ReceiverListModel.h"
#include "batch/ui/TfrmImportMatchCDHP.h"
#include "batch/ui/TfrmMutiPrintCDHP.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "data/Spreadsheets.h"
#include "data/spreadsheet/SpreadsheetReader.h"
#include "history/ui/TfmSearch_CDHP.h"
#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"
#include "templates/Catalogue.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using Row = QHash<QString, QString>;

// The main frame with the draft form open and its batch window opened by the form's button.
struct DraftBatchFixture
{
    TestHome home;
    Tfm_Main frame{home.services()};
    TfmCheckCDHP *form = nullptr;
    TfrmMutiPrintCDHP *window = nullptr;

    DraftBatchFixture()
    {
        frame.show();
        QApplication::setActiveWindow(&frame);
        frame.openAcceptanceDraft();
        form = TfmCheckCDHP::instance();
        form->findChild<QToolButton *>("btMultiPrintS")->click();
        window = frame.draftBatchWindow();
    }

    QList<int> addRows(const QList<Row> &rows)
    {
        QList<int> ids;
        DraftBatchList list(home.db());
        for (const Row &row : rows) {
            QString error;
            EXPECT_TRUE(list.addRow(row, &error)) << error.toStdString();
            QSqlQuery q = home.db().query();
            q.exec("SELECT MAX(ID) FROM MultiPrintCDHP");
            q.next();
            ids << q.value(0).toInt();
        }
        window->refresh();
        return ids;
    }
    void showGroup(const QString &group)
    {
        window->findChild<QComboBox *>("cb_ListName")->setEditText(group);
        window->refresh();
    }
    int listed() const { return window->findChild<QLineEdit *>("edtSelectCount")->text().toInt(); }
    QStringList listedColumn(const char *name) const
    {
        QStringList values;
        const int c = window->model()->record().indexOf(QString::fromUtf8(name));
        for (int r = 0; r < window->model()->rowCount(); ++r)
            values << window->model()->index(r, c).data().toString();
        return values;
    }
    std::vector<PdfPage> printToPdf(const char *name, const std::function<void()> &print)
    {
        const QString pdf = home.path() + QString::fromLatin1(name);
        home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
        print();
        return readPdfWords(pdf);
    }
    // The box of a template item in millimetres of the paper, with half a millimetre to spare.
    QRectF boxOf(const char *control)
    {
        const Catalogue &catalogue = home.services().catalogue();
        const auto draft = catalogue.loadTemplate(form->currentTemplate());
        const auto item = catalogue.loadTemplateItem(form->currentTemplate(), control);
        EXPECT_TRUE(draft && item) << control;
        if (!draft || !item)
            return {};
        const double mm = draft->pWidth / 10.0 / draft->tWidth;
        return QRectF(item->srcX * mm, item->srcY * mm, item->srcW * mm, item->srcH * mm)
            .adjusted(-0.5, -0.5, 0.5, 0.5);
    }
    // Whether `text` is printed on the page inside the item's box.
    bool printedIn(const PdfPage &page, const char *control, const QString &text)
    {
        const QRectF box = boxOf(control);
        for (const PdfWord &w : page.words)
            if (w.text == text && box.contains(QRectF(w.x, w.y, w.width, w.height)))
                return true;
        return false;
    }
    static bool printed(const PdfPage &page, const QString &text)
    {
        for (const PdfWord &w : page.words)
            if (w.text == text)
                return true;
        return false;
    }
};

Row draft(const char *payee, const char *amount, const char *issue = "2009-12-15",
          const char *group = "")
{
    return {{"收款人全称", QString::fromUtf8(payee)},    {"出票人全称", QStringLiteral("岚砚科技")},
            {"金额", QString::fromUtf8(amount)},         {"出票日期", QString::fromUtf8(issue)},
            {"汇票到期日", QStringLiteral("2010-6-13")}, {"批打分组", QString::fromUtf8(group)}};
}

} // namespace

TEST(DraftBatchWindow, GroupsListClearAndFillPerGroup)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    EXPECT_EQ(f.window->windowTitle(), QStringLiteral("岚砚软件-批量打印承兑汇票"));
    f.addRows({draft("甲", "1", "", "A"), draft("乙", "2", "", "B"), draft("丙", "3", "", ""),
               draft("丁", "4", "", "  ")});
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("INSERT INTO MultiPrintCDHP (收款人全称) VALUES ('戊')")); // null group

    struct Case
    {
        const char *group;
        QStringList payees;
    };
    for (const Case &c : {Case{"全部列表", {"甲", "乙", "丙", "丁", "戊"}},
                          Case{"", {"丙", "丁", "戊"}}, Case{"A", {"甲"}}, Case{"a", {}}}) {
        f.showGroup(QString::fromUtf8(c.group));
        EXPECT_EQ(f.listedColumn("收款人全称"), c.payees) << c.group;
        EXPECT_EQ(f.listed(), c.payees.size()) << c.group;
        EXPECT_EQ(f.window->findChild<QPushButton *>("btStartPrint")->isEnabled(),
                  !c.payees.isEmpty());
    }
    f.window->AReloadListNames();
    auto *groups = f.window->findChild<QComboBox *>("cb_ListName");
    EXPECT_EQ(groups->itemText(0), QStringLiteral("全部列表"));
    EXPECT_GE(groups->findText("A"), 1);
    EXPECT_EQ(groups->currentText(), QStringLiteral("a")); // the box's text stays

    // "应用修改" reaches only the group shown; with no operand and the answer No, nothing.
    f.showGroup("B");
    QTest::mouseClick(f.window->findChild<QPushButton *>("btFillColumn"), Qt::LeftButton);
    auto *target = f.window->findChild<QComboBox *>("cbField");
    target->setCurrentIndex(target->findText("@备注"));
    f.window->findChild<QComboBox *>("cbField1")->setEditText("@收款人全称");
    f.window->findChild<QComboBox *>("cbField2")->setEditText("-批");
    QTest::mouseClick(f.window->findChild<QPushButton *>("btModifyField"), Qt::LeftButton);
    EXPECT_EQ(f.window->findChild<QLabel *>("lbResult")->text(),
              QStringLiteral("1条收件人的【备注】修改成功！"));
    f.window->findChild<QComboBox *>("cbField1")->setEditText("");
    f.window->findChild<QComboBox *>("cbField2")->setEditText("");
    QTest::mouseClick(f.window->findChild<QPushButton *>("btModifyField"),
                      Qt::LeftButton); // answered No
    f.showGroup("全部列表");
    EXPECT_EQ(f.listedColumn("备注"), (QStringList{"", "乙-批", "", "", ""}));

    // Clearing a group deletes only its rows; "全部列表" deletes all.
    f.showGroup("A");
    f.home.ui.answer(Ui::Answer::Yes);
    f.window->btClearClick();
    f.showGroup("全部列表");
    EXPECT_EQ(f.listedColumn("收款人全称"), (QStringList{"乙", "丙", "丁", "戊"}));
    f.home.ui.answer(Ui::Answer::Yes);
    f.window->btClearClick();
    EXPECT_EQ(f.listed(), 0);
}

TEST(DraftBatchWindow, PrintsEveryRowThroughTheFormInListOrder)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    f.addRows({draft("北京远景贸易", "1234.50"), draft("上海百川实业", "5678.00", "2010/3/5"),
               draft("广州南方物流", "2345.60", "")});
    auto *issue = static_cast<QDateEdit *>(f.form->field("SelDate"));
    issue->setDate(QDate(2011, 1, 20));

    const auto pages = f.printToPdf("all.pdf", [&] { f.window->btStartPrintClick(); });
    ASSERT_EQ(pages.size(), 3u);
    const struct
    {
        const char *payee;
        const char *capital;
        const char *digits[3]; // 百, 十, 元
        const char *day;
    } expected[]{{"北京远景贸易", "人民币壹仟贰佰叁拾肆元伍角整", {"2", "3", "4"}, "壹拾伍"},
                 {"上海百川实业", "人民币伍仟陆佰柒拾捌元整", {"6", "7", "8"}, "零伍"},
                 {"广州南方物流", "人民币贰仟叁佰肆拾伍元陆角整", {"3", "4", "5"}, "零贰拾"}};
    for (size_t i = 0; i < 3; ++i) {
        const auto &e = expected[i];
        EXPECT_TRUE(f.printedIn(pages[i], "ZDINCOMP", QString::fromUtf8(e.payee))) << i;
        EXPECT_TRUE(f.printedIn(pages[i], "ZDJEDX", QString::fromUtf8(e.capital))) << i;
        EXPECT_TRUE(f.printedIn(pages[i], "ZDBY", QString::fromUtf8(e.digits[0]))) << i;
        EXPECT_TRUE(f.printedIn(pages[i], "ZDSY", QString::fromUtf8(e.digits[1]))) << i;
        EXPECT_TRUE(f.printedIn(pages[i], "ZDY", QString::fromUtf8(e.digits[2]))) << i;
        // "-" and "/" dates both read; an empty one keeps the form's date.
        EXPECT_TRUE(f.printedIn(pages[i], "ZDRI", QString::fromUtf8(e.day))) << i;
    }
    EXPECT_TRUE(f.home.ui.last().text.startsWith(
        u"批量打印完成：第 1 批，共送出 3 张汇票（3 页），打印机：" + f.home.path() + u"all.pdf。"))
        << f.home.ui.last().text.toStdString();
    EXPECT_EQ(f.listedColumn("打印批次"), (QStringList{"1", "1", "1"}));

    // Selected rows print in list order, whatever the order of the clicks.
    QItemSelectionModel *selection = f.window->grid()->selectionModel();
    selection->clearSelection();
    for (int row : {2, 0})
        selection->select(f.window->model()->index(row, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const auto chosen = f.printToPdf("sel.pdf", [&] { f.window->nPrintSelClick(); });
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_TRUE(f.printed(chosen[0], "北京远景贸易"));
    EXPECT_TRUE(f.printed(chosen[1], "广州南方物流"));
    EXPECT_EQ(f.listedColumn("打印批次"), (QStringList{"2", "1", "2"}));

    selection->clearSelection();
    f.window->nPrintSelClick();
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("没有选中要打印的列表项目！"));
}

TEST(DraftBatchWindow, EachDraftStartsFromTheFormNotFromTheRowBefore)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    Row dollars = draft("美元收款人", "100");
    dollars.insert("币种", "美元");
    f.addRows({dollars, draft("人民币收款人", "200", "")});
    auto *payee = static_cast<QComboBox *>(f.form->field("zdInComp"));
    payee->setEditText("表单上的收款人");
    static_cast<QDateEdit *>(f.form->field("SelDate"))->setDate(QDate(2011, 1, 20));

    auto *start = f.window->findChild<QPushButton *>("btStartPrint");
    ASSERT_TRUE(start && start->isVisible() && start->isEnabled());
    const auto pages = f.printToPdf("start.pdf", [&] { QTest::mouseClick(start, Qt::LeftButton); });
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(f.printedIn(pages[0], "ZDJEDX", QStringLiteral("人民币美元壹佰元整")));
    // Neither the first row's currency nor its date reaches the second draft.
    EXPECT_TRUE(f.printedIn(pages[1], "ZDJEDX", QStringLiteral("人民币贰佰元整")));
    EXPECT_TRUE(f.printedIn(pages[1], "ZDRI", QStringLiteral("零贰拾")));
    EXPECT_FALSE(f.printed(pages[1], QStringLiteral("US$")));
    // The batch prints its own bills: the draft on the form is as the clerk left it.
    EXPECT_EQ(payee->currentText(), QStringLiteral("表单上的收款人"));
    EXPECT_EQ(f.form->fieldText("zdJEXX"), QString());
}

TEST(DraftBatchWindow, RowsWithBadValuesAreReportedNotPrinted)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    f.addRows({draft("好一", "100"), draft("坏金额", "12a3"), draft("过大", "1000000000"),
               draft("空金额", ""), draft("坏日期", "100", "2009-13-45"), draft("好二", "200")});
    const auto pages = f.printToPdf("bad.pdf", [&] { f.window->btStartPrintClick(); });
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(f.printed(pages[0], "好一"));
    EXPECT_TRUE(f.printed(pages[1], "好二"));
    const QString report = f.home.ui.last().text;
    EXPECT_TRUE(report.contains(QStringLiteral("跳过 4 条"))) << report.toStdString();
    for (const char *why : {"金额不是数值：12a3", "金额过大", "出票日期无法识别：2009-13-45"})
        EXPECT_TRUE(report.contains(QString::fromUtf8(why))) << why;
}

namespace {

// Saved by LibreOffice from a text file: three drafts under the titles 编号, 出票日期,
// 汇票到期日, 金额, 收款单位, 出票人全称, outbankaddr, "收款人 全称", an empty title and 分组.
const QString kDrafts = QStringLiteral(LANYAN_SOURCE_DIR "/tests/batch/ui/fixtures/drafts.xlsx");

QString chosen(TfrmImportMatchCDHP &import, const char *list)
{
    return import.findChild<QComboBox *>(list)->currentText();
}

void clickIn(QWidget &window, const char *button)
{
    auto *b = window.findChild<QPushButton *>(QString::fromLatin1(button));
    ASSERT_TRUE(b && b->isVisible() && b->isEnabled()) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

// "第3步: 开始导入(&S)" pressed, and the import's chunks run to the summary.
void runImport(TfrmImportMatchCDHP &import)
{
    import.show();
    clickIn(import, "btStart");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !import.isBusy(); }, 20000));
}

} // namespace

TEST(DraftBatchWindow, ImportsASpreadsheetAndPrintsEveryDraft)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    TfrmImportMatchCDHP import(f.home.services());
    import.chooseFile(kDrafts);
    EXPECT_EQ(chosen(import, "cbCheckNO"), QStringLiteral("列1:编号"));
    EXPECT_EQ(chosen(import, "cbAmount"), QStringLiteral("列4:金额"));
    EXPECT_EQ(chosen(import, "cbInComp"), QStringLiteral("列5:收款单位"));
    EXPECT_EQ(chosen(import, "cbOutBankAddr"), QStringLiteral("列7:outbankaddr"));
    // Titles after the empty one are not offered; "收款人 全称" matches nothing.
    auto *groups = import.findChild<QComboBox *>("cbGroups");
    EXPECT_EQ(groups->count(), 1 + 8);
    EXPECT_EQ(groups->currentText(), QString());
    // The same file again keeps a mapping the clerk changed.
    import.findChild<QComboBox *>("cbCheckNO")->setCurrentIndex(0);
    import.chooseFile(kDrafts);
    EXPECT_EQ(chosen(import, "cbCheckNO"), QString());
    import.findChild<QComboBox *>("cbCheckNO")->setCurrentIndex(1);

    runImport(import);
    EXPECT_EQ(f.home.ui.last().caption, QStringLiteral("导入结束"));
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("导入完成，共有 3 条导入成功！\r\n"));
    EXPECT_EQ(f.listed(), 0); // shown after "过滤刷新"
    f.window->refresh();
    EXPECT_EQ(f.listedColumn("票据编号"), (QStringList{"NO-1", "NO-2", "NO-3"}));
    EXPECT_EQ(f.listedColumn("付款行地址"), (QStringList{"北京路1号", "上海路2号", "广州路3号"}));
    EXPECT_EQ(f.listedColumn("票据状态"), (QStringList{"0", "0", "0"}));

    const auto pages = f.printToPdf("imported.pdf", [&] { f.window->btStartPrintClick(); });
    ASSERT_EQ(pages.size(), 3u);
    const struct
    {
        const char *payee;
        const char *capital;
        const char *digits[4]; // 百, 十, 元, 角
    } expected[]{{"北京远景贸易", "人民币壹仟贰佰叁拾肆元伍角整", {"2", "3", "4", "5"}},
                 {"上海百川实业", "人民币伍仟陆佰柒拾捌元整", {"6", "7", "8", "0"}},
                 {"广州南方物流", "人民币贰仟叁佰肆拾伍元陆角整", {"3", "4", "5", "6"}}};
    for (size_t i = 0; i < 3; ++i) {
        const auto &e = expected[i];
        EXPECT_TRUE(f.printedIn(pages[i], "ZDINCOMP", QString::fromUtf8(e.payee))) << i;
        EXPECT_TRUE(f.printedIn(pages[i], "ZDJEDX", QString::fromUtf8(e.capital))) << i;
        int cell = 0;
        for (const char *control : {"ZDBY", "ZDSY", "ZDY", "ZDJ"})
            EXPECT_TRUE(f.printedIn(pages[i], control, QString::fromUtf8(e.digits[cell++])))
                << i << control;
    }
}

TEST(DraftBatchWindow, ImportStoresBlankRowsLogsBadOnesAndNothingFromTitlesAlone)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    struct Case
    {
        const char *text;
        int imported;
        int skipped;
    };
    for (const Case &c :
         {Case{"金额,出票日期\n", 0, 0},
          Case{"金额,出票日期,收款人全称\n100,2009-1-2,甲\n,,\n12x,,乙\n5,2009-13-1,丙\n"
               "1000000000,,丁\n",
               2, 3}}) {
        const QString path = f.home.path() + u"drafts.csv";
        QFile::remove(path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.text);
        file.close();
        TfrmImportMatchCDHP import(f.home.services());
        import.chooseFile(path);
        runImport(import);
        const QString summary = f.home.ui.last().text;
        EXPECT_TRUE(
            summary.startsWith(QStringLiteral("导入完成，共有 %1 条导入成功！").arg(c.imported)))
            << summary.toStdString();
        EXPECT_EQ(summary.contains(QStringLiteral("跳过了%1 条").arg(c.skipped)), c.skipped > 0);
    }
    f.window->refresh();
    EXPECT_EQ(f.listedColumn("收款人全称"), (QStringList{"甲", ""}));
    EXPECT_EQ(f.listedColumn("票据状态"), (QStringList{"0", "0"}));
    QFile log(f.home.services().getRunPath() + u"/ImportLog.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    // Why each skipped row was left out, by its row number.
    const QByteArray logged = log.readAll();
    for (const char *text : {"12x", "2009-13-1", "5="})
        EXPECT_TRUE(logged.contains(text)) << text << logged.toStdString();
}

TEST(DraftBatchWindow, ImportOpenedFromTheListStopsBetweenChunks)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    const QString path = f.home.path() + u"many.csv";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("金额,收款人全称\n");
    for (int r = 1; r <= 1200; ++r)
        file.write("100," + QByteArray::number(r) + "\n");
    file.close();
    f.home.ui.answerFile(path);
    int progressAtStop = -1;
    NextModal import([&](QWidget *w) {
        auto *dialog = qobject_cast<TfrmImportMatchCDHP *>(w);
        ASSERT_TRUE(dialog);
        clickIn(*dialog, "btBrowse");
        clickIn(*dialog, "btStart");
        QCoreApplication::processEvents(); // one chunk
        progressAtStop = dialog->findChild<QProgressBar *>("ProgressBar1")->value();
        clickIn(*dialog, "btStopIt");
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->isBusy(); }, 20000));
        dialog->close();
    });
    f.window->findChild<QPushButton *>("btFromExcel")->click();
    EXPECT_EQ(progressAtStop, 500);
    EXPECT_EQ(f.home.ui.last().caption, QStringLiteral("导入结束"));
    EXPECT_EQ(f.home.ui.last().text,
              QStringLiteral("导入完成，共有 500 条导入成功！\r\n\r\n 还有 700 行未导入。"));
    QSqlQuery count = f.home.db().query();
    ASSERT_TRUE(count.exec("SELECT COUNT(*) FROM MultiPrintCDHP") && count.next());
    EXPECT_EQ(count.value(0).toInt(), 500);
}

TEST(DraftBatchWindow, PicksSavedDraftsIntoTheGroupShownAllListIncluded)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(
        q.exec("INSERT INTO DataCDHPTable (承兑协议号, 金额, 出票日期, 收款人全称, 模板种类) "
               "VALUES ('XY-1', '100.00', '2026-05-01', '岚砚', '工行')"));
    NextModal pick([](QWidget *w) {
        auto *history = qobject_cast<TfmSearch_CDHP *>(w);
        ASSERT_TRUE(history && history->isPickMode());
        history->findChild<QPushButton *>("btAll")->click();
        history->findChild<QPushButton *>("btQur")->click();
        history->addAllToBatch();
    });
    f.window->findChild<QPushButton *>("btFromHistory")->click();
    EXPECT_EQ(f.listedColumn("承兑协议号"), QStringList{"XY-1"});
    EXPECT_EQ(f.listedColumn("批打分组"), QStringList{"全部列表"});
    // The stored group "全部列表" is offered beside the box's own entry.
    auto *groups = f.window->findChild<QComboBox *>("cb_ListName");
    EXPECT_EQ(groups->count(), 2);
    EXPECT_EQ(groups->itemText(1), QStringLiteral("全部列表"));
}

TEST(DraftBatchWindow, AJammedRunIsResumedFromARow)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    f.addRows({draft("甲", "100"), draft("乙", "200", "2009-13-45"), draft("丙", "300")});

    // Rows that were refused or never reached the printer carry no run.
    f.printToPdf("first.pdf", [&] { f.window->btStartPrintClick(); });
    EXPECT_EQ(f.listedColumn("打印批次"), (QStringList{"1", "", "1"}));
    EXPECT_EQ(f.listedColumn("打印状态"), (QStringList{"已打印", "", "已打印"}));
    EXPECT_FALSE(f.listedColumn("打印时间").first().isEmpty());

    // The paper jammed on the third draft: print again from that row to the end.
    f.window->grid()->setCurrentIndex(f.window->model()->index(2, 0));
    QAction *from = f.window->findChild<QAction *>("miPrintFrom");
    ASSERT_TRUE(from);
    const auto pages = f.printToPdf("again.pdf", [&] { from->trigger(); });
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(f.printed(pages[0], "丙"));
    EXPECT_EQ(f.listedColumn("打印批次"), (QStringList{"1", "", "2"}));

    // An aborted run sent nothing and records nothing.
    f.window->batchRowDone = [](QProgressDialog &progress, int, int) { progress.cancel(); };
    f.printToPdf("stopped.pdf", [&] { f.window->btStartPrintClick(); });
    EXPECT_EQ(f.listedColumn("打印批次"), (QStringList{"1", "", "2"}));
}

TEST(DraftBatchWindow, AbortExportAndClosingWithTheForm)
{
    DraftBatchFixture f;
    ASSERT_TRUE(f.window);
    f.addRows({draft("甲", "100.50"), draft("乙", "200"), draft("丙", "300")});

    QString label;
    f.window->batchRowDone = [&](QProgressDialog &progress, int done, int) {
        label = progress.labelText();
        if (done == 2)
            progress.cancel();
    };
    const QString pdf = f.home.path() + u"stopped.pdf";
    f.home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
    f.window->btStartPrintClick();
    EXPECT_EQ(label, "2 / 3");
    EXPECT_FALSE(QFile::exists(pdf) && !readPdfWords(pdf).empty());
    EXPECT_TRUE(
        f.home.ui.last().text.startsWith(QStringLiteral("批量打印已中止：已排版 2 / 3 张")));
    EXPECT_TRUE(f.window->findChild<QPushButton *>("btStartPrint")->isEnabled());
    f.window->batchRowDone = nullptr;

    // The export leaves the key out and keeps every value as the text it is.
    const QString book = f.home.path() + u"export.xlsx";
    f.home.ui.answerFile(book);
    f.window->btToExcelClick();
    EXPECT_EQ(f.home.ui.last().text, QStringLiteral("导出结束！共导出3条记录~"));
    QString error;
    const auto sheet = f.home.services().spreadsheets().open(book, error);
    ASSERT_TRUE(sheet) << error.toStdString();
    // Nor does the print record go out: the sheet is the list as the clerk fills it.
    EXPECT_EQ(sheet->cellText(1, 1), QStringLiteral("模板种类"));
    for (int c = 1; c <= sheet->usedColumns(); ++c)
        EXPECT_FALSE(sheet->cellText(1, c).startsWith(u"打印")) << c;
    QStringList amounts;
    for (int c = 1; c <= sheet->usedColumns(); ++c)
        if (sheet->cellText(1, c) == u"金额")
            for (int r = 2; r <= 4; ++r)
                amounts << sheet->cellText(r, c);
    EXPECT_EQ(amounts, (QStringList{"100.50", "200", "300"}));

    // Closing the draft form closes and destroys the batch window.
    QPointer<TfrmMutiPrintCDHP> window = f.window;
    QPointer<TfmCheckCDHP> form = f.form;
    f.form->parentWidget()->close();
    for (int i = 0; i < 3; ++i)
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(f.frame.draftBatchWindow(), nullptr);
}
