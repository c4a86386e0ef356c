#pragma once

#include "print/PrintDevice.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>

// The print device on Qt: the system's CUPS printers, or one PDF file. The document is
// rendered by QPrinter into a file; for a printer that file goes to CUPS only when the document
// ends, so an aborted document never reaches the paper and a refused job is reported.
class QtPrintDevice : public PrintDevice
{
public:
    // Shows the setup dialog over the printer; windows install it (this library has none).
    using SetupDialog = std::function<SetupResult(QPrinter &)>;

    QtPrintDevice();
    // Every document goes to this PDF file, on the form's own paper size.
    static std::unique_ptr<QtPrintDevice> pdfFile(const QString &path);
    ~QtPrintDevice() override;

    void setSetupDialog(SetupDialog dialog) { m_setupDialog = std::move(dialog); }
    QPrinter &printer();

    QStringList printers() override;
    bool selectPrinter(const QString &name) override;
    QString currentPrinter() override;
    bool setPage(const QSizeF &formSizeMm, bool landscape) override;
    bool setCopies(int copies) override;
    bool beginDocument() override;
    bool newPage() override;
    bool endDocument() override;
    void abortDocument() override;
    int resolutionX() override;
    int resolutionY() override;
    int physicalTopOffset() override;
    int physicalLeftOffset() override;
    void selectFont(const PrintFont &font) override;
    int averageCharWidth() override;
    bool drawText(int x, int y, const QString &text) override;
    bool drawLine(int x1, int y1, int x2, int y2) override;
    SetupResult setupDialog() override;
    QString errorText() const override { return m_lastError; }

private:
    bool isPdf() const { return !m_pdfPath.isEmpty(); }
    bool submitToCups();
    void closeDocument();

    QString m_pdfPath;
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QString m_spoolFile;
    int m_copies = 1;
    QFont m_font;
    PrintFont m_printFont;
    double m_ascent = 0;
    int m_averageWidth = 0;
    SetupDialog m_setupDialog;
    QString m_lastError;
};
