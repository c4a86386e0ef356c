#pragma once

#include "data/spreadsheet/SpreadsheetReader.h"

#include <QByteArray>

// Comma-separated text as spreadsheet programs save it: UTF-8 with or without a byte order
// mark, otherwise GBK; fields in double quotes may hold commas, quotes ("") and line breaks.
// The one sheet is named after the file, as the spreadsheet programs do.
class CsvReader : public SpreadsheetReader
{
public:
    explicit CsvReader(QString path);
    // Text held in memory; `name` only names it in messages.
    CsvReader(QString name, QByteArray data);

    static QString decode(const QByteArray &bytes);

protected:
    int readWorkbook(QStringList &sheetNames, Fault &fault) override;
    bool readSheet(int index, Rows &rows, Fault &fault) override;

private:
    static bool parse(QStringView text, Rows &rows, Fault &fault);

    QByteArray m_data;
    bool m_inMemory = false;
};
