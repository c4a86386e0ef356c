#include "data/Spreadsheets.h"

#include "data/spreadsheet/BiffReader.h"
#include "data/spreadsheet/CsvReader.h"
#include "data/spreadsheet/XlsxReader.h"

#include <QFile>
#include <QFileInfo>

namespace {

using Fault = SpreadsheetReader::Fault;

std::unique_ptr<SpreadsheetReader> readerFor(const QString &path, const QByteArray &head,
                                             Fault &fault)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (head.startsWith("PK\x03\x04"))
        return std::make_unique<XlsxReader>(path);
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return std::make_unique<BiffReader>(path);
    if (suffix == u"csv")
        return std::make_unique<CsvReader>(path);
    const bool spreadsheet =
        suffix == u"xlsx" || suffix == u"xls" || suffix == u"xlw" || suffix == u"et";
    fault = spreadsheet ? Fault::Damaged : Fault::Unsupported;
    return nullptr;
}

} // namespace

QString Spreadsheets::readableFilter()
{
    return QStringLiteral("Excel(*.xls *.xlsx *.csv *.xlw *.et);;Excel(*.xlsx);;Excel(*.xls);;"
                          "Excel(*.csv);;WPS Excel(*.et)");
}

std::unique_ptr<SpreadsheetReader> Spreadsheets::open(const QString &path, QString &error,
                                                      const ReaderProcess::Progress &progress) const
{
    QFile file(path);
    Fault fault = Fault::NotFound;
    std::unique_ptr<SpreadsheetReader> reader;
    if (file.open(QIODevice::ReadOnly)) {
        fault = file.size() > SpreadsheetReader::kMaxFileBytes ? Fault::TooLarge : Fault::Empty;
        if (file.size() > 0 && fault != Fault::TooLarge)
            reader = readerFor(path, file.read(8), fault);
    }
    if (!reader) {
        error = SpreadsheetReader::faultText(fault, path);
        return nullptr;
    }
    reader->setProgress(progress);
    const bool loaded = reader->load();
    // Whoever watched this read need not be there for the next sheet.
    reader->setProgress({});
    if (!loaded) {
        error = reader->error();
        return nullptr;
    }
    error.clear();
    return reader;
}

std::unique_ptr<XlsxWriter> Spreadsheets::create(const QString &path) const
{
    return std::make_unique<XlsxWriter>(path);
}
