#include "CanvasHand.h"
#include "TestHome.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutScene.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/TfmCheckDesign.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

// Undo and redo in design mode, driven with the mouse on the picture and keys.

namespace {

constexpr int kExpressSlip = 1;
const QString kSender = QStringLiteral("ZDHKR");
const QString kReceiver = QStringLiteral("ZDSKR");

struct Row
{
    int srcX, srcY, srcW, fontSize, needShow;
    bool operator==(const Row &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Row &r)
{
    return out << '(' << r.srcX << ',' << r.srcY << ' ' << r.srcW << " font " << r.fontSize
               << " shown " << r.needShow << ')';
}

class DesignModeUndo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        design = std::make_unique<TfmCheckDesign>(home.services(), kExpressSlip);
        design->show();
        QApplication::setActiveWindow(design.get());
        view = design->canvas()->viewport();
    }

    // The template's stored numbers of an item.
    Row stored(const QString &name)
    {
        const auto n = CanvasHand::stored(home.db(), kExpressSlip, name,
                                          "SrcX, SrcY, SrcW, CtlFontSize, NeedShow");
        return {n[0], n[1], n[2], n[3], n[4]};
    }

    QPoint onView(const QString &name, QPoint inside = {4, 4})
    {
        return design->canvas()->mapFromScene(design->box(name)->scenePos() + inside);
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = {})
    {
        CanvasHand::mouse(view, type, at, buttons, mods);
    }

    void dragBy(const QString &name, QPoint delta) { CanvasHand::drag(view, onView(name), delta); }

    void click(const QString &name, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(view, Qt::LeftButton, mods, onView(name));
    }

    void typeFontSize(const char *size)
    {
        auto *field = design->findChild<QSpinBox *>("CtlFontSize");
        ASSERT_TRUE(field);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, size);
        QTest::keyClick(field, Qt::Key_Return);
    }

    void undo(QWidget *on = nullptr)
    {
        QTest::keyClick(on ? on : view, Qt::Key_Z, Qt::ControlModifier);
    }
    void redo() { QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier); }

    QPoint shownAt(const QString &name) { return design->box(name)->geometry().topLeft(); }

    TestHome home;
    std::unique_ptr<TfmCheckDesign> design;
    QWidget *view = nullptr;
};

} // namespace

TEST_F(DesignModeUndo, DragNudgesAndFontAreUndoneToTheStoredNumbersAndRedone)
{
    const Row start = stored(kSender);
    ASSERT_GT(start.srcX, 20);
    ASSERT_NE(start.fontSize, 14);
    QUndoStack &stack = design->undoStack();

    click(kSender);
    ASSERT_EQ(design->selectedBox(), design->box(kSender));
    dragBy(kSender, QPoint(30, 12));
    EXPECT_EQ(stored(kSender),
              (Row{start.srcX + 30, start.srcY + 12, start.srcW, start.fontSize, 1}));
    EXPECT_EQ(stack.count(), 1);

    // Four key moves of the same box are one step, and wait for a save.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shownAt(kSender), QPoint(start.srcX + 33, start.srcY + 22));
    EXPECT_EQ(stack.count(), 2);
    EXPECT_FALSE(stack.isClean());
    EXPECT_EQ(stored(kSender).srcX, start.srcX + 30);

    typeFontSize("14"); // stored at once, with the moves before it
    const Row edited{start.srcX + 33, start.srcY + 22, start.srcW, 14, 1};
    EXPECT_EQ(stored(kSender), edited);
    EXPECT_EQ(stack.count(), 3);
    EXPECT_TRUE(stack.isClean());

    // Ctrl+Z works from the field that has the focus too.
    undo(design->findChild<QSpinBox *>("CtlFontSize"));
    EXPECT_EQ(stored(kSender),
              (Row{start.srcX + 33, start.srcY + 22, start.srcW, start.fontSize, 1}));
    EXPECT_EQ(design->findChild<QSpinBox *>("CtlFontSize")->value(), start.fontSize);
    undo();
    EXPECT_EQ(shownAt(kSender), QPoint(start.srcX + 30, start.srcY + 12));
    EXPECT_FALSE(stack.isClean()); // the screen is back, the stored row is not yet
    undo();
    EXPECT_EQ(stored(kSender), start);
    EXPECT_EQ(shownAt(kSender), QPoint(start.srcX, start.srcY));
    EXPECT_EQ(design->findChild<QSpinBox *>("SrcX")->value(), start.srcX);
    EXPECT_TRUE(stack.isClean());
    EXPECT_FALSE(stack.canUndo());

    for (int i = 0; i < 3; ++i)
        redo();
    EXPECT_EQ(stored(kSender), edited);
    EXPECT_EQ(shownAt(kSender), QPoint(edited.srcX, edited.srcY));
    EXPECT_TRUE(stack.isClean());
    EXPECT_FALSE(stack.canRedo());
}

TEST_F(DesignModeUndo, BoxesSelectedTogetherMoveTogetherAndComeBackInOneStep)
{
    const Row sender = stored(kSender);
    const Row receiver = stored(kReceiver);
    ASSERT_GT(receiver.srcX, 0);
    click(kSender);
    click(kReceiver, Qt::ControlModifier);
    EXPECT_TRUE(design->box(kSender)->isSelected());
    EXPECT_TRUE(design->box(kReceiver)->isSelected());

    dragBy(kReceiver, QPoint(-20, 15));
    EXPECT_EQ(stored(kSender),
              (Row{sender.srcX - 20, sender.srcY + 15, sender.srcW, sender.fontSize, 1}));
    EXPECT_EQ(stored(kReceiver),
              (Row{receiver.srcX - 20, receiver.srcY + 15, receiver.srcW, receiver.fontSize, 1}));
    undo();
    EXPECT_EQ(stored(kSender), sender);
    EXPECT_EQ(stored(kReceiver), receiver);
    EXPECT_EQ(shownAt(kSender), QPoint(sender.srcX, sender.srcY));
    EXPECT_EQ(shownAt(kReceiver), QPoint(receiver.srcX, receiver.srcY));
    EXPECT_FALSE(design->undoStack().canUndo());
}

// The selected box's lower right handle sizes it; the size is stored, and undone.
TEST_F(DesignModeUndo, HandleSizesTheSelectedBox)
{
    const Row start = stored(kSender);
    click(kSender);
    const QSize size = design->box(kSender)->size();
    const QPoint handle = onView(kSender, QPoint(size.width() - 1, size.height() - 1));
    mouse(QEvent::MouseButtonPress, handle, Qt::LeftButton);
    mouse(QEvent::MouseMove, handle + QPoint(10, 2), Qt::LeftButton);
    mouse(QEvent::MouseMove, handle + QPoint(20, 5), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, handle + QPoint(20, 5), Qt::NoButton);
    EXPECT_EQ(design->box(kSender)->size(), size + QSize(20, 5));
    EXPECT_EQ(shownAt(kSender), QPoint(start.srcX, start.srcY)); // the corner stays
    EXPECT_EQ(stored(kSender).srcW, start.srcW + 20);
    EXPECT_EQ(design->findChild<QSpinBox *>("SrcH")->value(), size.height() + 5);

    undo();
    EXPECT_EQ(stored(kSender), start);
    EXPECT_EQ(design->box(kSender)->size(), size);
}

TEST_F(DesignModeUndo, RubberBandSelectsTheBoxesItTouches)
{
    const QRect sender = design->box(kSender)->geometry();
    // From the bare picture left of and above the box, across its corner.
    const QPoint from = design->canvas()->mapFromScene(QPointF(sender.topLeft() - QPoint(6, 4)));
    ASSERT_EQ(design->canvas()
                  ->layoutScene()
                  ->itemAt(design->canvas()->mapToScene(from), QTransform())
                  ->zValue(),
              -1); // the picture itself
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + QPoint(10, 8), Qt::LeftButton);
    mouse(QEvent::MouseMove, from + QPoint(12, 10), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, from + QPoint(12, 10), Qt::NoButton);
    EXPECT_TRUE(design->box(kSender)->isSelected());
}

// The question on closing follows the undo stack: asked while the screen shows what is not
// stored, not asked once undo brought back what is.
TEST_F(DesignModeUndo, ClosingAsksOnlyWhileTheScreenDiffersFromTheStoredRow)
{
    const struct
    {
        const char *what;
        int moves;
        bool saveFirst;
        int undos;
        bool asked;
    } cases[] = {
        {"moved, not saved", 1, false, 0, true},
        {"moved and undone", 1, false, 1, false},
        {"moved, saved", 1, true, 0, false},
        {"moved, saved, undone", 1, true, 1, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        design.reset();
        SetUp();
        const Row start = stored(kSender);
        click(kSender);
        for (int i = 0; i < c.moves; ++i)
            QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier);
        if (c.saveFirst)
            design->btSaveCheckClick();
        for (int i = 0; i < c.undos; ++i)
            undo();
        if (c.asked)
            home.ui.answer(Ui::Answer::No);
        const qsizetype shown = home.ui.shown.size();
        design->close();
        EXPECT_EQ(home.ui.shown.size() > shown, c.asked);
        EXPECT_FALSE(design->isVisible());
        EXPECT_EQ(stored(kSender).srcX, start.srcX + (c.saveFirst ? 1 : 0));
        home.ui.shown.clear();
    }
}
