#pragma once

#include <QString>
#include <QtGlobal>

// An Access (Jet) file copied out through mdbtools into a folder of plain streams: tablesFile()
// lists each user table with its columns, rowsFile() holds one table's rows. The library is
// not trusted with the program's memory: JetTableSource runs write() in a capped child process
// and reads the streams back.
namespace JetDump {

// Before each row, and once at the end of a table (Failed: followed by the reason).
enum class Mark : qint8 { End = 0, Row = 1, Failed = 2 };
// Before each value of a row (TooLarge: followed by the reason).
enum class Cell : qint8 { Null = 0, Text = 1, Bytes = 2, TooLarge = 3 };

QString tablesFile(const QString &dir);
QString rowsFile(const QString &dir, int table);

// Copies every user table of the Access file into `dir`; false with *error when the file is
// no readable Access database or the copy cannot be written.
bool write(const QString &accessPath, const QString &dir, QString *error);

} // namespace JetDump
