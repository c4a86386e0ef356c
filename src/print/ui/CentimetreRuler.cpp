#include "print/ui/CentimetreRuler.h"

#include "print/PreviewLayout.h"

#include <QLabel>
#include <QPainter>

CentimetreRuler::CentimetreRuler(Qt::Orientation orientation, int centimetres, int ppi,
                                 const QString &labelPrefix,
                                 const std::function<QString(int)> &label, QWidget *parent)
    : QWidget(parent)
    , m_orientation(orientation)
    , m_ppi(ppi)
    , m_ticks(PreviewLayout::rulerTicks(centimetres, ppi))
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 250, 225));
    setPalette(pal);

    const bool horizontal = orientation == Qt::Horizontal;
    int extent = length();
    QFont small = font();
    small.setPixelSize(10);
    for (int n = 0; n <= centimetres; ++n) {
        const QString text = label(n);
        if (text.isEmpty())
            continue;
        auto *lab = new QLabel(text, this);
        lab->setObjectName(labelPrefix + QString::number(n));
        lab->setFont(small);
        lab->adjustSize();
        const int tick = m_ticks[n];
        if (horizontal) {
            // The first and the last label start at their mark, so neither hangs over the
            // ruler's end; the others stand centred on theirs.
            const int left = n == 0 || n == centimetres ? tick + 2 : tick - lab->width() / 2;
            lab->move(left, (kThickness - lab->height()) / 2);
            extent = std::max(extent, left + lab->width());
        } else {
            lab->move((kThickness - lab->width()) / 2, tick - lab->height() / 2);
            extent = std::max(extent, tick + lab->height() / 2);
        }
    }
    if (horizontal)
        setFixedSize(extent, kThickness);
    else
        setFixedSize(kThickness, extent);
}

void CentimetreRuler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(QColor(90, 70, 40));
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int cm = int(m_ticks.size()) - 1;
    const auto mark = [&](int at, int size) {
        if (horizontal) {
            p.drawLine(at, 0, at, size);
            p.drawLine(at, kThickness - 1 - size, at, kThickness - 1);
        } else {
            p.drawLine(0, at, size, at);
            p.drawLine(kThickness - 1 - size, at, kThickness - 1, at);
        }
    };
    for (int mm = 0; mm <= cm * 10; ++mm) {
        const int at = PreviewLayout::screenPixels(10 * mm, m_ppi);
        mark(at, mm % 10 == 0 ? 7 : (mm % 5 == 0 ? 5 : 3));
    }
    if (horizontal)
        p.drawLine(0, kThickness - 1, m_ticks.back(), kThickness - 1);
    else
        p.drawLine(kThickness - 1, 0, kThickness - 1, m_ticks.back());
}
