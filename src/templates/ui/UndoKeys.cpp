#include "templates/ui/UndoKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QUndoStack>
#include <QWidget>

UndoKeys::UndoKeys(QWidget *window, QUndoStack *stack)
    : QObject(window)
    , m_window(window)
    , m_stack(stack)
{
    qApp->installEventFilter(this);
}

UndoKeys::~UndoKeys()
{
    qApp->removeEventFilter(this);
}

bool UndoKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w->window() != m_window || !m_window->isActiveWindow())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->matches(QKeySequence::Undo)) {
        m_stack->undo();
        return true;
    }
    if (key->matches(QKeySequence::Redo) ||
        key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
        m_stack->redo();
        return true;
    }
    return false;
}
