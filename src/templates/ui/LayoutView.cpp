#include "templates/ui/LayoutView.h"

#include "templates/ui/LayoutScene.h"
#include "templates/ui/ZoomHelper.h"

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
    connect(m_zoom, &ZoomHelper::scaleChanged, this,
            [this](qreal scale) { setTransform(QTransform::fromScale(scale, scale)); });
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
