#include "templates/ui/LayoutItem.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

const QColor kFirst(175, 186, 231);
const QColor kSelected(255, 0, 0);
const QColor kUnselected(160, 177, 243);
const QColor kPiece(132, 161, 249);
constexpr qreal kHandle = 6;

} // namespace

LayoutItem::LayoutItem(Kind kind, const QString &name, const QString &text)
    : m_kind(kind)
    , m_text(text)
    , m_size(kind == Kind::Text ? QSize(50, 18) : QSize(60, 20))
{
    setObjectName(name);
    setFlag(ItemIsSelectable);
    if (kind == Kind::Frame)
        setToolTip(text);
}

void LayoutItem::setText(const QString &text)
{
    m_text = text;
    update();
}

void LayoutItem::setFont(const QFont &font)
{
    m_font = font;
    update();
}

void LayoutItem::setTransparent(bool on)
{
    m_transparent = on;
    update();
}

QRect LayoutItem::geometry() const
{
    return {pos().toPoint(), m_size};
}

void LayoutItem::setGeometry(const QRect &rect)
{
    setPos(rect.topLeft());
    resize(rect.size());
}

void LayoutItem::resize(const QSize &size)
{
    prepareGeometryChange();
    m_size = size.expandedTo(QSize(1, 1));
}

bool LayoutItem::onHandle(const QPointF &scenePos) const
{
    return m_resizable && isSelected() && handleRect().contains(mapFromScene(scenePos));
}

void LayoutItem::raise()
{
    qreal top = zValue();
    if (scene()) {
        for (QGraphicsItem *other : scene()->items())
            if (other != this)
                top = std::max(top, other->zValue() + 1);
    }
    setZValue(top);
}

QRectF LayoutItem::handleRect() const
{
    return {m_size.width() - kHandle / 2, m_size.height() - kHandle / 2, kHandle, kHandle};
}

QRectF LayoutItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), m_size).united(handleRect());
}

void LayoutItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *widget)
{
    const QRectF box(QPointF(0, 0), m_size);
    const bool selected = isSelected();
    const QColor fill = selected ? kSelected : m_wasSelected ? kUnselected : kFirst;
    painter->setFont(widget ? widget->font() : QApplication::font());
    switch (m_kind) {
    case Kind::Text:
        painter->fillRect(box, fill);
        painter->setPen(Qt::black);
        painter->drawText(box.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_text);
        break;
    case Kind::Frame:
        painter->setPen(QPen(selected || !m_wasSelected ? QColor(Qt::red) : QColor(Qt::blue), 2));
        painter->drawRect(box.adjusted(1, 1, -1, -1));
        break;
    case Kind::Tick: {
        if (m_wasSelected || selected)
            painter->fillRect(box, fill);
        QStyleOptionButton tick;
        tick.rect = box.toRect();
        tick.text = m_text;
        tick.state = QStyle::State_Enabled | QStyle::State_Off;
        QApplication::style()->drawControl(QStyle::CE_CheckBox, &tick, painter, widget);
        break;
    }
    case Kind::Piece:
        if (fillsBackground())
            painter->fillRect(box, selected ? kSelected : kPiece);
        painter->setFont(m_font);
        painter->setPen(Qt::black);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignTop, m_text);
        break;
    }
    if (selected && m_resizable)
        painter->fillRect(handleRect(), Qt::black);
}

QVariant LayoutItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedHasChanged && !value.toBool())
        m_wasSelected = true;
    return QGraphicsObject::itemChange(change, value);
}
