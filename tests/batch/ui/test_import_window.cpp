#include "NextModal.h"
#include "StubReader.h"
#include "TestHome.h"
#include "base/IniFile.h"
#include "batch/ImportLog.h"
#include "batch/ui/TfrmImport.h"
#include "batch/ui/TfrmImportColumnCfg.h"
#include "data/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

// The fixtures were saved by LibreOffice from receivers.fods: its first sheet holds five rows,
// one without name, contact or phone and one repeating the first; its second sheet has an
// empty first title.

namespace {

const QString kFixtures = QStringLiteral(LANYAN_SOURCE_DIR "/tests/batch/ui/fixtures/");
const QStringList kFiles = {"receivers.xlsx", "receivers.xls", "receivers-utf8.csv",
                            "receivers-gbk.csv"};

template<class W>
W *child(QWidget &window, const char *name)
{
    auto *w = window.findChild<W *>(QString::fromLatin1(name));
    EXPECT_TRUE(w) << name;
    return w;
}

void click(QWidget &window, const char *name)
{
    child<QPushButton>(window, name)->click();
}

// The limit only guards against a hang: a loaded machine may take its time.
bool waitIdle(TfrmImport &window)
{
    return QTest::qWaitFor([&] { return !window.isBusy(); }, 60000);
}

void open(TfrmImport &window, const QString &path)
{
    window.openFile(path);
    ASSERT_TRUE(waitIdle(window));
}

QStringList rows(TestHome &home, const QString &sql)
{
    QStringList values;
    QSqlQuery q(home.db().connection());
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    while (q.next())
        values << q.value(0).toString();
    return values;
}

QString writeCsv(const QDir &dir, const QString &name, const QByteArray &text)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return f.fileName();
}

} // namespace

TEST(ImportWindow, AddressBookFromEveryFormat)
{
    for (const QString &file : kFiles) {
        TestHome home;
        TfrmImport window(home.services(), ImportScenario::AddressBook);
        open(window, kFixtures + file);
        EXPECT_EQ(window.box("单位全称")->currentText(), "列1:单位名称") << file.toStdString();
        EXPECT_EQ(window.box("联系人")->currentText(), "列2:收货人姓名");
        EXPECT_EQ(window.box("手机")->currentText(), "列4:手机号码");
        EXPECT_EQ(window.box("省")->currentText(), "列5:所在省份");
        EXPECT_EQ(window.box("市")->currentText(), "列6:城市");
        EXPECT_EQ(window.box("邮编")->currentText(), "列8:邮政编码");
        ASSERT_TRUE(child<QPushButton>(window, "btStart")->isEnabled());

        click(window, "btStart");
        ASSERT_TRUE(waitIdle(window));
        EXPECT_EQ(rows(home,
                       "SELECT 全称 || '|' || 联系人 || '|' || 电话 || '|' || 省 || '|' || 市 "
                       "|| '|' || 邮编 || '|' || 扩展信息 FROM CKPersonalInfoTable ORDER BY ID"),
                  QStringList({"甲贸易公司|张三|010-88886666|北京|北京市|100080|易碎",
                               "乙商行|李四|021-55556666|上海|上海市|200120|",
                               "丙工作室|王五|0571-87654321|浙江省|杭州市|310012|下午送"}))
            << file.toStdString();
        IniFile log(ImportLog::fileName(home.path()));
        EXPECT_EQ(log.readString("LOG", "N3"), "无效行，联系人、电话、全称均为空！");
        EXPECT_EQ(log.readString("LOG", "N5"),
                  "重复，单位：甲贸易公司,联系人：张三,电话：010-88886666");
        EXPECT_EQ(log.readString("INFO", "Total"), "本次任务数据共有：5行");
        EXPECT_TRUE(log.readString("INFO", "Finish").startsWith("导入结束，共有 3 条导入成功！"));
        // The log opens by itself, and again from its button.
        ASSERT_EQ(home.ui.opened.size(), 1);
        EXPECT_EQ(home.ui.opened[0].toLocalFile(), ImportLog::fileName(home.path()));
        ASSERT_TRUE(child<QPushButton>(window, "btLog")->isEnabled());
        click(window, "btLog");
        EXPECT_EQ(home.ui.opened.size(), 2);
        EXPECT_TRUE(child<QLabel>(window, "lblResult")->text().contains("其中跳过了2 条"));
    }
}

TEST(ImportWindow, BatchListAsksAboutDuplicatesFirstAndStoresEveryValidRow)
{
    for (const QString &file : kFiles) {
        TestHome home;
        TfrmImport window(home.services(), ImportScenario::BatchList);
        EXPECT_FALSE(child<QCheckBox>(window, "ckJudgeRepeated")->isChecked());
        child<QCheckBox>(window, "ckReadLog")->setChecked(false);
        child<QCheckBox>(window, "ckOrderIDOn")->click();
        open(window, kFixtures + file);
        home.ui.answer(Ui::Answer::Yes);
        click(window, "btStart");
        ASSERT_TRUE(waitIdle(window));
        ASSERT_GE(home.ui.shown.size(), 2) << file.toStdString();
        EXPECT_EQ(home.ui.shown[0].caption, "重复匹配确认");
        EXPECT_EQ(home.ui.last().caption, "导入结束");
        EXPECT_EQ(rows(home, "SELECT 全称 || '|' || 市 || '|' || 目的站 || '|' || 备注 FROM "
                             "ReceiverList ORDER BY ID"),
                  QStringList({"甲贸易公司|北京市||易碎 订单号:T1001;",
                               "乙商行|上海市||订单号:T1002;", "甲贸易公司|北京市||订单号:T1003;",
                               "丙工作室|杭州市||下午送 订单号:T1004;"}))
            << file.toStdString();
    }
}

TEST(ImportWindow, NoAnswerToTheDuplicateQuestionStoresNothing)
{
    TestHome home;
    TfrmImport window(home.services(), ImportScenario::BatchList);
    open(window, kFixtures + "receivers.xlsx");
    click(window, "btStart");
    EXPECT_EQ(home.ui.last().text,
              "你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？");
    EXPECT_TRUE(child<QPushButton>(window, "btStart")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(window, "btStopIt")->isEnabled());
    EXPECT_EQ(rows(home, "SELECT COUNT(*) FROM ReceiverList"), QStringList({"0"}));
}

TEST(ImportWindow, FilesThatCannotBeImportedSayWhyAndStoreNothing)
{
    TestHome home;
    QTemporaryDir dir;
    const struct
    {
        QString path;
        QString says;
    } cases[] = {
        {writeCsv(QDir(dir.path()), "cut.xlsx", "PK\x03\x04 broken"), "EXCEL导入错误,"},
        {writeCsv(QDir(dir.path()), "blank.csv", ",电话\n张,1\n"), "没有可识别的列"},
        {kFixtures + "../../../data/fixtures/hostile/sst-5m.xlsx", "过大"},
        {writeCsv(QDir(dir.path()), "open-quote.csv", "姓名,电话\n甲,1\n\"乙,2\n丙,3\n"),
         "第 3 行的双引号"},
    };
    for (const auto &c : cases) {
        TfrmImport window(home.services(), ImportScenario::AddressBook);
        home.ui.shown.clear();
        open(window, c.path);
        ASSERT_FALSE(home.ui.shown.isEmpty()) << c.path.toStdString();
        EXPECT_TRUE(home.ui.last().text.contains(c.says)) << home.ui.last().text.toStdString();
        EXPECT_FALSE(child<QPushButton>(window, "btStart")->isEnabled());
    }

    // A second sheet whose first title is empty.
    TfrmImport window(home.services(), ImportScenario::AddressBook);
    open(window, kFixtures + "receivers.xlsx");
    auto *sheets = child<QComboBox>(window, "cboWorkSheets");
    ASSERT_EQ(sheets->count(), 2);
    sheets->setCurrentIndex(1);
    Q_EMIT sheets->activated(1);
    ASSERT_TRUE(waitIdle(window));
    EXPECT_EQ(home.ui.last().text, "Excel的[空标题]没有可识别的列(表格第一行必须为非空的列标题，"
                                   "比如：联系人,电话..)!");
    EXPECT_FALSE(child<QPushButton>(window, "btStart")->isEnabled());

    // Without a name, contact or address column nothing can be stored.
    TfrmImport phones(home.services(), ImportScenario::AddressBook);
    open(phones, writeCsv(QDir(dir.path()), "phones.csv", "手机,备注\n139,a\n"));
    click(phones, "btStart");
    EXPECT_TRUE(home.ui.last().text.startsWith("收、发件单位名称、联系人、地址不能同时为空"));
    EXPECT_EQ(rows(home, "SELECT COUNT(*) FROM CKPersonalInfoTable"), QStringList({"0"}));
}

TEST(ImportWindow, StopAsksAgainUntilYesAndKeepsWhatWasStored)
{
    TestHome home;
    QTemporaryDir dir;
    QByteArray csv = "联系人,电话\n";
    for (int i = 0; i < 2000; ++i)
        csv += "人" + QByteArray::number(i) + "," + QByteArray::number(i) + "\n";
    TfrmImport window(home.services(), ImportScenario::AddressBook);
    child<QCheckBox>(window, "ckReadLog")->setChecked(false);
    open(window, writeCsv(QDir(dir.path()), "many.csv", csv));
    home.ui.answer(Ui::Answer::No);
    home.ui.answer(Ui::Answer::Yes);
    click(window, "btStart");
    ASSERT_TRUE(window.isBusy());
    auto *progress = window.findChild<QWidget *>("ProgressBar1");
    EXPECT_TRUE(progress->isVisible() || !window.isVisible());
    // The window answers between chunks: the stop button is pressed while rows go in.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !rows(home, "SELECT ID FROM CKPersonalInfoTable LIMIT 1").isEmpty(); },
        60000));
    click(window, "btStopIt");
    ASSERT_TRUE(waitIdle(window));
    QStringList asked;
    for (const auto &s : home.ui.shown)
        if (s.text == "需要中止导出操作吗？")
            asked << s.caption;
    EXPECT_EQ(asked, QStringList({"询问", "询问"}));
    const QString stored = rows(home, "SELECT COUNT(*) FROM CKPersonalInfoTable")[0];
    EXPECT_LT(stored.toInt(), 2000);
    EXPECT_TRUE(home.ui.last().text.startsWith("导入已中止，共有 " + stored + " 条导入成功！"))
        << home.ui.last().text.toStdString();
}

TEST(ImportWindow, FinishedImportShowsAllItsProgressAndItsLogWithoutAViewer)
{
    TestHome home;
    home.ui.openSucceeds = false; // no program for text files on this desktop
    QTemporaryDir dir;
    TfrmImport window(home.services(), ImportScenario::AddressBook);
    window.show();
    open(window, writeCsv(QDir(dir.path()), "few.csv", "联系人,电话,地址\n甲,1,a\n,,b\n乙,2,c\n"));
    QTest::mouseClick(child<QPushButton>(window, "btStart"), Qt::LeftButton);
    ASSERT_TRUE(waitIdle(window));
    auto *progress = child<QProgressBar>(window, "ProgressBar1");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->text(), "100%");
    const auto logWindow = [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmImportLog" && w->isVisible())
                return w;
        return static_cast<QWidget *>(nullptr);
    };
    QWidget *log = logWindow();
    ASSERT_TRUE(log);
    const QString text = child<QPlainTextEdit>(*log, "edtLog")->toPlainText();
    EXPECT_TRUE(text.contains("N3=无效行，联系人、电话、全称均为空！")) << text.toStdString();
    EXPECT_TRUE(text.contains("Finish=导入结束，共有 2 条导入成功！")) << text.toStdString();
    log->close();
    // "查看日志(&L)" shows it again.
    QTest::mouseClick(child<QPushButton>(window, "btLog"), Qt::LeftButton);
    ASSERT_TRUE(logWindow());
    logWindow()->close();
}

TEST(ImportWindow, AddressBookWindowKeepsNoEmptyBandsFromTheBatchListSize)
{
    TestHome home;
    {
        TfrmImport batch(home.services(), ImportScenario::BatchList);
        batch.show();
        const int tall = batch.height() + 300;
        batch.resize(batch.width() + 50, tall);
        batch.close();
    }
    TfrmImport book(home.services(), ImportScenario::AddressBook);
    book.show();
    EXPECT_LE(book.height(), book.sizeHint().height());
    TfrmImport batch(home.services(), ImportScenario::BatchList);
    EXPECT_GT(batch.height(), book.height());
}

TEST(ImportWindow, OptionsSurviveARestart)
{
    TestHome home;
    {
        TfrmImport window(home.services(), ImportScenario::AddressBook);
        child<QCheckBox>(window, "ckMemeberIDOn")->click();
        child<QCheckBox>(window, "cfgWPSFirst")->click();
    }
    EXPECT_EQ(home.settings().getConfigByname("ckMemeberIDOn"), "1");
    EXPECT_EQ(home.settings().getConfigByname("MS EXCEL FIRST"), "1");
    home.restart();
    TfrmImport window(home.services(), ImportScenario::AddressBook);
    EXPECT_TRUE(child<QCheckBox>(window, "ckMemeberIDOn")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(window, "ckOrderIDOn")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(window, "cfgWPSFirst")->isChecked());
}

TEST(ImportWindow, RuleWindowCleansTypedPatterns)
{
    TestHome home;
    TfrmImportColumnCfg rules(home.services());
    auto *patterns = child<QLineEdit>(rules, "edSourceName");
    auto *item = child<QLineEdit>(rules, "edItemName");
    EXPECT_FALSE(item->text().isEmpty());
    EXPECT_TRUE(item->isReadOnly());
    const QString name = item->text();

    patterns->setText(" '收货人，，收件人?' ");
    click(rules, "btSubmit");
    EXPECT_EQ(rows(home, "SELECT SourceName FROM MatchColumn WHERE ItemName = '" + name + "'"),
              QStringList({"收货人,收件人"}));

    patterns->setText(" ?' ");
    click(rules, "btSubmit");
    EXPECT_EQ(home.ui.last().text, "请输入有效的Excel/csv列名");
    EXPECT_EQ(rows(home, "SELECT SourceName FROM MatchColumn WHERE ItemName = '" + name + "'"),
              QStringList({"收货人,收件人"}));

    // The service code unlocks adding, deleting and renaming.
    auto *order = child<QLineEdit>(rules, "edShowOrd");
    EXPECT_TRUE(child<QPushButton>(rules, "btAdd")->isHidden());
    order->selectAll();
    QTest::keyClicks(order, "2468025");
    EXPECT_FALSE(child<QPushButton>(rules, "btAdd")->isHidden());
    EXPECT_FALSE(item->isReadOnly());
    QTest::keyClick(order, Qt::Key_Backspace);
    EXPECT_TRUE(child<QPushButton>(rules, "btDelete")->isHidden());
    EXPECT_TRUE(item->isReadOnly());
}

// A binary workbook is read by the reader helper while the window waits with "中止"; pressing
// it stops the helper, and the window is left as before the file was chosen.
TEST(ImportWindow, AbortWhileAWorkbookIsReadStopsTheReaderAndKeepsNothing)
{
    TestHome home;
    TfrmImport window(home.services(), ImportScenario::AddressBook);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    StubReader reader("echo 'progress 1 5'\nexec sleep 600");
    bool closedByButton = false;
    NextModal abort([&](QWidget *dialog) {
        auto *button = dialog->findChild<QPushButton *>("btAbortRead");
        ASSERT_TRUE(button);
        EXPECT_EQ(button->text(), "中止");
        QTest::mouseClick(button, Qt::LeftButton);
        closedByButton = !dialog->isVisible();
        // The helper is stopped by the button, not by the window closing after this answer.
        EXPECT_TRUE(waitIdle(window));
    });
    home.ui.answerFile(kFixtures + "receivers.xls");
    QTest::mouseClick(child<QPushButton>(window, "btBrowse"), Qt::LeftButton);
    ASSERT_TRUE(waitIdle(window));
    EXPECT_TRUE(abort.answered());
    EXPECT_TRUE(closedByButton);
    EXPECT_TRUE(reader.ranAndEnded());
    EXPECT_TRUE(home.ui.shown.isEmpty()) << home.ui.last().text.toStdString();
    EXPECT_TRUE(child<QLineEdit>(window, "ed_file")->text().isEmpty());
    EXPECT_FALSE(child<QPushButton>(window, "btStart")->isEnabled());
    EXPECT_EQ(child<QComboBox>(window, "cboWorkSheets")->count(), 0);
    EXPECT_EQ(child<QLabel>(window, "lblResult")->text(), "已中止读取文件。");
}
