#pragma once

#include <QObject>

class QUndoStack;
class QWidget;

// Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) step a window's undo stack back and forth, whichever of
// its controls has the focus: a field's own text undo would otherwise take the keys.
class UndoKeys : public QObject
{
    Q_OBJECT
public:
    UndoKeys(QWidget *window, QUndoStack *stack);
    ~UndoKeys() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QUndoStack *m_stack;
};
