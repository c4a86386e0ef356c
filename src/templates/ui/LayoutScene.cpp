#include "templates/ui/LayoutScene.h"

#include "templates/ui/LayoutItem.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

LayoutScene::LayoutScene(QObject *parent)
    : QGraphicsScene(parent)
{
    m_picture = addPixmap({});
    m_picture->setZValue(-1);
    m_picture->setAcceptedMouseButtons(Qt::NoButton);
    m_picture->setTransformationMode(Qt::SmoothTransformation);
}

void LayoutScene::setPicture(const QPixmap &pixmap, const QSize &size)
{
    // The picture is drawn at the template's size whatever its file's, as the bill form does.
    m_picture->setPixmap(pixmap);
    if (!pixmap.isNull() && pixmap.size() != size)
        m_picture->setTransform(QTransform::fromScale(qreal(size.width()) / pixmap.width(),
                                                      qreal(size.height()) / pixmap.height()));
    else
        m_picture->setTransform({});
    setSceneRect(QRectF(QPointF(0, 0), size));
}

QPixmap LayoutScene::picture() const
{
    return m_picture->pixmap();
}

void LayoutScene::setPageColour(const QColor &colour)
{
    m_page = colour;
    update();
}

void LayoutScene::drawBackground(QPainter *painter, const QRectF &rect)
{
    QGraphicsScene::drawBackground(painter, rect);
    painter->fillRect(rect.intersected(sceneRect()), m_page);
}

void LayoutScene::addBox(LayoutItem *box)
{
    addItem(box);
    m_boxes.insert(box->objectName().toUpper(), box);
}

LayoutItem *LayoutScene::box(const QString &name) const
{
    return m_boxes.value(name.toUpper());
}

void LayoutScene::clearBoxes()
{
    m_grabbed = nullptr;
    m_startPositions.clear();
    qDeleteAll(m_boxes);
    m_boxes.clear();
}

void LayoutScene::removeBox(LayoutItem *box)
{
    if (m_grabbed == box)
        m_grabbed = nullptr;
    m_startPositions.remove(box);
    m_boxes.remove(box->objectName().toUpper());
    removeItem(box);
    box->setParent(this); // freed with the scene should the event loop not run again
    box->deleteLater();
}

QList<LayoutItem *> LayoutScene::selectedBoxes() const
{
    QList<LayoutItem *> selected;
    for (LayoutItem *box : m_boxes)
        if (box->isSelected())
            selected << box;
    return selected;
}

void LayoutScene::selectOnly(LayoutItem *box)
{
    const QString group = box ? box->group() : QString();
    for (LayoutItem *other : std::as_const(m_boxes))
        other->setSelected(box && other->group() == group);
}

void LayoutScene::selectGroup(const QString &group, bool on)
{
    for (LayoutItem *box : std::as_const(m_boxes))
        if (box->group() == group)
            box->setSelected(on);
}

LayoutItem *LayoutScene::boxAt(const QPointF &scenePos) const
{
    for (QGraphicsItem *item : items(scenePos)) {
        const QGraphicsObject *object = item->toGraphicsObject();
        if (!object)
            continue;
        if (LayoutItem *box = m_boxes.value(object->objectName().toUpper()); box == item)
            return box;
    }
    return nullptr;
}

void LayoutScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    LayoutItem *box = boxAt(event->scenePos());
    if (!box || event->button() != Qt::LeftButton) {
        event->ignore(); // the view draws its rubber band
        if (!box && event->button() == Qt::LeftButton)
            Q_EMIT picturePressed();
        return;
    }
    event->accept();
    m_resizing = box->onHandle(event->scenePos());
    if (m_selectsOnPress) { // otherwise the window answers boxPressed
        if (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))
            selectGroup(box->group(), !box->isSelected());
        else if (!box->isSelected())
            selectOnly(box);
    }
    QPointer<LayoutItem> pressed = box;
    Q_EMIT boxPressed(box, event->modifiers());
    if (!pressed)
        return;
    m_grabbed = pressed;
    m_pressAt = event->scenePos();
    m_startSize = pressed->size();
    m_moved = {};
    m_startPositions.clear();
    for (LayoutItem *selected : selectedBoxes())
        m_startPositions.insert(selected, selected->pos());
}

void LayoutScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    Q_EMIT pictureHovered(event->scenePos());
    if (!m_grabbed || !(event->buttons() & Qt::LeftButton) || !m_grabbed->isSelected())
        return;
    const QPoint delta = (event->scenePos() - m_pressAt).toPoint();
    if (delta == m_moved)
        return;
    m_moved = delta;
    if (m_resizing) {
        m_grabbed->resize(m_startSize + QSize(delta.x(), delta.y()));
        return;
    }
    for (auto it = m_startPositions.cbegin(); it != m_startPositions.cend(); ++it)
        if (it.key())
            it.key()->setPos(it.value() + delta);
    Q_EMIT boxesDragged(m_grabbed);
}

void LayoutScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QPointer<LayoutItem> grabbed = m_grabbed;
    m_grabbed = nullptr;
    if (!grabbed) {
        QGraphicsScene::mouseReleaseEvent(event);
        return;
    }
    Q_EMIT boxReleased(grabbed);
    if (grabbed && m_moved.isNull())
        Q_EMIT boxClicked(grabbed);
    else if (grabbed && m_resizing)
        Q_EMIT boxResized(grabbed, m_startSize);
    else if (grabbed)
        Q_EMIT boxesDropped(grabbed, m_moved);
    m_startPositions.clear();
}

void LayoutScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    // On a box the second click of a double click selects nothing more than the first.
    if (LayoutItem *box = boxAt(event->scenePos())) {
        event->accept();
        Q_EMIT boxDoubleClicked(box);
    } else {
        event->ignore();
    }
}
