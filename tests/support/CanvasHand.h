#pragma once

#include "data/Database.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSqlQuery>
#include <QStringList>
#include <QWidget>
#include <array>

// A hand on a layout canvas: mouse events sent to the view's viewport as a person drags, and
// the numbers the template stores for an item, to compare what an undo brought back.
namespace CanvasHand {

inline void mouse(QWidget *viewport, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
                  Qt::KeyboardModifiers mods = {})
{
    QMouseEvent e(type, at, viewport->mapToGlobal(at),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, mods);
    QApplication::sendEvent(viewport, &e);
}

// Pressed at `grip`, moved half-way, then all the way, and released.
inline void drag(QWidget *viewport, QPoint grip, QPoint delta)
{
    mouse(viewport, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    mouse(viewport, QEvent::MouseMove, grip + delta / 2, Qt::LeftButton);
    mouse(viewport, QEvent::MouseMove, grip + delta, Qt::LeftButton);
    mouse(viewport, QEvent::MouseButtonRelease, grip + delta, Qt::NoButton);
}

// Five whole-number columns of the item's CKControl row; all -1 when it has none.
inline std::array<int, 5> stored(Database &db, int checkTypeId, const QString &name,
                                 const QString &columns)
{
    QSqlQuery q = db.query();
    q.prepare(u"select " + columns + u" from CKControl where CheckTypeID = ? and CtlName = ?");
    q.addBindValue(checkTypeId);
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return {-1, -1, -1, -1, -1};
    return {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
            q.value(4).toInt()};
}

} // namespace CanvasHand
