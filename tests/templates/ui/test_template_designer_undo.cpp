#include "CanvasHand.h"
#include "TestHome.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/TfmTemplateDesigner.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

// Undo and redo in the designer, driven with the mouse and keys on the page.

namespace {

constexpr int kExpressSlip = 1;
const QString kSender = QStringLiteral("ZDHKR");
const QString kContact = QStringLiteral("ZDHKRLXR");
const QString kReceiver = QStringLiteral("ZDSKR");

struct Stored
{
    int x, y, w, h, fontSize;
    bool operator==(const Stored &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Stored &s)
{
    return out << '(' << s.x << ',' << s.y << ' ' << s.w << 'x' << s.h << " font " << s.fontSize
               << ')';
}

class DesignerUndo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        designer.setCheckTypeID(kExpressSlip);
        ASSERT_TRUE(designer.loadDesigner());
        designer.show();
        QApplication::setActiveWindow(&designer);
        page = designer.canvas()->viewport();
    }

    // The template's stored numbers of an item.
    Stored stored(const QString &name)
    {
        const auto n = CanvasHand::stored(home.db(), kExpressSlip, name,
                                          "CtlX, CtlY, CtlW, CtlH, CtlFontSize");
        return {n[0], n[1], n[2], n[3], n[4]};
    }

    QPoint onPage(const QString &name, QPoint inside = {3, 3})
    {
        LayoutItem *piece = designer.pieces(name).value(0);
        EXPECT_TRUE(piece) << name.toStdString();
        return piece ? designer.canvas()->mapFromScene(piece->scenePos() + inside) : QPoint();
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        CanvasHand::mouse(page, type, at, buttons);
    }

    void click(const QString &name, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(page, Qt::LeftButton, mods, onPage(name));
    }

    void dragBy(const QString &name, QPoint delta) { CanvasHand::drag(page, onPage(name), delta); }

    void key(int k, QWidget *on = nullptr, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(on ? on : designer.canvas(), Qt::Key(k), mods);
    }
    void undo(QWidget *on = nullptr) { key(Qt::Key_Z, on, Qt::ControlModifier); }
    void redo() { key(Qt::Key_Y, nullptr, Qt::ControlModifier); }

    QPoint shownAt(const QString &name)
    {
        return designer.pieces(name).value(0)->geometry().topLeft();
    }

    TestHome home;
    TfmTemplateDesigner designer{home.services()};
    QWidget *page = nullptr;
};

} // namespace

TEST_F(DesignerUndo, DragKeysAndFontAreUndoneToTheStoredNumbersAndRedone)
{
    const Stored start = stored(kSender);
    ASSERT_GT(start.x, 0);
    ASSERT_NE(start.fontSize, 14);
    const DesignerPieces::Scale scale = designer.scale();
    QUndoStack &stack = designer.undoStack();

    click(kSender);
    ASSERT_EQ(designer.selection(), QStringList{kSender});
    const QPoint from = shownAt(kSender);
    dragBy(kSender, QPoint(40, 20));
    const int droppedX = scale.tenths(from.x() + 40);
    const int droppedY = scale.tenths(from.y() + 20);
    EXPECT_EQ(stored(kSender).x, droppedX);
    EXPECT_EQ(stored(kSender).y, droppedY);
    EXPECT_EQ(stack.count(), 1);

    // The arrow keys move by the step (0.5 mm at the start); all of them are one step.
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Right);
    key(Qt::Key_Down);
    const Stored moved = stored(kSender);
    EXPECT_EQ(moved.x, droppedX + 15);
    EXPECT_EQ(moved.y, droppedY + 5);
    EXPECT_EQ(stack.count(), 2);

    auto *size = designer.findChild<QSpinBox *>("edtFontSize");
    ASSERT_TRUE(size);
    size->setFocus();
    QTest::keyClick(size, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(size, "14");
    QTest::keyClick(size, Qt::Key_Return);
    const Stored edited{moved.x, moved.y, moved.w, moved.h, 14};
    EXPECT_EQ(stored(kSender), edited);
    EXPECT_EQ(stack.count(), 3);

    undo(size); // from the field that has the focus
    EXPECT_EQ(stored(kSender), moved);
    EXPECT_EQ(size->value(), start.fontSize);
    undo();
    EXPECT_EQ(stored(kSender).x, droppedX);
    undo();
    EXPECT_EQ(stored(kSender), start);
    EXPECT_EQ(shownAt(kSender), QPoint(scale.pixels(start.x), scale.pixels(start.y)));
    EXPECT_EQ(designer.findChild<QSpinBox *>("edtCtlX")->value(), start.x);
    EXPECT_FALSE(stack.canUndo());

    for (int i = 0; i < 3; ++i)
        redo();
    EXPECT_EQ(stored(kSender), edited);
    EXPECT_EQ(shownAt(kSender), QPoint(scale.pixels(edited.x), scale.pixels(edited.y)));
    EXPECT_FALSE(stack.canRedo());
}

TEST_F(DesignerUndo, ItemsPickedWithCtrlMoveTogetherAndComeBackInOneStep)
{
    const Stored sender = stored(kSender);
    const Stored contact = stored(kContact);
    ASSERT_GT(contact.x, 0);
    click(kSender);
    click(kContact, Qt::ControlModifier);
    EXPECT_EQ(designer.selection(), (QStringList{kSender, kContact}));

    const QPoint senderAt = shownAt(kSender);
    const QPoint contactAt = shownAt(kContact);
    dragBy(kContact, QPoint(-20, 30));
    const DesignerPieces::Scale scale = designer.scale();
    EXPECT_EQ(stored(kSender).x, scale.tenths(senderAt.x() - 20));
    EXPECT_EQ(stored(kSender).y, scale.tenths(senderAt.y() + 30));
    EXPECT_EQ(stored(kContact).x, scale.tenths(contactAt.x() - 20));
    EXPECT_EQ(stored(kContact).y, scale.tenths(contactAt.y() + 30));
    EXPECT_EQ(designer.undoStack().count(), 1);

    undo();
    EXPECT_EQ(stored(kSender), sender);
    EXPECT_EQ(stored(kContact), contact);
    EXPECT_EQ(shownAt(kContact), contactAt);
}

// A batch edit gives every item the same value; undo gives each its own back.
TEST_F(DesignerUndo, BatchFontSizeIsUndoneItemByItem)
{
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("update CKControl set CtlFontSize = 9 where CheckTypeID = 1 and "
                       "CtlName = 'ZDSKR'"));
    designer.paintAllItems();
    const Stored before[] = {stored(kSender), stored(kContact), stored(kReceiver)};
    ASSERT_EQ(before[2].fontSize, 9);
    click(kSender);
    click(kContact, Qt::ControlModifier);
    click(kReceiver, Qt::ShiftModifier);
    ASSERT_EQ(designer.selection().size(), 3);

    auto *sizes = designer.findChild<QComboBox *>("cbTabFontSize");
    ASSERT_TRUE(sizes);
    sizes->setCurrentText("18");
    QTest::mouseClick(designer.findChild<QPushButton *>("btTabFontSize"), Qt::LeftButton);
    for (const QString &name : {kSender, kContact, kReceiver})
        EXPECT_EQ(stored(name).fontSize, 18) << name.toStdString();

    undo();
    EXPECT_EQ(stored(kSender), before[0]);
    EXPECT_EQ(stored(kContact), before[1]);
    EXPECT_EQ(stored(kReceiver), before[2]);
    redo();
    EXPECT_EQ(stored(kReceiver).fontSize, 18);
}

TEST_F(DesignerUndo, RubberBandOnThePagePicksTheItemsItTouches)
{
    const QPoint corner = shownAt(kSender);
    const QPoint from = designer.canvas()->mapFromScene(QPointF(corner - QPoint(4, 4)));
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + QPoint(8, 6), Qt::LeftButton);
    mouse(QEvent::MouseMove, from + QPoint(10, 8), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, from + QPoint(10, 8), Qt::NoButton);
    EXPECT_TRUE(designer.selection().contains(kSender));
    EXPECT_TRUE(designer.pieces(kSender).value(0)->isSelected());
}
