#include "../../print/PdfWords.h"
#include "RefusingTrigger.h"
#include "TestHome.h"
#include "app/ui/PictureMdiArea.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/PartyFrame.h"
#include "bills/ui/TfmCheckKDD.h"
#include "data/Parties.h"
#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"
#include "templates/Catalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The main frame with the express slip form open on the default template.
struct SlipFixture
{
    TestHome home;
    Tfm_Main frame{home.services()};
    TfmCheckKDD *form = nullptr;

    SlipFixture()
    {
        frame.show();
        // Focus moves only inside the active window, and the amount field converts on leave.
        QApplication::setActiveWindow(&frame);
        frame.menuItem("m_new_kdd")->trigger();
        form = TfmCheckKDD::instance();
    }

    void click(const char *button) { form->findChild<QToolButton *>(button)->click(); }
    QString lastMessage() const
    {
        return home.ui.shown.isEmpty() ? QString() : home.ui.last().text;
    }
    int slipRows() { return home.db().CountTableAllRows("DataKDDTable", home.ui); }
    // Types into a field as a user would: focus in, text, focus out.
    void type(const char *name, const QString &text)
    {
        QWidget *w = form->field(name);
        w->setFocus();
        form->setFieldText(name, text);
        form->findChild<QToolButton *>("btSaveCheck")->setFocus();
    }
};

QStringList wordsOf(const PdfPage &page)
{
    QStringList words;
    for (const PdfWord &w : page.words)
        words << w.text;
    return words;
}

const QString kReceiverName = QStringLiteral("深圳市\"飞鸿\"贸易有限公司 O'Neil");

} // namespace

TEST(ExpressSlipForm, SaveSaveAgainEditReopenAndPrint)
{
    SlipFixture f;
    ASSERT_TRUE(f.form);
    EXPECT_EQ(f.frame.CurrentCheckTypeId, f.form->currentTemplate());
    f.form->setFieldText("zdSKR", kReceiverName);
    f.form->setFieldText("zdSKRLXR", QStringLiteral("李四"));
    f.form->setFieldText("zdSkrDZ", QStringLiteral("南山区科技园\n第二行 12号"));
    f.form->setFieldText("zdHKR", QStringLiteral("岚砚办公用品公司"));
    f.form->setFieldText("zdWPNR", QStringLiteral("文件"));

    f.click("btSaveCheck");
    EXPECT_EQ(f.lastMessage(), QStringLiteral("新快递单保存成功！ "));
    const int id = f.form->billId();
    EXPECT_GT(id, 0);
    f.click("btSaveCheck");
    EXPECT_EQ(f.lastMessage(), QStringLiteral("没有改动,无需保存~"));

    f.form->setFieldText("zdSKRLXR", QStringLiteral("王五"));
    f.click("btSaveCheck");
    EXPECT_TRUE(f.lastMessage().startsWith(QStringLiteral("快递单修改保存成功")));
    EXPECT_EQ(f.form->billId(), id);
    EXPECT_EQ(f.slipRows(), 1);

    f.click("btNewCheck");
    EXPECT_TRUE(f.form->fieldText("zdSKR").isEmpty());
    f.form->BrowseOldCheck(f.form->findChild<QComboBox *>("cbFirstTypeName")->currentText(),
                           QString::number(id));
    EXPECT_EQ(f.form->fieldText("zdSKR"), kReceiverName);
    EXPECT_EQ(f.form->fieldText("zdSKRLXR"), QStringLiteral("王五"));
    EXPECT_EQ(f.form->fieldText("zdSkrDZ"), QStringLiteral("南山区科技园\n第二行 12号"));
    EXPECT_TRUE(f.form->isHistory());
    f.click("btSaveCheck");
    EXPECT_EQ(f.lastMessage(),
              QStringLiteral("历史单据不能保存，请点击【复制】后,再保存为新单据！"));

    const QString pdf = f.home.path() + "slip.pdf";
    f.home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
    f.click("btPrint1");
    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const QString printed = wordsOf(pages[0]).join(' ');
    EXPECT_TRUE(printed.contains(QStringLiteral("王五"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("文件"))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("单击我"))) << printed.toStdString();

    // Each value sits where its template item says: the corner of the text at (CtlX, CtlY),
    // moved right by the two average character widths the engine adds (one font size).
    for (const auto &[control, text] : {std::pair{"ZDSKRLXR", QStringLiteral("王五")},
                                        std::pair{"ZDWPNR", QStringLiteral("文件")}}) {
        const auto item =
            f.home.services().catalogue().loadTemplateItem(f.form->currentTemplate(), control);
        ASSERT_TRUE(item) << control;
        const auto word = std::find_if(pages[0].words.begin(), pages[0].words.end(),
                                       [&](const PdfWord &w) { return w.text == text; });
        ASSERT_NE(word, pages[0].words.end()) << control;
        EXPECT_NEAR(word->x, item->ctlX / 10.0 + item->ctlFontSize * 25.4 / 72.0, 0.3) << control;
        EXPECT_NEAR(word->y, item->ctlY / 10.0, 0.3) << control;
    }
    // Measured on the default slip's paper, not read back from the template, so a fault shared
    // by the template and the print still shows: goods at 20.3 mm across, 72.7 mm down.
    const auto goods = std::find_if(pages[0].words.begin(), pages[0].words.end(),
                                    [](const PdfWord &w) { return w.text == u"文件"; });
    ASSERT_NE(goods, pages[0].words.end());
    EXPECT_NEAR(goods->x, 20.3 + 10 * 25.4 / 72.0, 0.3);
    EXPECT_NEAR(goods->y, 72.7, 0.3);
}

TEST(ExpressSlipForm, FailedSaveKeepsTheSlipOnScreenAndUnsaved)
{
    SlipFixture f;
    ASSERT_TRUE(f.form);
    f.form->setFieldText("zdSKR", QStringLiteral("收件单位"));
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("drop table DataKDDTable"));
    f.click("btSaveCheck");
    EXPECT_EQ(f.home.ui.last().icon, Ui::Icon::Critical);
    EXPECT_FALSE(f.form->isSaved());
    EXPECT_EQ(f.form->billId(), -1);
    EXPECT_EQ(f.form->fieldText("zdSKR"), QStringLiteral("收件单位"));
}

TEST(ExpressSlipForm, PrintAndSaveLeavesAnUnsavedCopyWithoutSlipNumber)
{
    SlipFixture f;
    ASSERT_TRUE(f.form);
    const QString pdf = f.home.path() + "p.pdf";
    f.home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
    f.form->setFieldText("zdSKR", QStringLiteral("收件单位"));
    f.form->setFieldText("zdPJBH", QStringLiteral("SF1234567"));
    const qsizetype before = f.home.ui.shown.size();
    f.click("btPrintAndSave");
    // Printed with its number, before the copy left on screen forgot it.
    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    for (const QString &value : {QStringLiteral("收件单位"), QStringLiteral("SF1234567")})
        EXPECT_TRUE(std::any_of(pages[0].words.begin(), pages[0].words.end(),
                                [&](const PdfWord &w) { return w.text == value; }))
            << value.toStdString();
    EXPECT_EQ(f.slipRows(), 1);
    EXPECT_EQ(f.home.ui.shown.size(), before);
    EXPECT_EQ(f.form->billId(), -1);
    EXPECT_FALSE(f.form->isSaved());
    EXPECT_TRUE(f.form->fieldText("zdPJBH").isEmpty());
    EXPECT_EQ(f.form->fieldText("zdSKR"), QStringLiteral("收件单位"));
}

TEST(ExpressSlipForm, OptionBoxesStoreTheCheckedCaptions)
{
    SlipFixture f;
    QSqlQuery q = f.home.db().query();
    q.prepare("update ckTypeTable set CheckBoxs = :boxes where CheckTypeID = :id");
    q.bindValue(":boxes", QStringLiteral("加急,保价"));
    q.bindValue(":id", f.form->currentTemplate());
    ASSERT_TRUE(q.exec());
    f.frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    f.frame.menuItem("m_new_kdd")->trigger();
    f.form = TfmCheckKDD::instance();
    ASSERT_TRUE(f.form);
    auto *urgent = f.form->findChild<QCheckBox *>("defCheck0");
    auto *insured = f.form->findChild<QCheckBox *>("defCheck1");
    EXPECT_EQ(urgent->text(), QStringLiteral("加急"));
    insured->setChecked(true);
    f.click("btSaveCheck");
    q.exec("select 其他选项 from DataKDDTable");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("保价"));
}

TEST(ExpressSlipForm, AmountInDigitCellsComesBackOnReEntry)
{
    SlipFixture f;
    auto *format = f.form->findChild<QComboBox *>("cfgJEDXFormat");
    format->setCurrentIndex(format->findText(QStringLiteral("00000.00  限万位到分")));
    ASSERT_GE(format->currentIndex(), 0);
    f.type("zdJEDX1", "1234.5");
    EXPECT_EQ(f.form->fieldText("zdJEDX1"), QStringLiteral("零壹贰叁肆伍零"));
    f.form->field("zdJEDX1")->setFocus();
    EXPECT_EQ(f.form->fieldText("zdJEDX1"), QStringLiteral("1234.5"));

    f.type("zdJEDX1", QStringLiteral("１２"));
    EXPECT_EQ(f.lastMessage(),
              QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~"));
}

TEST(ExpressSlipForm, HandsetMergeOnAndOffRestoresThePhone)
{
    SlipFixture f;
    auto *merge = f.form->findChild<QCheckBox *>("ckHandset2Phone");
    f.form->setFieldText("zdskrDH", "020-1234");
    f.form->setFieldText("skrHandset", "13800000000");
    merge->setChecked(false);
    for (int i = 0; i < 2; ++i) {
        merge->click();
        EXPECT_EQ(f.form->fieldText("zdskrDH"), QStringLiteral("020-1234\\13800000000"));
        merge->click();
        EXPECT_EQ(f.form->fieldText("zdskrDH"), QStringLiteral("020-1234"));
    }
}

TEST(ExpressSlipForm, ClosingAskesOnlyAboutChangedSlips)
{
    SlipFixture f;
    f.form->setFieldText("zdSKR", QStringLiteral("甲"));
    f.form->setFieldText("zdSKRLXR", QStringLiteral("乙"));
    f.click("btSaveCheck");
    const int id = f.form->billId();
    f.form->BrowseOldCheck({}, QString::number(id));
    const qsizetype before = f.home.ui.shown.size();
    f.frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.home.ui.shown.size(), before);
    EXPECT_FALSE(TfmCheckKDD::instance());
    EXPECT_EQ(f.frame.CurrentCheckTypeId, -1);

    f.frame.menuItem("m_new_kdd")->trigger();
    f.form = TfmCheckKDD::instance();
    f.form->BrowseOldCheck({}, QString::number(id));
    f.form->setFieldText("zdSKRLXR", QStringLiteral("丙"));
    f.home.ui.answer(Ui::Answer::Yes); // save it?
    f.home.ui.answer(Ui::Answer::Yes); // as a new slip?
    f.frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    QStringList texts = f.home.ui.texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("是否保存该快递单？")));
    EXPECT_EQ(f.slipRows(), 2);
}

TEST(ExpressSlipForm, ClosingAfterAFailedSaveKeepsTheSlipOpen)
{
    SlipFixture f;
    f.form->setFieldText("zdSKR", QStringLiteral("甲"));
    f.form->setFieldText("zdSKRLXR", QStringLiteral("乙"));
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("drop table DataKDDTable"));
    f.home.ui.answer(Ui::Answer::Yes); // save it?
    f.frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    ASSERT_EQ(TfmCheckKDD::instance(), f.form);
    EXPECT_EQ(f.frame.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(f.form->fieldText("zdSKRLXR"), QStringLiteral("乙"));
    EXPECT_FALSE(f.form->isSaved());

    // The program's close asks the same and stays open as well.
    f.home.ui.answer(Ui::Answer::Yes);
    EXPECT_FALSE(f.frame.close());
    EXPECT_EQ(TfmCheckKDD::instance(), f.form);
}

TEST(ExpressSlipForm, PrintAndSaveKeepsTheSlipNumberWhenTheSaveFails)
{
    SlipFixture f;
    f.home.services().printEngine().setDevice(QtPrintDevice::pdfFile(f.home.path() + "p.pdf"));
    f.form->setFieldText("zdSKR", QStringLiteral("收件单位"));
    f.form->setFieldText("zdPJBH", QStringLiteral("SF1234567"));
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("drop table DataKDDTable"));
    f.click("btPrintAndSave");
    EXPECT_EQ(f.form->fieldText("zdPJBH"), QStringLiteral("SF1234567"));
    EXPECT_EQ(f.home.ui.last().icon, Ui::Icon::Critical);
    EXPECT_FALSE(f.form->isSaved());
}

TEST(ExpressSlipForm, FloatingListPicksLandInTheirOwnFieldAtOnce)
{
    SlipFixture f;
    auto pick = [&](const char *fieldName, const char *listName) {
        f.form->field(fieldName)->setFocus();
        auto *list = f.form->findChild<QComboBox *>(listName);
        EXPECT_TRUE(list->isVisible()) << listName;
        EXPECT_GT(list->count(), 0) << listName;
        list->setCurrentIndex(list->count() - 1);
        Q_EMIT list->activated(list->count() - 1);
        return list->currentText();
    };
    const QString province = pick("zdSKRS", "Cb_S");
    const QString city = pick("zdSKRXS", "Cb_XS");
    f.click("btSaveCheck"); // at once, before the focus ever leaves the city list
    QCoreApplication::processEvents();
    QSqlQuery q = f.home.db().query();
    q.exec("select 收件省, 收件市县 from DataKDDTable");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), province);
    EXPECT_EQ(q.value(1).toString(), city);
    EXPECT_EQ(f.form->fieldText("zdSKRS"), province);
    EXPECT_EQ(f.form->fieldText("zdSKRXS"), city);
}

TEST(ExpressSlipForm, BadAmountsKeepTheTypedTextWithAMessage)
{
    SlipFixture f;
    auto *format = f.form->findChild<QComboBox *>("cfgJEDXFormat");
    format->setCurrentIndex(format->findText(QStringLiteral("00000.00  限万位到分")));
    for (const char *typed : {"12..5", "1.5.", "123456"}) {
        const qsizetype before = f.home.ui.shown.size();
        f.type("zdJEDX1", typed);
        EXPECT_EQ(f.form->fieldText("zdJEDX1"), QString::fromLatin1(typed));
        EXPECT_EQ(f.home.ui.shown.size(), before + 1) << typed;
    }

    // Nor does a save store it.
    f.type("zdJEDX1", "12..5");
    f.click("btSaveCheck");
    EXPECT_EQ(f.slipRows(), 0);

    // A save straight from the field converts first.
    f.form->field("zdJEDX1")->setFocus();
    f.form->setFieldText("zdJEDX1", "88");
    f.click("btSaveCheck");
    QSqlQuery q = f.home.db().query();
    q.exec("select 金额大写1 from DataKDDTable");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("零零零捌捌零零"));

    // A new format converts the number that was typed, not the text it was converted to.
    f.type("zdJEDX1", "1234.5");
    EXPECT_EQ(f.form->fieldText("zdJEDX1"), QStringLiteral("零壹贰叁肆伍零"));
    const qsizetype before = f.home.ui.shown.size();
    const int capital = format->findText(QStringLiteral("打印中国传统大写金额"));
    format->setCurrentIndex(capital);
    Q_EMIT format->activated(capital);
    EXPECT_EQ(f.form->fieldText("zdJEDX1"), QStringLiteral("壹仟贰佰叁拾肆元伍角整"));
    EXPECT_EQ(f.home.ui.shown.size(), before);
}

TEST(ExpressSlipForm, CancellingTheAddressBookFromARedFrameKeepsTheBlock)
{
    SlipFixture f;
    f.home.services().parties().setAddressBook(
        [](const QString &, const QString &) { return std::optional<TPerson>(); });
    f.form->setFieldText("zdSKR", QStringLiteral("手填单位"));
    f.form->setFieldText("zdSkrDZ", QStringLiteral("手填地址"));
    f.form->setFieldText("zdHKRLXR", QStringLiteral("寄件人"));
    Q_EMIT f.form->findChild<PartyFrame *>("shpskr")->picked();
    Q_EMIT f.form->findChild<PartyFrame *>("shpHKR")->picked();
    EXPECT_EQ(f.form->fieldText("zdSKR"), QStringLiteral("手填单位"));
    EXPECT_EQ(f.form->fieldText("zdSkrDZ"), QStringLiteral("手填地址"));
    EXPECT_EQ(f.form->fieldText("zdHKRLXR"), QStringLiteral("寄件人"));
}

TEST(ExpressSlipForm, ReopeningASlipLeavesNothingOfThePreviousOne)
{
    SlipFixture f;
    const QStringList fields{"cbDestSite", "cbFromSite", "edtCountryFrom", "edtCountryDest",
                             "zdBaoZFee",  "zdTiJi",     "zdSFKHBM"};
    f.form->setFieldText("zdSKR", QStringLiteral("甲"));
    for (const QString &name : fields)
        f.form->setFieldText(name, QString());
    f.click("btSaveCheck");
    const int empty = f.form->billId();
    f.click("btNewCheck");
    for (const QString &name : fields)
        f.form->setFieldText(name, u"值" + name);
    f.click("btSaveCheck");
    const int full = f.form->billId();

    f.form->BrowseOldCheck({}, QString::number(empty));
    for (const QString &name : fields)
        EXPECT_TRUE(f.form->fieldText(name).isEmpty()) << name.toStdString();
    f.form->BrowseOldCheck({}, QString::number(full));
    for (const QString &name : fields) {
        if (name != u"zdSFKHBM") { // not stored
            EXPECT_EQ(f.form->fieldText(name), u"值" + name) << name.toStdString();
        }
    }
}

TEST(ExpressSlipForm, RememberOptionsIsAllOrNothingAndReportsAFailure)
{
    SlipFixture f;
    QSqlQuery q = f.home.db().query();
    // The first option is a new row, the second an update that the database refuses.
    const RefusingTrigger refuse{"refuse", "UPDATE", "DMTable", "NEW.DMName = 'cfgWantPrintRQ'"};
    ASSERT_TRUE(refuse.install(f.home.db()));
    f.click("btRmember");
    EXPECT_NE(f.lastMessage(), QStringLiteral("打印勾选及选项已记住！"));
    q.exec("select count(*) from DMTable where DMName = 'cfgDestSiteIsCity'");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);

    ASSERT_TRUE(refuse.remove(f.home.db()));
    ASSERT_TRUE(q.exec("drop table NameDict")); // the layout cache cannot be rebuilt
    f.click("btRmember");
    EXPECT_NE(f.lastMessage(), QStringLiteral("打印勾选及选项已记住！"));
    EXPECT_EQ(f.home.ui.last().icon, Ui::Icon::Critical);
}

TEST(ExpressSlipForm, TemplateChangesElsewhereShowAtOnce)
{
    SlipFixture f;
    ASSERT_TRUE(f.form);
    const int first = f.form->currentTemplate();
    auto *templates = f.form->findChild<QComboBox *>("cbFirstTypeName");
    ASSERT_EQ(templates->count(), 2);

    // Design mode moved a box of the template in use: the form lays itself out again.
    QSqlQuery q = f.home.db().query();
    q.prepare("update CKControl set SrcX = SrcX + 37 "
              "where CheckTypeID = ? and upper(CtlName) = 'ZDSKR'");
    q.addBindValue(first);
    ASSERT_TRUE(q.exec());
    ASSERT_EQ(q.numRowsAffected(), 1);
    const int before = f.form->field("zdSKR")->x();
    ASSERT_TRUE(f.home.services().catalogue().buildCheckIniFile(first));
    f.home.services().catalogue().notifyLayoutChanged(first);
    EXPECT_EQ(f.form->field("zdSKR")->x(), before + 37);

    // The management window hid the template in use: the list loses it and the other takes over.
    q.prepare("update ckTypeTable set Visiable = '停用' where CheckTypeID = ?");
    q.addBindValue(first);
    ASSERT_TRUE(q.exec());
    f.home.services().catalogue().notifyTemplatesChanged();
    EXPECT_EQ(templates->count(), 1);
    EXPECT_NE(f.form->currentTemplate(), first);
    EXPECT_EQ(f.frame.CurrentCheckTypeId, f.form->currentTemplate());
}

TEST(ExpressSlipForm, CarriesThirteenOptionBoxesFromTheStart)
{
    SlipFixture f;
    for (int i = 0; i < 13; ++i)
        EXPECT_TRUE(f.form->findChild<QCheckBox *>(QStringLiteral("defCheck%1").arg(i))) << i;
    EXPECT_FALSE(f.form->findChild<QCheckBox *>("defCheck13"));
}

namespace {

// The shipped picture with the size in its frame header changed: readers learn the size from
// the header before they decode a pixel.
QByteArray jpegClaiming(const QString &real, int width, int height)
{
    QFile file(real);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0)
        return {};
    bytes[frame + 5] = char(height >> 8);
    bytes[frame + 6] = char(height & 0xFF);
    bytes[frame + 7] = char(width >> 8);
    bytes[frame + 8] = char(width & 0xFF);
    return bytes;
}

} // namespace

// A picture that cannot be shown leaves the fields where the template puts them and says why
// on the form, instead of a blank panel.
TEST(ExpressSlipForm, UnreadableOrHugePictureIsExplainedOnTheForm)
{
    TestHome home;
    const QString picture = home.services().home().imageDir() + "kdd_feiyan.jpg";
    const QByteArray huge = jpegClaiming(":/images/kdd_feiyan.jpg", 20000, 20000);
    ASSERT_FALSE(huge.isEmpty());
    const struct
    {
        QByteArray bytes; // empty: no file at all
        const char *reason;
    } cases[] = {
        {"", "文件不存在"},
        {"this is no picture", "不是可识别的图片格式"},
        {huge, "图片过大（20000×20000 像素，每边最多 10000 像素）"},
    };
    for (const auto &c : cases) {
        QFile::remove(picture);
        if (!c.bytes.isEmpty()) {
            QFile file(picture);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        Tfm_Main frame(home.services());
        frame.show();
        frame.menuItem("m_new_kdd")->trigger();
        TfmCheckKDD *form = TfmCheckKDD::instance();
        ASSERT_TRUE(form) << c.reason;
        auto *background = form->findChild<QLabel *>("bgImage");
        ASSERT_TRUE(background);
        EXPECT_TRUE(background->pixmap().isNull()) << c.reason;
        EXPECT_TRUE(background->isVisible());
        EXPECT_TRUE(background->text().startsWith(u"图片文件“kdd_feiyan.jpg”无法显示：" +
                                                  QString::fromUtf8(c.reason)))
            << background->text().toStdString();
        EXPECT_TRUE(form->field("zdSKR")->isVisible()) << c.reason;
        form->close();
    }
}

// "仅打印发件人" leaves the receiver off the paper and "仅打印收件方" the sender; each box
// hides only its own side.
TEST(ExpressSlipForm, PrintOnlyOneSideLeavesTheOtherOffThePaper)
{
    const QString receiver = QStringLiteral("收方公司");
    const QString sender = QStringLiteral("寄方公司");
    const struct
    {
        const char *box;
        QString printed;
        QString left;
    } cases[] = {{"ckPrintFJROnly", sender, receiver}, {"ckPrintSJROnly", receiver, sender}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.box);
        SlipFixture f;
        f.form->setFieldText("zdSKR", receiver);
        f.form->setFieldText("zdHKR", sender);
        auto *box = f.form->findChild<QCheckBox *>(c.box);
        ASSERT_TRUE(box);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        ASSERT_TRUE(box->isChecked());

        const QString pdf = f.home.path() + "side.pdf";
        f.home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
        f.click("btPrint1");
        const std::vector<PdfPage> pages = readPdfWords(pdf);
        ASSERT_EQ(pages.size(), 1u);
        const QStringList words = wordsOf(pages[0]);
        EXPECT_TRUE(words.contains(c.printed)) << words.join(' ').toStdString();
        EXPECT_FALSE(words.contains(c.left)) << words.join(' ').toStdString();
    }
}
