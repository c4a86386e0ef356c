#include "../../print/PdfWords.h"
#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "base/FontMap.h"
#include "base/IniFile.h"
#include "bills/ui/TfmCheckKDD.h"
#include "print/QtPrintDevice.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutScene.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/TfmCheckDesign.h"
#include "templates/ui/TfmTemplateDesigner.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

constexpr int kExpressSlip = 1; // picture 805 x 445
const QString kSender = QStringLiteral("ZDHKR");

void mouse(QWidget *w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, local, w->mapToGlobal(local),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
    QApplication::sendEvent(w, &e);
}

// Where a point inside a box is on the design window's view.
QPoint onView(TfmCheckDesign &design, LayoutItem *box, QPoint inside)
{
    return design.canvas()->mapFromScene(box->scenePos() + inside);
}

// Drags a box by `delta`, aiming from the box's grip as the pointer would.
void drag(TfmCheckDesign &design, LayoutItem *box, QPoint delta)
{
    QWidget *view = design.canvas()->viewport();
    const QPoint grip = onView(design, box, QPoint(4, 4));
    mouse(view, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    mouse(view, QEvent::MouseMove, grip + delta / 2, Qt::LeftButton);
    mouse(view, QEvent::MouseMove, grip + delta, Qt::LeftButton);
    mouse(view, QEvent::MouseButtonRelease, grip + delta, Qt::NoButton);
}

// Where the picture's corner is on the screen.
QPoint pictureOnScreen(TfmCheckDesign &design)
{
    LayoutView *view = design.canvas();
    return view->viewport()->mapToGlobal(view->mapFromScene(QPointF(0, 0)));
}

void key(QWidget *w, int k, Qt::KeyboardModifiers mods)
{
    QKeyEvent press(QEvent::KeyPress, k, mods);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, mods);
    QApplication::sendEvent(w, &release);
}

void shot(QWidget &w, const QString &name)
{
    const QString dir = qEnvironmentVariable("LANYAN_SHOTS");
    if (!dir.isEmpty())
        w.grab().save(dir + u'/' + name + u".png");
}

struct Item
{
    int ctlX, ctlY, srcX, srcY, srcW, srcH, needShow;
};

Item item(TestHome &home, int id, const QString &name)
{
    QSqlQuery q = home.db().query();
    q.prepare("select CtlX, CtlY, SrcX, SrcY, SrcW, SrcH, NeedShow from CKControl where "
              "CheckTypeID = ? and CtlName = ?");
    q.addBindValue(id);
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return {-1, -1, -1, -1, -1, -1, -1};
    return {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
            q.value(4).toInt(), q.value(5).toInt(), q.value(6).toInt()};
}

} // namespace

class DesignMode : public ::testing::Test
{
protected:
    void open(int id)
    {
        design = std::make_unique<TfmCheckDesign>(home.services(), id);
        design->show();
        QApplication::setActiveWindow(design.get());
    }

    template<class W>
    W *child(const char *name)
    {
        auto *w = design->findChild<W *>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }

    TestHome home;
    std::unique_ptr<TfmCheckDesign> design;
};

TEST(DesignModeFromTheForm, BoxAndPrintPositionMoveAndTheFormAndThePaperFollow)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.show();
    frame.menuItem("m_new_kdd")->trigger();
    TfmCheckKDD *form = TfmCheckKDD::instance();
    ASSERT_TRUE(form);
    const Item before = item(home, kExpressSlip, kSender);

    bool designed = false;
    NextModal window([&](QWidget *modal) {
        auto *design = qobject_cast<TfmCheckDesign *>(modal);
        ASSERT_TRUE(design);
        LayoutItem *box = design->box(kSender);
        ASSERT_TRUE(box);
        drag(*design, box, QPoint(30, 12));
        design->findChild<QPushButton *>("btPrtRight")->click();
        designed = true;
        design->close();
    });
    form->findChild<QToolButton *>("btDesign")->click();
    ASSERT_TRUE(designed);

    // The box moved on screen only, the arrow moved the print only.
    const Item after = item(home, kExpressSlip, kSender);
    EXPECT_EQ(after.srcX, before.srcX + 30);
    EXPECT_EQ(after.srcY, before.srcY + 12);
    EXPECT_EQ(after.ctlX, before.ctlX + 10);
    EXPECT_EQ(after.ctlY, before.ctlY);
    EXPECT_EQ(form->field("zdHKR")->pos(), QPoint(after.srcX, after.srcY));

    const QString pdf = home.path() + "slip.pdf";
    home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
    form->setFieldText("zdHKR", QStringLiteral("岚砚设计模式"));
    form->findChild<QToolButton *>("btPrint1")->click();
    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const auto word = std::find_if(pages[0].words.begin(), pages[0].words.end(),
                                   [](const PdfWord &w) { return w.text == u"岚砚设计模式"; });
    ASSERT_NE(word, pages[0].words.end());
    EXPECT_NEAR(word->x, after.ctlX / 10.0 + 10 * 25.4 / 72, 0.2);
    EXPECT_NEAR(word->y, after.ctlY / 10.0, 0.2);
}

TEST_F(DesignMode, KeysMoveAndSizeTheBoxWithinTheirLimitsAndNeverThePrint)
{
    open(kExpressSlip);
    LayoutItem *box = design->box(kSender);
    ASSERT_TRUE(box);
    design->selectBox(box);
    const Item before = item(home, kExpressSlip, kSender);

    for (int i = 0; i < 60; ++i)
        key(design.get(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(box->y(), 445 - 10);
    for (int i = 0; i < 150; ++i)
        key(design.get(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(box->x(), 10);
    EXPECT_TRUE(child<QLabel>("lbMessage")->text().startsWith("左移了1像素"));
    const int width = box->width();
    for (int i = 0; i < width + 5; ++i)
        key(design.get(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(box->width(), 1);
    EXPECT_EQ(box->geometry().topLeft(), QPoint(10, 435)); // sizing keeps the corner

    design->btSaveCheckClick();
    const Item after = item(home, kExpressSlip, kSender);
    EXPECT_EQ(after.srcX, 10);
    EXPECT_EQ(after.srcY, 435);
    EXPECT_EQ(after.srcW, 1);
    EXPECT_EQ(after.ctlX, before.ctlX);
    EXPECT_EQ(after.ctlY, before.ctlY);
    EXPECT_TRUE(home.ui.last().text.endsWith("打印细节修改成功！"));

    // The arrows change the print position only, and never below 0.
    child<QPushButton>("btPrtTop")->click();
    EXPECT_EQ(item(home, kExpressSlip, kSender).ctlY, before.ctlY - 10);
    EXPECT_EQ(item(home, kExpressSlip, kSender).srcY, 435);
    child<QSpinBox>("ctlX")->setValue(5);
    child<QPushButton>("btPrtLeft")->click();
    EXPECT_EQ(child<QLabel>("lbMessage")->text(), "测量数值不可能小于0，请查看打印参数示意图原理~");
}

TEST_F(DesignMode, ItemWithoutARowGetsOneWhenSelected)
{
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("delete from CKControl where CheckTypeID = 1 and CtlName = 'ZDHKRLXR'"));
    open(kExpressSlip);
    LayoutItem *box = design->box("ZDHKRLXR");
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->isVisible());
    auto *list = child<QListWidget>("listCtlLabel");
    const auto found = list->findItems(QStringLiteral("寄件联系人"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    list->setCurrentItem(found.front());
    Q_EMIT list->itemClicked(found.front());
    const Item made = item(home, kExpressSlip, "ZDHKRLXR");
    EXPECT_EQ(made.srcW, 100);
    EXPECT_EQ(made.srcH, 20);
    EXPECT_EQ(made.needShow, 0); // hidden box: not shown, not printed
    EXPECT_TRUE(home.ui.last().text.endsWith("打印细节修改成功！"))
        << home.ui.last().text.toStdString();
    EXPECT_EQ(box->size(), QSize(100, 20));
}

TEST_F(DesignMode, TickBoxTitlesAreCleanedAndShown)
{
    open(kExpressSlip);
    home.ui.answerValue(QStringLiteral("甲，乙 （丙）"));
    design->editCheckBoxTitles(); // what the list's pop-up entry "勾选项目定义" runs
    ASSERT_EQ(home.ui.prompted.size(), 1);
    EXPECT_EQ(home.ui.prompted[0].defaultValue, "文件,物品");
    EXPECT_EQ(home.services().catalogue().loadTemplate(kExpressSlip)->checkBoxs, "甲,乙丙");
    LayoutItem *first = design->box("DEFCHECK0");
    ASSERT_TRUE(first);
    ASSERT_EQ(first->kind(), LayoutItem::Kind::Tick);
    EXPECT_EQ(first->text(), "甲");

    home.ui.answerValue(QStringLiteral("（）"));
    design->editCheckBoxTitles();
    EXPECT_EQ(home.ui.last().text, "输入了无效的字符(引号\\?\\*\\(\\)\\%)!");
    EXPECT_EQ(home.services().catalogue().loadTemplate(kExpressSlip)->checkBoxs, "甲,乙丙");
}

TEST_F(DesignMode, EmptyPictureNameAndKindWithoutItems)
{
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("insert into ckTypeTable (CheckTypeID, TypeName, TypeFirstName, "
                       "TypeDescribe, Visiable, IsDefault, ImgFile, TWidth, THeight) values "
                       "(50, '定制单（空）', '定制单', '空', '启用', '默认', '', 600, 300)"));
    open(50);
    const QPixmap picture = design->canvas()->layoutScene()->picture();
    EXPECT_FALSE(picture.isNull()); // dhd_default.jpg
    EXPECT_EQ(picture.toImage(),
              QPixmap(home.services().home().imageDir() + "dhd_default.jpg").toImage());
    auto *list = child<QListWidget>("listCtlLabel");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(design->box(kSender), nullptr);
    design->btSaveCheckClick();
    EXPECT_EQ(home.ui.last().text, "部分未启用项目，可以点击左侧列表中的数据项目选中！");
}

TEST_F(DesignMode, BoxesSitWhereTheFormShowsItsFields)
{
    for (const auto &[id, shotName] :
         {std::pair{3, "designer-mode-cdhp"}, std::pair{kExpressSlip, "designer-mode-kdd"}}) {
        open(id);
        QSqlQuery q = home.db().query();
        q.prepare("select CtlName, SrcX, SrcY, SrcW, SrcH from CKControl where CheckTypeID = ? "
                  "and NeedShow = 1");
        q.addBindValue(id);
        ASSERT_TRUE(q.exec());
        int shown = 0;
        while (q.next()) {
            LayoutItem *box = design->box(q.value(0).toString());
            if (!box)
                continue; // not in the kind's dictionary
            EXPECT_EQ(box->geometry(), QRect(q.value(1).toInt(), q.value(2).toInt(),
                                             q.value(3).toInt(), q.value(4).toInt()))
                << q.value(0).toString().toStdString();
            EXPECT_TRUE(box->isVisible());
            ++shown;
        }
        EXPECT_GT(shown, 10);
        design->selectBox(design->box(id == 3 ? "ZDINCOMP" : kSender));
        shot(*design, shotName);
    }
}

TEST(DesignModeFromTheFrame, OpensForTheCurrentTemplateAndRebuildsItsCacheOnClosing)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.CurrentCheckTypeId = 2;
    QSignalSpy changed(&home.services().catalogue(), &Catalogue::layoutChanged);
    int opened = 0;
    NextModal window([&](QWidget *modal) {
        auto *design = qobject_cast<TfmCheckDesign *>(modal);
        ASSERT_TRUE(design);
        opened = design->checkTypeId();
        design->selectBox(design->box(kSender));
        key(design, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        design->btSaveCheckClick();
        design->close();
    });
    frame.menuItem("nDesign")->trigger();
    EXPECT_EQ(opened, 2);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 2);
    const IniFile cache(home.services().catalogue().layoutCachePath(2));
    EXPECT_EQ(cache.readInteger("viewx", "ZDHKR.x", 0), item(home, 2, kSender).srcX);
    EXPECT_GT(item(home, 2, kSender).srcX, 10);
}

TEST_F(DesignMode, PreviewOpensTheDesignerAndItsMovesSurviveTheNextSave)
{
    open(kExpressSlip);
    design->selectBox(design->box(kSender));
    const int before = item(home, kExpressSlip, kSender).ctlX;
    QString title;
    NextModal window([&](QWidget *modal) {
        auto *designer = qobject_cast<TfmTemplateDesigner *>(modal);
        ASSERT_TRUE(designer);
        title = designer->windowTitle();
        LayoutItem *piece = designer->pieces(kSender).value(0);
        ASSERT_TRUE(piece);
        QWidget *page = designer->canvas()->viewport();
        const QPoint at = designer->canvas()->mapFromScene(piece->scenePos() + QPointF(2, 2));
        mouse(page, QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(page, QEvent::MouseButtonRelease, at, Qt::NoButton);
        designer->findChild<QPushButton *>("btMoveRight")->click(); // 0.5 mm
        designer->close();
    });
    child<QPushButton>("btPreview")->click();
    EXPECT_EQ(title, "打印预览");
    EXPECT_EQ(item(home, kExpressSlip, kSender).ctlX, before + 5);
    EXPECT_EQ(child<QSpinBox>("ctlX")->value(), before + 5);
    design->btSaveCheckClick();
    EXPECT_EQ(item(home, kExpressSlip, kSender).ctlX, before + 5);
}

// The maintenance command changes anything in the database: only an administrator runs it.
TEST_F(DesignMode, MaintenanceCommandRunsForAnAdministratorOnly)
{
    auto rows = [&] {
        QSqlQuery q = home.db().query();
        return q.exec("select count(*) from configtable where cname = 'sqlbox'") && q.next()
                   ? q.value(0).toInt()
                   : -1;
    };
    const struct
    {
        const char *role;
        int rowsAfter;
    } cases[] = {{"", 0}, {"录单员", 0}, {"订单处理员", 0}, {"管理员", 1}};
    for (const auto &c : cases) {
        open(kExpressSlip);
        design->setOperatorRole(QString::fromUtf8(c.role));
        auto *tabs = design->findChild<QTabWidget *>();
        ASSERT_TRUE(tabs);
        const int maintenance = tabs->indexOf(child<QWidget>("TabYanlu"));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(maintenance).center());
        for (int i = 0; i < 7; ++i)
            QTest::mouseClick(child<QLabel>("statusPanel0"), Qt::LeftButton);
        auto *command = child<QLineEdit>("edtRunSql");
        ASSERT_TRUE(command->isVisible()) << c.role;
        command->setText("insert into configtable (cname, cvalue) values ('sqlbox', '1')");
        home.ui.shown.clear();
        QTest::mouseClick(child<QPushButton>("btRunSQL"), Qt::LeftButton);
        EXPECT_EQ(rows(), c.rowsAfter) << c.role;
        if (c.rowsAfter == 0) {
            ASSERT_EQ(home.ui.shown.size(), 1) << c.role;
            EXPECT_EQ(home.ui.last().text,
                      QStringLiteral("只有以管理员角色登录的操作员才能运行命令。"));
        } else {
            EXPECT_TRUE(home.ui.shown.isEmpty());
        }
        design->close();
    }
}

// While a box is dragged or nudged the message line appears above the picture: the picture
// must stay where it is, or the box lands off the place the pointer aimed at.
TEST_F(DesignMode, ThePictureStaysUnderThePointerWhenTheMessageLineAppears)
{
    // The program's own font, with which the clerk sees the panels.
    const QFont before = QApplication::font();
    QFont font(installedFontFamily(QStringLiteral("宋体")));
    font.setPixelSize(12);
    QApplication::setFont(font);
    const auto restore = qScopeGuard([&] { QApplication::setFont(before); });
    open(kExpressSlip);
    auto *picture = child<QWidget>("panelImgBg");
    auto *message = child<QLabel>("lbMessage");
    LayoutItem *box = design->box(kSender);
    ASSERT_TRUE(box);
    QCoreApplication::processEvents();
    const QPoint pictureAt = pictureOnScreen(*design);
    const QPoint boxAt = box->geometry().topLeft();
    ASSERT_FALSE(message->isVisible());

    QWidget *view = design->canvas()->viewport();
    const QPoint grip = onView(*design, box, QPoint(4, 4));
    mouse(view, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    for (const QPoint step : {QPoint(10, 4), QPoint(20, 8), QPoint(30, 12)}) {
        mouse(view, QEvent::MouseMove, grip + step, Qt::LeftButton);
        QCoreApplication::processEvents(); // the layout reacts to the message here
        ASSERT_TRUE(message->isVisible());
        EXPECT_EQ(pictureOnScreen(*design), pictureAt);
    }
    mouse(view, QEvent::MouseButtonRelease, grip + QPoint(30, 12), Qt::NoButton);
    EXPECT_EQ(box->geometry().topLeft(), boxAt + QPoint(30, 12));
    EXPECT_EQ(item(home, kExpressSlip, kSender).srcX, boxAt.x() + 30);

    // A nudge from the keyboard, and the break option's fields appearing, move nothing either.
    message->hide();
    QCoreApplication::processEvents();
    QTest::keyClick(picture, Qt::Key_Down, Qt::ControlModifier);
    QTest::mouseClick(child<QCheckBox>("ckWordBreak"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(pictureOnScreen(*design), pictureAt);
}

// Key moves and sizes are stored by the next save; closing before it asks, and 取消 keeps the
// window open.
TEST(DesignModeClosing, UnsavedKeyMovesSizesAndHidingAreOfferedForSaving)
{
    enum class Change { Move, Size, Hide };
    const struct
    {
        const char *what;
        Change change;
        int Item::*field; // what the change alters, and by how much
        int delta;
        std::vector<Ui::Answer> answers;
        bool stored;
    } cases[] = {
        {"moved, cancel, then save",
         Change::Move,
         &Item::srcX,
         10,
         {Ui::Answer::Cancel, Ui::Answer::Yes},
         true},
        {"moved, do not save", Change::Move, &Item::srcX, 10, {Ui::Answer::No}, false},
        {"sized, save", Change::Size, &Item::srcW, 1, {Ui::Answer::Yes}, true},
        {"hidden, save", Change::Hide, &Item::needShow, -1, {Ui::Answer::Yes}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TestHome home;
        Tfm_Main frame(home.services());
        frame.show();
        frame.CurrentCheckTypeId = kExpressSlip;
        const Item before = item(home, kExpressSlip, kSender);
        for (Ui::Answer a : c.answers)
            home.ui.answer(a);
        int questions = 0;
        NextModal window([&](QWidget *modal) {
            auto *design = qobject_cast<TfmCheckDesign *>(modal);
            ASSERT_TRUE(design);
            QApplication::setActiveWindow(design); // as the window manager does
            LayoutItem *box = design->box(kSender);
            QTest::mouseClick(design->canvas()->viewport(), Qt::LeftButton, {},
                              onView(*design, box, QPoint(4, 4)));
            ASSERT_EQ(design->selectedBox(), box);
            auto *picture = design->findChild<QWidget *>("panelImgBg");
            switch (c.change) {
            case Change::Move:
                QTest::keyClick(picture, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
                break;
            case Change::Size:
                QTest::keyClick(picture, Qt::Key_Right, Qt::ShiftModifier);
                break;
            case Change::Hide:
                QTest::mouseClick(design->findChild<QCheckBox *>("ckHidden"), Qt::LeftButton);
                break;
            }
            for (Ui::Answer answer : c.answers) {
                const qsizetype shown = home.ui.shown.size();
                design->close();
                ASSERT_EQ(home.ui.shown.size(), shown + 1);
                EXPECT_EQ(home.ui.last().buttons, Ui::Buttons::YesNoCancel);
                EXPECT_EQ(home.ui.last().text,
                          "【寄件单位】的调整（键盘移动、大小或隐藏）还没有保存，是否保存？");
                ++questions;
                const bool stays = answer == Ui::Answer::Cancel;
                EXPECT_EQ(design->isVisible(), stays);
                if (stays) {
                    EXPECT_EQ(item(home, kExpressSlip, kSender).*c.field, before.*c.field);
                }
            }
        });
        frame.menuItem("nDesign")->trigger();
        EXPECT_EQ(questions, int(c.answers.size()));
        const Item after = item(home, kExpressSlip, kSender);
        EXPECT_EQ(after.*c.field, before.*c.field + (c.stored ? c.delta : 0));
        // What was stored is what the form shows next.
        const IniFile cache(home.services().catalogue().layoutCachePath(kExpressSlip));
        EXPECT_EQ(cache.readInteger("vieww", "ZDHKR.w", 0), after.srcW);
        EXPECT_EQ(cache.readInteger("viewx", "ZDHKR.x", 0), after.srcX);
    }
}

// An office screen of 1024 x 768: both design windows fit it whole, the picture and the page
// scroll inside them. The widest shipped template (840 pixels) is the hard case. The test
// screen is 800 x 800, so the width is held against the office screen, the height against this.
TEST(DesignWindowsOnASmallScreen, FitTheScreenAndScrollThePicture)
{
    const QSize office(1024 - 8, 768 - 32); // less a window frame
    TestHome home;
    constexpr int kWidest = 2;
    TfmCheckDesign design(home.services(), kWidest);
    design.show();
    TfmTemplateDesigner designer(home.services());
    designer.setCheckTypeID(kWidest);
    ASSERT_TRUE(designer.loadDesigner());
    designer.show();
    QCoreApplication::processEvents();
    const struct
    {
        QWidget *window;
        QAbstractScrollArea *scroll;
        QSize picture;
    } windows[] = {{&design, design.canvas(), design.canvas()->sceneRect().size().toSize()},
                   {&designer, designer.canvas(), designer.pageSize()}};
    for (const auto &w : windows) {
        SCOPED_TRACE(w.window->objectName().toStdString());
        const QSize least = w.window->minimumSizeHint();
        EXPECT_LE(least.width(), office.width());
        EXPECT_LE(least.height(), office.height());
        // Never squeezed below what its controls need: nothing is cut off.
        EXPECT_GE(w.window->width(), least.width());
        EXPECT_GE(w.window->height(), least.height());
        const QRect screen = w.window->screen()->availableGeometry();
        EXPECT_LE(w.window->frameGeometry().height(), screen.height());
        EXPECT_LE(w.window->width(),
                  std::max(std::min(screen.width(), office.width()), least.width()));
        EXPECT_TRUE(screen.contains(w.window->frameGeometry().topLeft()));
        // The rest of the picture is a scroll away.
        QAbstractScrollArea *scroll = w.scroll;
        ASSERT_TRUE(scroll);
        const QSize shown = scroll->viewport()->size();
        EXPECT_EQ(scroll->verticalScrollBar()->maximum(),
                  std::max(0, w.picture.height() - shown.height()));
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(),
                  std::max(0, w.picture.width() - shown.width()));
    }
}

// A window destroyed while a field has the focus: the field's last word must not reach a
// window that is half gone (it used to save through freed members).
TEST_F(DesignMode, DestroyedWithTheFocusInAFieldStoresNothing)
{
    open(kExpressSlip);
    design->selectBox(design->box(kSender));
    const Item before = item(home, kExpressSlip, kSender);
    auto *field = child<QSpinBox>("SrcX");
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Up); // shown at once, stored when the field is left
    ASSERT_TRUE(field->hasFocus());
    design.reset();
    EXPECT_EQ(item(home, kExpressSlip, kSender).srcX, before.srcX);
}
