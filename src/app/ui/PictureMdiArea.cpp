#include "app/ui/PictureMdiArea.h"

#include <QPainter>

PictureMdiArea::PictureMdiArea(QWidget *parent)
    : QMdiArea(parent)
{
    setBackground(QColor(196, 219, 244));
}

void PictureMdiArea::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    viewport()->update();
}

void PictureMdiArea::paintEvent(QPaintEvent *event)
{
    if (m_picture.isNull()) {
        QMdiArea::paintEvent(event);
        return;
    }
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(viewport()->rect(), m_picture);
}
