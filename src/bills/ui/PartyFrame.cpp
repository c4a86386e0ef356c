#include "bills/ui/PartyFrame.h"

#include <QMouseEvent>
#include <QPainter>

PartyFrame::PartyFrame(Qt::PenStyle pen, const QString &hint, QWidget *parent)
    : QWidget(parent)
    , m_pen(pen)
{
    setToolTip(hint);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PartyFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_hatched)
        p.fillRect(rect(), QBrush(Qt::red, Qt::BDiagPattern));
    p.setPen(QPen(Qt::red, 2, m_pen));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

void PartyFrame::mouseMoveEvent(QMouseEvent *event)
{
    const int y = int(event->position().y());
    const bool inside = y > 5 && y < height() - 5;
    if (inside != m_hatched) {
        m_hatched = inside;
        update();
    }
}

void PartyFrame::leaveEvent(QEvent *)
{
    m_hatched = false;
    update();
}

void PartyFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT picked();
}
