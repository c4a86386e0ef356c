#pragma once

#include "print/PrintDevice.h"

#include <QLine>
#include <QList>
#include <QSet>

// A print device that records what the engine asked of it. Resolution and offsets are chosen
// so positions are easy to compute by hand; failures can be switched on per operation.
class RecordingPrintDevice : public PrintDevice
{
public:
    struct Text
    {
        int x;
        int y;
        QString text;
        PrintFont font;
    };

    QStringList installed{QStringLiteral("Office Laser"), QStringLiteral("Bill Printer")};
    int dpiX = 600;
    int dpiY = 600;
    int topOffset = 0;
    int leftOffset = 0;
    SetupResult setupAnswer = SetupResult::Accepted;
    // Operation names ("begin", "newPage", "end", "draw") that fail from now on.
    QSet<QString> failing;

    // Everything asked, in order: "select:Bill Printer", "page:230x127:portrait", "copies:3",
    // "begin", "newPage", "end", "abort", "setup".
    QStringList calls;
    QList<Text> texts;
    QList<QLine> lines;
    QString selected;

    // Average width of the selected font: half its size in pixels, as for CJK faces.
    int averageWidthFor(const PrintFont &font) const { return font.pointSize * dpiX / 72 / 2; }
    int count(const QString &call) const { return int(calls.count(call)); }

    QStringList printers() override { return installed; }
    bool selectPrinter(const QString &name) override;
    QString currentPrinter() override { return selected; }
    bool setPage(const QSizeF &formSizeMm, bool landscape) override;
    bool setCopies(int copies) override;
    bool beginDocument() override { return record(QStringLiteral("begin")); }
    bool newPage() override { return record(QStringLiteral("newPage")); }
    bool endDocument() override { return record(QStringLiteral("end")); }
    void abortDocument() override { calls << QStringLiteral("abort"); }
    int resolutionX() override { return dpiX; }
    int resolutionY() override { return dpiY; }
    int physicalTopOffset() override { return topOffset; }
    int physicalLeftOffset() override { return leftOffset; }
    void selectFont(const PrintFont &font) override { m_font = font; }
    int averageCharWidth() override { return averageWidthFor(m_font); }
    bool drawText(int x, int y, const QString &text) override;
    bool drawLine(int x1, int y1, int x2, int y2) override;
    SetupResult setupDialog() override;

private:
    bool record(const QString &call);

    PrintFont m_font;
};
