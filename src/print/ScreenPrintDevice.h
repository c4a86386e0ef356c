#pragma once

#include "print/PrintDevice.h"

#include <QFont>
#include <QImage>
#include <QPainter>

// A print device over a picture at the screen's resolution: the preview draws through the
// engine onto it, so every value shows where it prints. The page is the paper from its top-left
// corner; there is no margin and a document never leaves the picture.
class ScreenPrintDevice : public PrintDevice
{
public:
    ScreenPrintDevice(QSize pixels, int ppi);
    ~ScreenPrintDevice() override;

    // What was drawn since the document began; transparent where nothing was.
    const QImage &image() const { return m_image; }

    QStringList printers() override { return {QStringLiteral("屏幕")}; }
    bool selectPrinter(const QString &) override { return true; }
    bool setPage(const QSizeF &, bool) override { return true; }
    bool setCopies(int) override { return true; }
    bool beginDocument() override;
    bool newPage() override;
    bool endDocument() override;
    void abortDocument() override;
    int resolutionX() override { return m_ppi; }
    int resolutionY() override { return m_ppi; }
    int physicalTopOffset() override { return 0; }
    void selectFont(const PrintFont &font) override;
    int averageCharWidth() override { return m_averageWidth; }
    bool drawText(int x, int y, const QString &text) override;
    bool drawLine(int x1, int y1, int x2, int y2) override;
    SetupResult setupDialog() override { return SetupResult::Failed; }

private:
    int m_ppi;
    QImage m_image;
    QPainter m_painter;
    QFont m_font;
    double m_ascent = 0;
    int m_averageWidth = 1;
};
