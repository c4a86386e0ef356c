#include "templates/ui/LayoutView.h"

#include "templates/ui/LayoutScene.h"
#include "templates/ui/ZoomHelper.h"

#include <QKeyEvent>
#include <QWheelEvent>

LayoutView::LayoutView(LayoutScene *scene, QWidget *parent)
    : QGraphicsView(scene, parent)
    , m_scene(scene)
    , m_zoom(new ZoomHelper(this))
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setDragMode(RubberBandDrag);
    setRubberBandSelectionMode(Qt::IntersectsItemShape);
    setTransformationAnchor(AnchorUnderMouse);
    setMouseTracking(true);
}

void LayoutView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    if (event->angleDelta().y() > 0)
        m_zoom->zoomIn();
    else if (event->angleDelta().y() < 0)
        m_zoom->zoomOut();
    event->accept();
}

void LayoutView::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const int dx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
    const int dy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
    if (!m_nudge || (dx == 0 && dy == 0) || event->modifiers() != Qt::NoModifier ||
        m_scene->selectedItems().isEmpty()) {
        QGraphicsView::keyPressEvent(event);
        return;
    }
    Q_EMIT nudged(dx, dy);
    event->accept();
}
