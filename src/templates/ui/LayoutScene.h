#pragma once

#include <QGraphicsScene>
#include <QHash>
#include <QPointer>

class LayoutItem;
class QGraphicsPixmapItem;

// A page with the form's picture and the item boxes over it, in the page's pixels. A press on
// a box selects it with its group (Ctrl or Shift adds or removes it), unless the window chooses
// itself; dragging moves every selected box by whole pixels, dragging the handle of a resizable
// box sizes it. A press on the bare page is left to the view's rubber band. What the user did
// is reported when the mouse is let go, so that the window records it as one change.
class LayoutScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit LayoutScene(QObject *parent = nullptr);

    // The picture drawn at (0, 0), scaled to `size`, which is the scene's extent.
    void setPicture(const QPixmap &pixmap, const QSize &size);
    QPixmap picture() const;
    void setPageColour(const QColor &colour);
    // Off: a press only reports the box, the window sets the selection.
    void setSelectsOnPress(bool on) { m_selectsOnPress = on; }

    // The scene owns the box; names are compared upper-cased.
    void addBox(LayoutItem *box);
    LayoutItem *box(const QString &name) const;
    void clearBoxes();
    // Removes a box now and frees it later: it may be the one under the pointer's event.
    void removeBox(LayoutItem *box);
    QList<LayoutItem *> selectedBoxes() const;
    // Makes `box` and its group the only selected boxes (none for null).
    void selectOnly(LayoutItem *box);
    void selectGroup(const QString &group, bool on);

Q_SIGNALS:
    void boxPressed(LayoutItem *box, Qt::KeyboardModifiers modifiers);
    void boxDoubleClicked(LayoutItem *box);
    void boxesDragged(LayoutItem *grabbed);
    // Sent on release after a drag moved the selection by `delta` pixels.
    void boxesDropped(LayoutItem *grabbed, QPoint delta);
    void boxResized(LayoutItem *box, QSize before);
    void boxReleased(LayoutItem *box);
    // Released where it was pressed: a click, not a drag.
    void boxClicked(LayoutItem *box);
    void pictureHovered(QPointF at);
    void picturePressed();

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

private:
    LayoutItem *boxAt(const QPointF &scenePos) const;

    QGraphicsPixmapItem *m_picture = nullptr;
    QColor m_page = Qt::white;
    bool m_selectsOnPress = true;
    QHash<QString, LayoutItem *> m_boxes;
    // The press that may become a drag or a resize.
    QPointer<LayoutItem> m_grabbed;
    QPointF m_pressAt;
    QHash<LayoutItem *, QPointF> m_startPositions;
    QSize m_startSize;
    bool m_resizing = false;
    QPoint m_moved;
};
