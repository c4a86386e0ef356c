#pragma once

#include <QString>
#include <functional>

// An Access (Jet) file copied out through mdbtools into a folder of records (see
// ReaderProtocol): the table list and one file of rows per table.
namespace JetDump {

// Called at the start of each table: tables done, tables in all.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Copies every user table of the Access file into `folder`; false with *error when the file
// is no readable Access database or the copy cannot be written.
bool write(const QString &accessPath, const QString &folder, const Progress &progress,
           QString *error);

} // namespace JetDump
