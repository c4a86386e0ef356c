#include "../../print/PdfWords.h"
#include "RefusingTrigger.h"
#include "TestHome.h"
#include "print/PdfPrint.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/TfmTemplateDesigner.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

constexpr int kExpressSlip = 1; // shipped, 230 x 127 mm
constexpr int kDraft = 3;
const QString kSender = QStringLiteral("ZDHKR");

void mouse(QWidget *w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, local, w->mapToGlobal(local),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
    QApplication::sendEvent(w, &e);
}

// Grabs the window into /work/shots when LANYAN_SHOTS names a folder.
void shot(QWidget &w, const QString &name)
{
    const QString dir = qEnvironmentVariable("LANYAN_SHOTS");
    if (!dir.isEmpty())
        w.grab().save(dir + u'/' + name + u".png");
}

} // namespace

class DesignerWindow : public ::testing::Test
{
protected:
    void open(int id)
    {
        designer.setCheckTypeID(id);
        ASSERT_TRUE(designer.loadDesigner());
        designer.show();
        QApplication::setActiveWindow(&designer);
    }

    int column(const QString &name, const char *col)
    {
        QSqlQuery q = home.db().query();
        q.prepare(u"select " + QString::fromLatin1(col) +
                  u" from CKControl where CheckTypeID = ? and CtlName = ?");
        q.addBindValue(m_id);
        q.addBindValue(name);
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }

    // Where a point inside a piece is on the page's view.
    QPoint onPage(LayoutItem *piece, QPoint inside)
    {
        return designer.canvas()->mapFromScene(piece->scenePos() + inside);
    }

    void press(const QString &name)
    {
        LayoutItem *piece = designer.pieces(name).value(0);
        ASSERT_TRUE(piece) << name.toStdString();
        QWidget *page = designer.canvas()->viewport();
        mouse(page, QEvent::MouseButtonPress, onPage(piece, {2, 2}), Qt::LeftButton);
        mouse(page, QEvent::MouseButtonRelease, onPage(piece, {2, 2}), Qt::NoButton);
    }

    template<class W>
    W *child(const char *name)
    {
        auto *w = designer.findChild<W *>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }

    QPushButton *button(const QString &caption)
    {
        for (QPushButton *b : designer.findChildren<QPushButton *>())
            if (b->text() == caption)
                return b;
        ADD_FAILURE() << caption.toStdString();
        return nullptr;
    }

    QString statusText() { return child<QLabel>("stateBar1_3")->text(); }

    TestHome home;
    int m_id = kExpressSlip;
    TfmTemplateDesigner designer{home.services()};
};

TEST_F(DesignerWindow, ShowsTheShippedDraftWhereItPrints)
{
    m_id = kDraft;
    open(kDraft);
    EXPECT_EQ(child<QLabel>("LbTitle")->text(),
              QStringLiteral("【承兑汇票（银行承兑汇票）】打印设置"));
    const QList<LayoutItem *> all = designer.pieces();
    ASSERT_GT(all.size(), 10);
    QSqlQuery q = home.db().query();
    q.exec("select a.CtlName, a.CtlX, a.CtlY from CKControl a join NameDict b on a.CtlName = "
           "b.CtlName where a.CheckTypeID = 3 and a.NeedPrint = 1 and b.PrintItem = 1 and "
           "b.CheckTypeName = '承兑汇票' and coalesce(b.CtlData, '') <> ''");
    int checked = 0;
    while (q.next()) {
        const QList<LayoutItem *> pieces = designer.pieces(q.value(0).toString());
        ASSERT_FALSE(pieces.isEmpty()) << q.value(0).toString().toStdString();
        EXPECT_EQ(pieces.front()->pos(), QPoint(designer.scale().pixels(q.value(1).toInt()),
                                                designer.scale().pixels(q.value(2).toInt())));
        ++checked;
    }
    EXPECT_GT(checked, 5);
    shot(designer, "designer-cdhp");

    // Half the zoom: half the page, the pieces where the new scale puts them.
    const int fullWidth = designer.pageSize().width();
    Q_EMIT child<QComboBox>("cbZoom")->textActivated("50");
    EXPECT_NEAR(designer.pageSize().width(), fullWidth / 2.0, 1);
    LayoutItem *amount = designer.pieces("ZDJEDX").value(0);
    ASSERT_TRUE(amount);
    EXPECT_EQ(amount->x(),
              designer.scale().pixels(
                  home.services().catalogue().loadTemplateItem(kDraft, "ZDJEDX")->ctlX));
    Q_EMIT child<QComboBox>("cbZoom")->textActivated("abc"); // back to 100
    EXPECT_EQ(designer.pageSize().width(), fullWidth);
    child<QCheckBox>("ckTransportColor")->setChecked(true);
    EXPECT_FALSE(designer.pieces("ZDJEDX").value(0)->fillsBackground());
}

TEST_F(DesignerWindow, DragAndButtonsMoveTheItemAndThePdfFollows)
{
    open(kExpressSlip);
    LayoutItem *piece = designer.pieces(kSender).value(0);
    ASSERT_TRUE(piece);
    const QPoint start = piece->geometry().topLeft();
    QWidget *page = designer.canvas()->viewport();
    const QPoint grip = onPage(piece, QPoint(3, 3));
    mouse(page, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    for (int step = 1; step <= 5; ++step)
        mouse(page, QEvent::MouseMove, grip + QPoint(8, 4) * step, Qt::LeftButton);
    mouse(page, QEvent::MouseButtonRelease, grip + QPoint(40, 20), Qt::NoButton);
    EXPECT_TRUE(statusText().endsWith("属性保存成功~")) << statusText().toStdString();

    const QPoint dropped = start + QPoint(40, 20);
    const int droppedX = designer.scale().tenths(dropped.x());
    const int droppedY = designer.scale().tenths(dropped.y());
    EXPECT_EQ(column(kSender, "CtlX"), droppedX);
    EXPECT_EQ(column(kSender, "CtlY"), droppedY);
    EXPECT_EQ(designer.pieces(kSender).value(0)->geometry().topLeft(), dropped);

    // Quick step 1 mm: right twice, down once.
    child<QPushButton>("btStep1")->click();
    child<QPushButton>("btMoveRight")->click();
    child<QPushButton>("btMoveRight")->click();
    child<QPushButton>("btMoveDown")->click();
    EXPECT_EQ(column(kSender, "CtlX"), droppedX + 20);
    EXPECT_EQ(column(kSender, "CtlY"), droppedY + 10);
    EXPECT_EQ(child<QSpinBox>("edtCtlX")->value(), droppedX + 20);
    shot(designer, "designer-kdd");

    const QString pdf = home.path() + "moved.pdf";
    BillValues slip;
    slip.set(kSender, QStringLiteral("岚砚寄件单位"));
    ASSERT_TRUE(printBillsToPdf(home.db(), home.ui, home.settings(), BillKind::ExpressSlip,
                                kExpressSlip, {slip}, pdf));
    const std::vector<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const auto word = std::find_if(pages[0].words.begin(), pages[0].words.end(),
                                   [](const PdfWord &w) { return w.text == u"岚砚寄件单位"; });
    ASSERT_NE(word, pages[0].words.end());
    // Where the page showed the drop, plus the moves, plus the printer's margin of one font
    // size (10 pt) that every printed item gets.
    const double mm = designer.scale().mmPerPixel;
    EXPECT_NEAR(word->x, dropped.x() * mm + 2.0 + 10 * 25.4 / 72, 0.2);
    EXPECT_NEAR(word->y, dropped.y() * mm + 1.0, 0.2);
}

TEST_F(DesignerWindow, PrintAreaIsMeasuredOnceFromTheScreenBox)
{
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("update CKControl set CtlW = 0, CtlH = 0 where CheckTypeID = 1 and "
                       "CtlName = 'ZDHKR'"));
    open(kExpressSlip);
    // The shipped box is 301 x 27 pixels.
    EXPECT_EQ(column(kSender, "CtlW"), designer.scale().tenths(301));
    EXPECT_EQ(column(kSender, "CtlH"), designer.scale().tenths(27));

    ASSERT_TRUE(q.exec("update CKControl set CtlW = 777 where CheckTypeID = 1 and "
                       "CtlName = 'ZDHKR'"));
    designer.paintAllItems();
    EXPECT_EQ(column(kSender, "CtlW"), 777);
}

TEST_F(DesignerWindow, FieldsEditOneSelectedItemOnly)
{
    open(kExpressSlip);
    press(kSender);
    EXPECT_EQ(designer.selection(), QStringList{kSender});
    auto *x = child<QSpinBox>("edtCtlX");
    const int stored = column(kSender, "CtlX");
    EXPECT_EQ(x->value(), stored);

    x->setFocus();
    x->selectAll();
    QTest::keyClicks(x, "abc"); // refused by the field
    QTest::keyClick(x, Qt::Key_Return);
    EXPECT_EQ(column(kSender, "CtlX"), stored);
    x->setValue(stored + 7);
    EXPECT_EQ(column(kSender, "CtlX"), stored + 7);
    EXPECT_EQ(designer.pieces(kSender).value(0)->x(), designer.scale().pixels(stored + 7));

    // Two items: the batch tabs replace the fields, and a field edit stores nothing.
    child<QWidget>("RadioGrpSel")->findChildren<QAbstractButton *>().at(1)->click();
    press("ZDHKRLXR"); // added to the sender, still selected
    EXPECT_EQ(designer.selection().size(), 2);
    EXPECT_FALSE(child<QWidget>("PanelProperty")->isVisible());
    EXPECT_TRUE(child<QTabWidget>("PageControlUpdate")->isVisible());
    x->setValue(stored + 100);
    EXPECT_EQ(column(kSender, "CtlX"), stored + 7);

    button(QStringLiteral("最左对齐"))->click();
    EXPECT_EQ(statusText(), QStringLiteral("2批量修改最左对齐成功！"));
    EXPECT_EQ(column(kSender, "CtlX"), 223);
    EXPECT_EQ(column("ZDHKRLXR", "CtlX"), 223);
    shot(designer, "designer-kdd-batch");
}

TEST_F(DesignerWindow, FailedWriteShowsWhatIsStored)
{
    open(kExpressSlip);
    press(kSender);
    const int stored = column(kSender, "CtlX");
    ASSERT_TRUE((RefusingTrigger{"no_edit",
                                 "UPDATE",
                                 "CKControl",
                                 {},
                                 RefusingTrigger::Drops::Statement,
                                 "database is locked"}
                     .install(home.db())));
    child<QSpinBox>("edtCtlX")->setValue(stored + 50);
    ASSERT_FALSE(home.ui.shown.isEmpty());
    EXPECT_TRUE(home.ui.last().text.contains("database is locked"));
    EXPECT_EQ(column(kSender, "CtlX"), stored);
    EXPECT_EQ(child<QSpinBox>("edtCtlX")->value(), stored);
    EXPECT_EQ(designer.pieces(kSender).value(0)->x(), designer.scale().pixels(stored));

    child<QPushButton>("btMoveUp")->click();
    EXPECT_EQ(column(kSender, "CtlY"), 302);
}

TEST_F(DesignerWindow, PaperSizeIsRefusedBeyondTheLimitsAndRepaintsWhenSaved)
{
    open(kExpressSlip);
    auto *height = child<QLineEdit>("edtPHeight");
    height->setText("32.01");
    child<QPushButton>("btSaveXY")->click();
    EXPECT_EQ(home.ui.last().text, QStringLiteral("失败，票据最高不能大于32厘米。"));
    EXPECT_EQ(home.services().catalogue().loadTemplate(kExpressSlip)->pHeight, 1270);

    height->setText("32.00");
    child<QPushButton>("btSaveXY")->click();
    EXPECT_EQ(home.ui.last().text, QStringLiteral("底图实际长和宽保存成功！"));
    EXPECT_EQ(home.services().catalogue().loadTemplate(kExpressSlip)->pHeight, 3200);
    EXPECT_EQ(designer.pageSize().height(),
              qRound(320 / designer.scale().mmPerPixel)); // the page took the new length
}

TEST_F(DesignerWindow, NoTemplateShowsNothing)
{
    designer.setCheckTypeID(0);
    EXPECT_FALSE(designer.loadDesigner());
    EXPECT_EQ(home.ui.last().text, QStringLiteral("没有找到对应的单据信息~"));
    designer.paintAllItems();
    EXPECT_EQ(designer.windowTitle(), QStringLiteral("未知的单据"));
    EXPECT_TRUE(designer.pieces().isEmpty());
}

// Ctrl + the wheel on the page steps the zoom as the zoom box does; the page and the pieces
// are laid out again at the new scale.
TEST_F(DesignerWindow, CtrlWheelStepsTheZoom)
{
    open(kExpressSlip);
    const int fullWidth = designer.pageSize().width();
    const struct
    {
        int notches; // + towards the screen
        const char *zoom;
    } steps[] = {{1, "125"}, {1, "150"}, {-3, "75"}, {-1, "50"}};
    QWidget *page = designer.canvas()->viewport();
    for (const auto &s : steps) {
        for (int i = 0; i < std::abs(s.notches); ++i) {
            const QPoint at(20, 20);
            QWheelEvent wheel(at, page->mapToGlobal(at), {}, {0, s.notches > 0 ? 120 : -120},
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(page, &wheel);
        }
        const int percent = QString::fromLatin1(s.zoom).toInt();
        EXPECT_EQ(child<QComboBox>("cbZoom")->currentText(), s.zoom);
        EXPECT_NEAR(designer.pageSize().width(), fullWidth * percent / 100.0, 1) << s.zoom;
        EXPECT_EQ(designer.pieces(kSender).value(0)->x(),
                  designer.scale().pixels(column(kSender, "CtlX")))
            << s.zoom;
    }
}
