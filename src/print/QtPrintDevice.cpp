#include "print/QtPrintDevice.h"

#include "print/DeviceFont.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPen>
#include <QPrintEngine>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cups/cups.h>

namespace {

const QString kPdfPrinter = QStringLiteral("PDF");
// Options the printer's own setup dialog chose (paper tray, ...), as name/value pairs; the key
// Qt's CUPS support keeps them under.
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

} // namespace

QtPrintDevice::QtPrintDevice() = default;

std::unique_ptr<QtPrintDevice> QtPrintDevice::pdfFile(const QString &path)
{
    auto device = std::make_unique<QtPrintDevice>();
    device->m_pdfPath = path;
    return device;
}

QtPrintDevice::~QtPrintDevice()
{
    abortDocument();
}

QPrinter &QtPrintDevice::printer()
{
    // Made on first use: asking CUPS for its printers is not free, and most runs never print.
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setDocName(QStringLiteral("岚砚票据打印"));
        if (isPdf()) {
            m_printer->setOutputFormat(QPrinter::PdfFormat);
            m_printer->setOutputFileName(m_pdfPath);
        }
    }
    return *m_printer;
}

QStringList QtPrintDevice::printers()
{
    return isPdf() ? QStringList{kPdfPrinter} : QPrinterInfo::availablePrinterNames();
}

bool QtPrintDevice::selectPrinter(const QString &name)
{
    if (isPdf())
        return name == kPdfPrinter;
    // QPrinter turns itself into a PDF writer when given a name CUPS does not know.
    if (!QPrinterInfo::availablePrinterNames().contains(name))
        return false;
    if (printer().outputFormat() != QPrinter::NativeFormat)
        printer().setOutputFormat(QPrinter::NativeFormat);
    printer().setPrinterName(name);
    return printer().printerName() == name;
}

QString QtPrintDevice::currentPrinter()
{
    return isPdf() ? kPdfPrinter : printer().printerName();
}

bool QtPrintDevice::setPage(const QSizeF &formSizeMm, bool landscape)
{
    // The printer's paper is defined upright; fed landscape, the form lies across it.
    const QPageSize size(landscape ? formSizeMm.transposed() : formSizeMm, QPageSize::Millimeter,
                         QString(), QPageSize::ExactMatch);
    const auto orientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (isPdf())
        return printer().setPageLayout(QPageLayout(size, orientation, QMarginsF()));
    printer().setPageOrientation(orientation);
    const QPrinterInfo info(printer());
    const QList<QPageSize> sizes = info.supportedPageSizes();
    const bool offered = std::any_of(sizes.begin(), sizes.end(),
                                     [&](const QPageSize &s) { return s.isEquivalentTo(size); });
    if (!info.supportsCustomPageSizes() && !offered)
        return false;
    if (!printer().setPageSize(size))
        return false;
    // The painter's origin is where the driver can first print, not Qt's default margin: the
    // engine takes that origin off both axes, so every value lands where the form has it.
    const QPageLayout layout = printer().pageLayout();
    return printer().setPageMargins(layout.minimumMargins(), layout.units());
}

bool QtPrintDevice::setCopies(int copies)
{
    // A PDF file holds one copy; the copies are the printer's business.
    m_copies = std::max(1, copies);
    return true;
}

bool QtPrintDevice::beginDocument()
{
    m_lastError.clear();
    if (m_painter.isActive())
        abortDocument();
    if (!isPdf()) {
        if (!QPrinterInfo::availablePrinterNames().contains(printer().printerName())) {
            m_lastError = u"打印机“" + printer().printerName() + u"”已不可用。";
            return false;
        }
        QTemporaryFile spool(QDir::tempPath() + u"/lanyan-print-XXXXXX.job");
        spool.setAutoRemove(false);
        if (!spool.open())
            return false;
        m_spoolFile = spool.fileName();
        spool.close();
        printer().setOutputFileName(m_spoolFile);
    }
    if (!m_painter.begin(&printer())) {
        closeDocument();
        return false;
    }
    m_printFont = {};
    m_averageWidth = 0;
    return true;
}

bool QtPrintDevice::newPage()
{
    return m_painter.isActive() && printer().newPage();
}

bool QtPrintDevice::endDocument()
{
    if (!m_painter.isActive())
        return false;
    const bool written = m_painter.end() && printer().printerState() != QPrinter::Error;
    if (isPdf()) {
        if (!written)
            QFile::remove(m_pdfPath);
        return written;
    }
    const bool sent = written && submitToCups();
    closeDocument();
    return sent;
}

void QtPrintDevice::abortDocument()
{
    if (!m_painter.isActive())
        return;
    printer().abort();
    m_painter.end();
    if (isPdf())
        QFile::remove(m_pdfPath);
    closeDocument();
}

void QtPrintDevice::closeDocument()
{
    if (m_spoolFile.isEmpty())
        return;
    printer().setOutputFileName(QString());
    QFile::remove(m_spoolFile);
    m_spoolFile.clear();
}

bool QtPrintDevice::submitToCups()
{
    const QByteArray destination = printer().printerName().section(u'/', 0, 0).toLocal8Bit();
    const QPageLayout layout = printer().pageLayout();
    cups_option_t *options = nullptr;
    int count = 0;
    count =
        cupsAddOption("media", layout.pageSize().key().toLocal8Bit().constData(), count, &options);
    count = cupsAddOption("sides", "one-sided", count, &options);
    if (m_copies > 1)
        count = cupsAddOption("copies", QByteArray::number(m_copies).constData(), count, &options);
    if (layout.orientation() == QPageLayout::Landscape)
        count = cupsAddOption("landscape", "", count, &options);
    const QStringList chosen = printer().printEngine()->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        count = cupsAddOption(chosen[i].toLocal8Bit().constData(),
                              chosen[i + 1].toLocal8Bit().constData(), count, &options);
    const int job = cupsPrintFile(destination.constData(), m_spoolFile.toLocal8Bit().constData(),
                                  printer().docName().toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job <= 0)
        m_lastError = QString::fromLocal8Bit(cupsLastErrorString());
    return job > 0;
}

int QtPrintDevice::resolutionX()
{
    return printer().logicalDpiX();
}

int QtPrintDevice::resolutionY()
{
    return printer().logicalDpiY();
}

int QtPrintDevice::physicalTopOffset()
{
    return printer().pageLayout().paintRectPixels(printer().resolution()).top();
}

int QtPrintDevice::physicalLeftOffset()
{
    return printer().pageLayout().paintRectPixels(printer().resolution()).left();
}

void QtPrintDevice::selectFont(const PrintFont &font)
{
    if (font == m_printFont && m_averageWidth > 0)
        return;
    m_printFont = font;
    m_font = deviceFont(font);
    m_ascent = QFontMetricsF(m_font, &printer()).ascent();
    m_averageWidth = deviceAverageCharWidth(font, m_font, &printer(), resolutionY());
    if (m_painter.isActive()) {
        m_painter.setFont(m_font);
        m_painter.setPen(font.colour);
    }
}

int QtPrintDevice::averageCharWidth()
{
    return m_averageWidth;
}

bool QtPrintDevice::drawText(int x, int y, const QString &text)
{
    if (!m_painter.isActive())
        return false;
    m_painter.drawText(QPointF(x, y + m_ascent), text);
    return true;
}

bool QtPrintDevice::drawLine(int x1, int y1, int x2, int y2)
{
    if (!m_painter.isActive())
        return false;
    // A hair line a clerk can measure to a tenth of a millimetre.
    m_painter.setPen(QPen(Qt::black, printer().resolution() / 254.0 * 2));
    m_painter.drawLine(x1, y1, x2, y2);
    m_painter.setPen(m_printFont.colour);
    return true;
}

PrintDevice::SetupResult QtPrintDevice::setupDialog()
{
    return m_setupDialog ? m_setupDialog(printer()) : SetupResult::Failed;
}
