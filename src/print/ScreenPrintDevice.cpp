#include "print/ScreenPrintDevice.h"

#include "print/DeviceFont.h"

#include <QFontMetricsF>

ScreenPrintDevice::ScreenPrintDevice(QSize pixels, int ppi)
    : m_ppi(ppi)
    , m_image(pixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied)
{
    // Points become pixels at the screen's resolution, as they do on the printer at its own.
    const int dotsPerMetre = qRound(ppi / 0.0254);
    m_image.setDotsPerMeterX(dotsPerMetre);
    m_image.setDotsPerMeterY(dotsPerMetre);
    m_image.fill(Qt::transparent);
}

ScreenPrintDevice::~ScreenPrintDevice()
{
    abortDocument();
}

bool ScreenPrintDevice::beginDocument()
{
    abortDocument();
    m_image.fill(Qt::transparent);
    if (!m_painter.begin(&m_image))
        return false;
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    return true;
}

bool ScreenPrintDevice::newPage()
{
    // One picture shows one bill: a new page starts it afresh.
    if (!m_painter.isActive())
        return false;
    m_painter.setCompositionMode(QPainter::CompositionMode_Clear);
    m_painter.fillRect(m_image.rect(), Qt::transparent);
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    return true;
}

bool ScreenPrintDevice::endDocument()
{
    return m_painter.isActive() && m_painter.end();
}

void ScreenPrintDevice::abortDocument()
{
    if (m_painter.isActive())
        m_painter.end();
}

void ScreenPrintDevice::selectFont(const PrintFont &font)
{
    m_font = deviceFont(font);
    m_ascent = QFontMetricsF(m_font, &m_image).ascent();
    m_averageWidth = deviceAverageCharWidth(font, m_font, &m_image, m_ppi);
    if (m_painter.isActive()) {
        m_painter.setFont(m_font);
        m_painter.setPen(font.colour);
    }
}

bool ScreenPrintDevice::drawText(int x, int y, const QString &text)
{
    if (!m_painter.isActive())
        return false;
    m_painter.drawText(QPointF(x, y + m_ascent), text);
    return true;
}

bool ScreenPrintDevice::drawLine(int x1, int y1, int x2, int y2)
{
    if (!m_painter.isActive())
        return false;
    const QPen text = m_painter.pen();
    m_painter.setPen(QPen(Qt::black, 1));
    m_painter.drawLine(x1, y1, x2, y2);
    m_painter.setPen(text);
    return true;
}
