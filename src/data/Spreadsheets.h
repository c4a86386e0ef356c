#pragma once

#include "data/spreadsheet/SpreadsheetReader.h"
#include "data/spreadsheet/XlsxWriter.h"

#include <memory>

// Reading and writing the spreadsheets the imports and exports exchange with the user:
// .xlsx, .xls, .xlw, .et and .csv are read, .xlsx is written.
class Spreadsheets
{
public:
    // The file chooser's filter for everything open() reads.
    static QString readableFilter();

    // Opens a workbook with its active sheet read. The format is told by the file's content,
    // so a workbook saved under the wrong extension still opens. On failure answers null and
    // sets `error` to a message naming the file. `progress` watches this read where it runs in
    // the reader helper, and may stop it (see SpreadsheetReader::setProgress for later ones).
    std::unique_ptr<SpreadsheetReader> open(const QString &path, QString &error,
                                            const ReaderProcess::Progress &progress = {}) const;

    std::unique_ptr<XlsxWriter> create(const QString &path) const;
};
