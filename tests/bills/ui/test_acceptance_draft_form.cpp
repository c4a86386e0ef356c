#include "../../print/PdfWords.h"
#include "TestHome.h"
#include "app/ui/PictureMdiArea.h"
#include "app/ui/Tfm_Main.h"
#include "bills/DraftFields.h"
#include "bills/ui/PartyFrame.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "data/Parties.h"
#include "parties/Dictionaries.h"
#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"
#include "templates/Catalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

TPerson party(const char *name, const char *bank, const char *account, const QString &unitType)
{
    TPerson p;
    p.FullName = QString::fromUtf8(name);
    p.Bank = QString::fromUtf8(bank);
    p.BankAcct = QString::fromUtf8(account);
    p.AcountType = unitType;
    return p;
}

// The main frame as the program starts it: the draft form is its first child window.
struct DraftFixture
{
    TestHome home;
    std::unique_ptr<Tfm_Main> frame;
    TfmCheckCDHP *form = nullptr;

    DraftFixture() { start(); }

    void start()
    {
        frame = std::make_unique<Tfm_Main>(home.services());
        frame->show();
        QApplication::setActiveWindow(frame.get());
        frame->openAcceptanceDraft();
        form = TfmCheckCDHP::instance();
    }
    void click(const char *button) { form->findChild<QToolButton *>(button)->click(); }
    QString lastMessage() const
    {
        return home.ui.shown.isEmpty() ? QString() : home.ui.last().text;
    }
    QString cells() const
    {
        QStringList texts;
        for (const QString &cell : DraftFields::amountCells())
            texts << (form->fieldText(cell).isEmpty() ? QStringLiteral("_")
                                                      : form->fieldText(cell));
        return texts.join(QString());
    }
    // Types an amount as the clerk does: click the amount, type, Enter.
    void typeAmount(const QString &text)
    {
        form->field("zdJEDX")->setFocus();
        auto *entry = form->findChild<QLineEdit *>("inputJEXX");
        EXPECT_TRUE(entry->isVisible());
        entry->setText(text);
        QTest::keyClick(entry, Qt::Key_Return);
    }
    void typeDueDate(const QString &text)
    {
        auto *due = static_cast<QComboBox *>(form->field("zdTimeOutDate"));
        due->setEditText(text);
        QTest::keyClick(due->lineEdit(), Qt::Key_Return);
    }
    // Prints the draft on screen into a PDF and reads its words back.
    std::vector<PdfPage> print(const char *name)
    {
        const QString pdf = home.path() + QString::fromLatin1(name);
        home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
        click("btPrint1");
        return readPdfWords(pdf);
    }
    QString column(const char *name, int id)
    {
        QSqlQuery q = home.db().query();
        q.prepare(QStringLiteral("select %1 from DataCDHPTable where 流水号 = ?")
                      .arg(QString::fromUtf8(name)));
        q.addBindValue(id);
        return q.exec() && q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }
};

} // namespace

TEST(AcceptanceDraftForm, FillSaveReopenAndPrintEveryValueInItsBox)
{
    DraftFixture f;
    ASSERT_TRUE(f.form);
    EXPECT_EQ(f.frame->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(f.frame->CurrentCheckTypeId, f.form->currentTemplate());

    const TPerson drawer =
        party("岚砚科技有限公司", "工商银行科技园支行", "4000021009", TPerson::kOwnUnit);
    const TPerson payee =
        party("北京远景贸易有限公司", "建设银行中关村支行", "1100102860", TPerson::kCounterparty);
    f.home.services().parties().setAddressBook(
        [&](const QString &unitType, const QString &) -> std::optional<TPerson> {
            return unitType == TPerson::kOwnUnit ? drawer : payee;
        });
    Q_EMIT f.form->findChild<PartyFrame *>("shpHKR")->picked();
    Q_EMIT f.form->findChild<PartyFrame *>("shpskr")->picked();
    EXPECT_EQ(f.form->fieldText("zdOutComp"), drawer.FullName);
    EXPECT_EQ(f.form->fieldText("zdOutBankAcct"), drawer.BankAcct);
    EXPECT_EQ(f.form->fieldText("zdInComp"), payee.FullName);

    f.typeAmount("1234.5");
    EXPECT_EQ(f.form->fieldText("zdJEXX"), QStringLiteral("1234.50"));
    EXPECT_EQ(f.form->fieldText("zdJEDX"), QStringLiteral("人民币壹仟贰佰叁拾肆元伍角整"));
    EXPECT_EQ(f.cells(), QStringLiteral("____￥123450"));
    EXPECT_FALSE(f.form->findChild<QLineEdit *>("inputJEXX")->isVisible());

    f.form->findChild<QDateEdit *>("SelDate")->setDate(QDate(2009, 12, 15));
    EXPECT_EQ(f.form->fieldText("zdNian") + f.form->fieldText("zdYue") + f.form->fieldText("zdRi"),
              QStringLiteral("贰零零玖壹拾贰壹拾伍"));
    f.typeDueDate("+180");
    EXPECT_EQ(f.form->fieldText("zdTimeOutDate"), QStringLiteral("贰零壹零年零陆月壹拾叁日"));

    f.click("btSaveCheck");
    EXPECT_EQ(f.lastMessage(), QStringLiteral("新承兑汇票保存成功！ "));
    const int id = f.form->billId();
    ASSERT_GT(id, 0);
    EXPECT_EQ(f.column("金额", id), QStringLiteral("1234.50"));
    EXPECT_EQ(f.column("票据状态", id), QStringLiteral("已用"));
    EXPECT_EQ(f.column("出票日期", id).left(10), QStringLiteral("2009-12-15"));

    f.click("btNewCheck");
    EXPECT_TRUE(f.form->fieldText("zdInComp").isEmpty());
    f.form->BrowseOldCheck(id);
    EXPECT_TRUE(f.form->isHistory());
    EXPECT_EQ(f.form->fieldText("zdInComp"), payee.FullName);
    EXPECT_EQ(f.form->fieldText("zdJEDX"), QStringLiteral("人民币壹仟贰佰叁拾肆元伍角整"));
    EXPECT_EQ(f.cells(), QStringLiteral("____￥123450"));
    EXPECT_EQ(f.form->fieldText("zdTimeOutDate"), QStringLiteral("贰零壹零年零陆月壹拾叁日"));

    const std::vector<PdfPage> pages = f.print("draft.pdf");
    ASSERT_EQ(pages.size(), 1u);
    const Catalogue &catalogue = f.home.services().catalogue();
    const auto draft = catalogue.loadTemplate(f.form->currentTemplate());
    ASSERT_TRUE(draft);
    // Each value lies inside the box its item covers on the form's picture, in millimetres
    // of the paper.
    const double mmPerPixel = draft->pWidth / 10.0 / draft->tWidth;
    auto boxOf = [&](const char *control) {
        const auto item = catalogue.loadTemplateItem(f.form->currentTemplate(), control);
        EXPECT_TRUE(item) << control;
        return item ? QRectF(item->srcX * mmPerPixel, item->srcY * mmPerPixel,
                             item->srcW * mmPerPixel, item->srcH * mmPerPixel)
                          .adjusted(-0.5, -0.5, 0.5, 0.5)
                    : QRectF();
    };
    auto wordOf = [&](const QString &text) -> std::optional<PdfWord> {
        for (const PdfWord &w : pages[0].words)
            if (w.text == text)
                return w;
        ADD_FAILURE() << "not printed: " << text.toStdString();
        return std::nullopt;
    };
    auto inBox = [&](const char *control, const QString &text) {
        const QRectF box = boxOf(control);
        if (const auto w = wordOf(text)) {
            EXPECT_TRUE(box.contains(QRectF(w->x, w->y, w->width, w->height)))
                << control << " box " << box.x() << "," << box.y() << " " << box.width() << "x"
                << box.height() << " word " << w->x << "," << w->y << " " << w->width << "x"
                << w->height;
        }
    };
    inBox("ZDOUTCOMP", drawer.FullName);
    inBox("ZDINCOMP", payee.FullName);
    inBox("ZDJEDX", QStringLiteral("人民币壹仟贰佰叁拾肆元伍角整"));
    inBox("ZDTIMEOUTDATE", QStringLiteral("贰零壹零年零陆月壹拾叁日"));
    inBox("ZDNIAN", QStringLiteral("贰零零玖"));
    inBox("ZDYUE", QStringLiteral("壹拾贰"));
    inBox("ZDRI", QStringLiteral("壹拾伍"));
    // One digit per amount cell. The money code sits close enough to the first digit for
    // pdftotext to read the two as one word: it starts in the code's cell and ends in the next.
    if (const auto w = wordOf(QStringLiteral("￥1"))) {
        const double middle = w->y + w->height / 2;
        EXPECT_TRUE(boxOf("ZDWY").contains(QPointF(w->x, middle))) << w->x;
        EXPECT_TRUE(boxOf("ZDQY").contains(QPointF(w->x + w->width, middle))) << w->x + w->width;
        EXPECT_FALSE(boxOf("ZDQY").contains(QPointF(w->x, middle)));
    }
    for (const auto &[cell, digit] :
         {std::pair{"ZDBY", "2"}, std::pair{"ZDSY", "3"}, std::pair{"ZDY", "4"},
          std::pair{"ZDJ", "5"}, std::pair{"ZDF", "0"}})
        inBox(cell, QString::fromLatin1(digit));
}

TEST(AcceptanceDraftForm, AmountsCurrencyAndTheirMessages)
{
    DraftFixture f;
    const struct
    {
        const char *typed;
        const char *amount, *capital, *cells;
    } cases[] = {
        {"１２３。４", "123.40", "人民币壹佰贰拾叁元肆角整", "_____￥12340"},
        {"999999999.99", "999999999.99", "人民币玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分",
         "99999999999"},
        {"0.08", "0.08", "人民币捌分", "________￥08"},
    };
    for (const auto &c : cases) {
        const qsizetype before = f.home.ui.shown.size();
        f.typeAmount(QString::fromUtf8(c.typed));
        EXPECT_EQ(f.form->fieldText("zdJEXX"), QString::fromUtf8(c.amount)) << c.typed;
        EXPECT_EQ(f.form->fieldText("zdJEDX"), QString::fromUtf8(c.capital)) << c.typed;
        EXPECT_EQ(f.cells(), QString::fromUtf8(c.cells)) << c.typed;
        EXPECT_EQ(f.home.ui.shown.size(), before) << c.typed;
    }

    // Refused amounts: a message, the typed text kept in the entry, nothing left to print.
    for (const auto &[typed, message] :
         {std::pair{"1000000000", "金额值必须介于0~1,000,000,000之间！"},
          std::pair{"12.3.4", "金额只能为数值，例如：123.50  ！"}}) {
        f.typeAmount(QString::fromUtf8(typed));
        EXPECT_EQ(f.lastMessage(), QString::fromUtf8(message));
        auto *entry = f.form->findChild<QLineEdit *>("inputJEXX");
        EXPECT_TRUE(entry->isVisible());
        EXPECT_EQ(entry->text(), QString::fromUtf8(typed));
        EXPECT_TRUE(f.form->fieldText("zdJEDX").isEmpty());
        EXPECT_EQ(f.cells(), QStringLiteral("___________"));
        // Saving now would store a blank amount: it stops at the same message.
        f.click("btSaveCheck");
        EXPECT_EQ(f.form->billId(), -1);
    }

    // Another currency, without 人民币 in front of the capital amount.
    f.form->findChild<QCheckBox *>("cfgJEDXRMBChecked")->click();
    auto *money = f.form->findChild<QComboBox *>("cfgMoneyType");
    const int dollar = money->findText(QStringLiteral("美元"));
    ASSERT_GE(dollar, 0);
    money->setCurrentIndex(dollar);
    Q_EMIT money->activated(dollar);
    f.typeAmount("100");
    EXPECT_EQ(f.form->fieldText("zdJEDX"), QStringLiteral("美元壹佰元整"));
    const QString code = f.home.services().dictionaries().getMoneyCodeByName("美元");
    EXPECT_EQ(f.form->getMoneyCode(), code);
    EXPECT_EQ(f.cells(), "_____" + code + "10000");
}

TEST(AcceptanceDraftForm, DueDatesInEveryFormat)
{
    DraftFixture f;
    f.form->findChild<QDateEdit *>("SelDate")->setDate(QDate(2009, 12, 15));
    for (const char *typed : {"2010/06/13", "2010-6-13", "2010.6.13", "+180"}) {
        f.typeDueDate(QString::fromLatin1(typed));
        EXPECT_EQ(f.form->fieldText("zdTimeOutDate"), QStringLiteral("贰零壹零年零陆月壹拾叁日"))
            << typed;
    }
    f.typeDueDate("2010-13-40");
    EXPECT_TRUE(f.lastMessage().startsWith(QStringLiteral("请输入正确的日期格式")));
    EXPECT_EQ(f.form->fieldText("zdTimeOutDate"), QStringLiteral("2010-13-40"));
}

TEST(AcceptanceDraftForm, UnusedDraftsReopenEditableAndNoPayeeStoresNothing)
{
    DraftFixture f;
    f.typeAmount("88");
    f.click("btSaveCheck");
    const int id = f.form->billId();
    ASSERT_GT(id, 0);
    EXPECT_EQ(f.column("收款人全称", id), QString());

    QSqlQuery q = f.home.db().query();
    q.prepare(QStringLiteral("update DataCDHPTable set 票据状态 = '未用' where 流水号 = ?"));
    q.addBindValue(id);
    ASSERT_TRUE(q.exec());
    f.click("btNewCheck");
    f.form->BrowseOldCheck(QString(), QString::number(id));
    EXPECT_FALSE(f.form->isHistory());
    EXPECT_FALSE(f.form->isSaved());
    EXPECT_EQ(f.form->windowTitle(), u"承兑汇票（流水号为：" + QString::number(id) + u')');
    f.form->setFieldText("zdRemark", QStringLiteral("货款"));
    f.click("btSaveCheck");
    EXPECT_TRUE(f.lastMessage().startsWith(QStringLiteral("承兑汇票修改保存成功")));
    EXPECT_EQ(f.form->billId(), id);
    EXPECT_EQ(f.column("票据状态", id), QStringLiteral("已用"));
    EXPECT_EQ(f.column("备注", id), QStringLiteral("货款"));
    EXPECT_EQ(f.home.db().CountTableAllRows("DataCDHPTable", f.home.ui), 1);

    // Used now: it reopens as history, which the button does not save.
    f.form->BrowseOldCheck(id);
    EXPECT_TRUE(f.form->isHistory());
    f.click("btSaveCheck");
    EXPECT_EQ(f.lastMessage(), QStringLiteral("历史单据不能保存，请点击[克隆]后,再保存为新单据！"));
}

TEST(AcceptanceDraftForm, AFailedSaveOrCloseNeverLosesTheDraft)
{
    DraftFixture f;
    f.typeAmount("500");
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec("drop table DataCDHPTable"));
    f.click("btSaveCheck");
    EXPECT_EQ(f.home.ui.last().icon, Ui::Icon::Critical);
    EXPECT_FALSE(f.form->isSaved());

    f.home.ui.answer(Ui::Answer::Yes); // save it?
    f.frame->mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.home.ui.texts().contains(QStringLiteral("是否保存该承兑汇票？")));
    ASSERT_EQ(TfmCheckCDHP::instance(), f.form);
    EXPECT_EQ(f.form->fieldText("zdJEXX"), QStringLiteral("500.00"));
}

TEST(AcceptanceDraftForm, StartUpFillsTheDefaultDrawerAndTheMenuOpensTheDraft)
{
    DraftFixture f;
    Parties &parties = f.home.services().parties();
    TPerson drawer = party("默认出票单位", "默认银行", "62220001", TPerson::kOwnUnit);
    ASSERT_TRUE(parties.Save(drawer).isEmpty());
    const auto stored = parties.FindByFullName(drawer.FullName);
    ASSERT_TRUE(stored);
    ASSERT_TRUE(parties.setDefaultDrawer(stored->ID).isEmpty());
    f.home.settings().setConfigByname(QStringLiteral("启用默认出票人"), QStringLiteral("1"));

    f.frame.reset(); // a restart of the program
    f.home.restart();
    f.start();
    ASSERT_TRUE(f.form);
    EXPECT_EQ(f.form->fieldText("zdOutComp"), drawer.FullName);
    EXPECT_EQ(f.form->fieldText("zdOutBankAcct"), drawer.BankAcct);

    // Only one bill window at a time; the menu opens the draft again once it is closed.
    f.frame->menuItem("m_new_kdd")->trigger();
    EXPECT_EQ(f.lastMessage(), QStringLiteral("请先关闭打开的单据！"));
    f.frame->mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    EXPECT_FALSE(TfmCheckCDHP::instance());
    f.frame->menuItem("nCDHP")->trigger();
    EXPECT_TRUE(TfmCheckCDHP::instance());
}

TEST(AcceptanceDraftForm, NoPrintOptionsHideWhatMustNotPrint)
{
    DraftFixture f;
    f.typeAmount("1234.5");
    f.form->findChild<QCheckBox *>("cfgNoPrtSheep")->click();
    EXPECT_EQ(f.cells(), QStringLiteral("_____123450"));
    for (const char *option : {"cfgNoPrtJEDX", "cfgNoPrtDate", "cfgNoPrtOutter"})
        f.form->findChild<QCheckBox *>(option)->click();
    f.form->setFieldText("zdOutComp", QStringLiteral("出票单位"));
    const std::vector<PdfPage> pages = f.print("options.pdf");
    ASSERT_EQ(pages.size(), 1u);
    const QString printed = pageText(pages[0]);
    for (const QString &hidden :
         {f.form->fieldText("zdJEDX"), f.form->fieldText("zdNian"), QStringLiteral("出票单位")})
        EXPECT_FALSE(printed.contains(hidden)) << hidden.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("4"))) << printed.toStdString();

    f.form->findChild<QCheckBox *>("cfgNoPrtJEDX")->click();
    EXPECT_TRUE(f.form->field("zdJEDX")->isVisibleTo(f.form));
}

TEST(AcceptanceDraftForm, RememberedOptionsComeBackWithTheTemplate)
{
    DraftFixture f;
    auto *money = f.form->findChild<QComboBox *>("cfgMoneyType");
    const int dollar = money->findText(QStringLiteral("美元"));
    ASSERT_GE(dollar, 0);
    money->setCurrentIndex(dollar);
    Q_EMIT money->activated(dollar);
    f.form->findChild<QCheckBox *>("cfgDateChinese")->click();
    f.click("btRmember");
    EXPECT_EQ(f.lastMessage(), QStringLiteral("打印勾选及选项已记住！"));

    f.frame->mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    f.frame->openAcceptanceDraft();
    f.form = TfmCheckCDHP::instance();
    ASSERT_TRUE(f.form);
    EXPECT_EQ(f.form->findChild<QComboBox *>("cfgMoneyType")->currentText(),
              QStringLiteral("美元"));
    EXPECT_FALSE(f.form->findChild<QCheckBox *>("cfgDateChinese")->isChecked());
    EXPECT_TRUE(f.form->findChild<QCheckBox *>("cfgJEDXRMBChecked")->isChecked());
    f.form->findChild<QDateEdit *>("SelDate")->setDate(QDate(2009, 12, 15));
    EXPECT_EQ(f.form->fieldText("zdYue"), QStringLiteral("12"));
}

TEST(AcceptanceDraftForm, PayeePromptIsOnlyShownNeverPrintedAndTheDraftStillAsksOnClose)
{
    DraftFixture f;
    auto *payee = static_cast<QComboBox *>(f.form->field("zdInComp"));
    EXPECT_TRUE(payee->currentText().isEmpty());
    EXPECT_EQ(payee->lineEdit()->placeholderText(), DraftFields::kPayeePrompt);
    f.typeAmount("1234.5");
    const std::vector<PdfPage> pages = f.print("prompt.pdf");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_FALSE(pageText(pages[0]).contains(QStringLiteral("单击我")));

    // An amount without a payee is still work the clerk would lose.
    f.frame->mdiArea()->closeAllSubWindows();
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.home.ui.texts().contains(QStringLiteral("是否保存该承兑汇票？")));
}

TEST(AcceptanceDraftForm, AltKeysRunTheFormsButtonsNotTheFramesMenus)
{
    DraftFixture f;
    f.typeAmount("500");
    QWidget *remark = f.form->field("zdRemark");
    remark->setFocus();
    ASSERT_TRUE(f.form->isAncestorOf(QApplication::focusWidget()));
    // A key the frame took instead would open one of its windows; close it and say so.
    QStringList stray;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            stray << modal->metaObject()->className();
            modal->close();
        }
    });
    guard.start(50);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier); // 保存(&S)
    EXPECT_EQ(f.lastMessage(), QStringLiteral("新承兑汇票保存成功！ "));
    const int saved = f.form->billId();
    EXPECT_GT(saved, 0);

    const QString pdf = f.home.path() + QStringLiteral("alt-p.pdf");
    f.home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier); // 单张打印(&P)
    EXPECT_EQ(readPdfWords(pdf).size(), 1u);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier); // 复制(&C)
    EXPECT_EQ(f.form->billId(), -1);
    EXPECT_EQ(TfmCheckCDHP::instance(), f.form); // Alt+C copies; it does not close too
    EXPECT_TRUE(f.form->isVisible());
    EXPECT_EQ(f.home.db().CountTableAllRows("DataCDHPTable", f.home.ui), 1);
    EXPECT_TRUE(stray.isEmpty()) << stray.join(u' ').toStdString();
}

TEST(AcceptanceDraftForm, DoubleClickSelectsTheWholePayeeAndDueDate)
{
    DraftFixture f;
    for (const char *name : {"zdInComp", "zdTimeOutDate"}) {
        auto *box = static_cast<QComboBox *>(f.form->field(name));
        ASSERT_TRUE(box->isVisible()) << name;
        box->setEditText(QStringLiteral("北京远景 贸易-有限公司"));
        QLineEdit *edit = box->lineEdit();
        QTest::mouseDClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
        EXPECT_EQ(edit->selectedText(), QStringLiteral("北京远景 贸易-有限公司")) << name;
    }
}

TEST(AcceptanceDraftForm, ToolBarShowsEveryButtonWithTheDraftsOwnHints)
{
    DraftFixture f;
    auto *bar = f.form->findChild<QToolBar *>("toolBarCheck");
    ASSERT_TRUE(bar);
    QApplication::processEvents();
    auto *more = bar->findChild<QToolButton *>("qt_toolbar_ext_button");
    EXPECT_TRUE(!more || !more->isVisible());
    const char *buttons[] = {"btUpOrDown",  "btMoveXY",       "btDesign",      "btSaveSKRen",
                             "btOpenCheck", "btNewCheck",     "btSaveAs",      "btSaveCheck",
                             "btPrint1",    "btPrintAndSave", "btMultiPrintS", "btMultiPrintF",
                             "btClose"};
    for (const char *name : buttons) {
        auto *b = bar->findChild<QToolButton *>(name);
        ASSERT_TRUE(b) << name;
        EXPECT_TRUE(b->isVisible()) << name;
        EXPECT_LE(b->geometry().right(), bar->width()) << name;
        // Nothing of the express slip's senders and receivers on a draft.
        for (const char *word : {"快递", "发件人", "收件人"})
            EXPECT_FALSE(b->toolTip().contains(QString::fromUtf8(word)))
                << name << " " << b->toolTip().toStdString();
    }
    EXPECT_LE(f.form->width(), 1024);
}

TEST(AcceptanceDraftForm, CarriesSixOptionBoxesFromTheStart)
{
    DraftFixture f;
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(f.form->findChild<QCheckBox *>(QStringLiteral("defCheck%1").arg(i))) << i;
    EXPECT_FALSE(f.form->findChild<QCheckBox *>("defCheck6"));
}

TEST(AcceptanceDraftForm, PartyFramesRingTheirOwnFieldsOnly)
{
    DraftFixture f;
    int asked = 0;
    f.home.services().parties().setAddressBook(
        [&](const QString &, const QString &) -> std::optional<TPerson> {
            ++asked;
            return std::nullopt;
        });
    QWidget *panel = f.form->findChild<QWidget *>("panelImgBg");
    ASSERT_TRUE(panel);
    const struct
    {
        const char *frame;
        const char *name; // the block's name field, always inside
        QStringList own;
    } frames[] = {
        {"shpHKR",
         "zdOutComp",
         {"zdOutComp", "zdOutBank", "zdOutBankAcct", "zdOutBankAddr", "zdOutBankNO"}},
        {"shpskr", "zdInComp", {"zdInComp", "zdInBank", "zdInBankAcct"}},
    };
    for (const auto &fr : frames) {
        auto *frame = f.form->findChild<PartyFrame *>(fr.frame);
        ASSERT_TRUE(frame && frame->isVisible()) << fr.frame;
        EXPECT_TRUE(frame->geometry().contains(f.form->field(fr.name)->geometry())) << fr.frame;
        for (QWidget *w : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (w == frame || w->objectName() == "bgImage" || !w->isVisible() ||
                qobject_cast<PartyFrame *>(w) || fr.own.contains(w->objectName()))
                continue;
            EXPECT_FALSE(frame->geometry().intersects(w->geometry()))
                << fr.frame << " covers " << w->objectName().toStdString();
        }
    }
    // The picture's "人民币(大写)" left of the capital amount is picture, not a party frame.
    const QRect capital = f.form->field("zdJEDX")->geometry();
    const QPoint onLabel(capital.left() - 15, capital.center().y());
    QWidget *hit = panel->childAt(onLabel);
    ASSERT_TRUE(hit);
    EXPECT_FALSE(qobject_cast<PartyFrame *>(hit)) << hit->objectName().toStdString();
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(panel, onLabel));
    EXPECT_EQ(asked, 0);
}

TEST(AcceptanceDraftForm, TabFollowsThePaperAndTheLayoutWhenItChanges)
{
    DraftFixture f;
    // The field the focus is in, from the widget inside it that has it.
    auto focused = [&]() -> QString {
        for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget())
            if (f.form->field(w->objectName()) == w)
                return w->objectName();
        return {};
    };
    auto tabsFrom = [&](const char *start, int presses) {
        f.form->field(start)->setFocus();
        QStringList visited;
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focused();
        }
        return visited;
    };
    // The template's rows: 出票人全称 and 收款人全称 side by side, then both accounts.
    EXPECT_EQ(tabsFrom("zdOutComp", 3), QStringList({"zdInComp", "zdOutBankAcct", "zdInBankAcct"}));

    // The payee's name moved down below the banks: Tab goes along with it.
    const int id = f.form->currentTemplate();
    QSqlQuery q = f.home.db().query();
    ASSERT_TRUE(q.exec(
        QStringLiteral(
            "update CKControl set SrcY = 160 where CheckTypeID = %1 and CtlName = 'ZDINCOMP'")
            .arg(id)));
    Catalogue &catalogue = f.home.services().catalogue();
    ASSERT_TRUE(catalogue.buildCheckIniFile(id));
    catalogue.notifyLayoutChanged(id);
    EXPECT_EQ(tabsFrom("zdOutComp", 2), QStringList({"zdOutBankAcct", "zdInBankAcct"}));
}
