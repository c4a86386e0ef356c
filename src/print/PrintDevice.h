#pragma once

#include <QColor>
#include <QSizeF>
#include <QString>
#include <QStringList>

// A font as a template names it: the face is the Windows face of the template ("宋体"); the
// device maps it to an installed family.
struct PrintFont
{
    QString face;
    int pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour = Qt::black;

    bool operator==(const PrintFont &) const = default;
};

// What the print engine needs of a printer. Positions are device pixels of the printable area;
// every operation that can fail answers false, so the engine can abort and tell the user.
class PrintDevice
{
public:
    enum class SetupResult { Accepted, Cancelled, Failed };

    virtual ~PrintDevice() = default;

    virtual QStringList printers() = 0;
    virtual bool selectPrinter(const QString &name) = 0;
    // The printer documents go to, the name its calibration is stored under; empty: unknown.
    virtual QString currentPrinter() { return {}; }
    // The form's paper as drawn (width to the right); `landscape` feeds it sideways. False when
    // the printer cannot take that size: it keeps the paper the user set up.
    virtual bool setPage(const QSizeF &formSizeMm, bool landscape) = 0;
    virtual bool setCopies(int copies) = 0;

    virtual bool beginDocument() = 0;
    virtual bool newPage() = 0;
    // The document is complete and handed to the printer (or its file is written).
    virtual bool endDocument() = 0;
    // Throws away the open document: nothing of it reaches the paper or the file.
    virtual void abortDocument() = 0;

    virtual int resolutionX() = 0;
    virtual int resolutionY() = 0;
    // Distance of the printable area from the paper's top and left edges; positions count from
    // the paper's edges, so the engine takes both off.
    virtual int physicalTopOffset() = 0;
    virtual int physicalLeftOffset() { return 0; }

    virtual void selectFont(const PrintFont &font) = 0;
    virtual int averageCharWidth() = 0;
    // Draws with the text's top-left corner at (x, y), in the selected font.
    virtual bool drawText(int x, int y, const QString &text) = 0;
    // A thin line of ink between two device positions: the crosses of the calibration sheet.
    virtual bool drawLine(int x1, int y1, int x2, int y2) = 0;

    // The system's printer setup dialog over this device's printer.
    virtual SetupResult setupDialog() = 0;

    // What the printer system said about the last failure, for the user; may be empty.
    virtual QString errorText() const { return {}; }
};
