#pragma once

#include <QString>
#include <functional>

// A binary workbook (.xls, .xlw, .et) read through FreeXL into one file of records (see
// ReaderProtocol): the sheet names and the cells of one sheet.
namespace WorkbookDump {

// Called every few thousand rows: rows read, rows in the sheet.
using Progress = std::function<void(qint64 done, qint64 total)>;

// False when the output cannot be written; a file the library refuses is answered in the
// output (Failed and why), and so is a sound one.
bool write(const QString &workbookPath, const QString &outputPath, int sheet,
           const Progress &progress, bool *refused);

} // namespace WorkbookDump
