#pragma once

#include "base/IniFile.h"

#include <memory>

// ImportLog.txt in the data home: an INI file in GBK with the sections INFO (File, Total,
// Finish), LOG (why row N was not stored, or was cut) and ERR (rows the database refused).
class ImportLog
{
public:
    explicit ImportLog(const QString &runPath);

    static QString fileName(const QString &runPath);
    const QString &path() const { return m_ini.path(); }

    // Erases the three sections; false when the file cannot be written.
    bool start();
    bool info(const QString &key, const QString &value);
    bool log(int row, const QString &reason);
    bool error(int row, const QString &reason);

    // Whether everything written is on disk.
    bool flush();

    // Holds the writes of many rows until it ends, when the file is written once.
    std::unique_ptr<IniFile::Batch> batch() { return std::make_unique<IniFile::Batch>(m_ini); }

private:
    IniFile m_ini;
};
