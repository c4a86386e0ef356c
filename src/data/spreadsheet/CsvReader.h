#pragma once

#include "data/spreadsheet/SpreadsheetReader.h"

#include <QByteArray>

// Delimited text as spreadsheet programs and shop systems save it: UTF-8 with or without a byte
// order mark, UTF-16 ("Unicode text"), otherwise GBK; fields separated by the comma, tab or
// semicolon that the title row uses; fields in double quotes may hold separators, quotes ("")
// and line breaks; Excel-safe cells ="00123" give their text. A quote left open or bytes that
// are not GBK refuse the file, naming the line. The one sheet is named after the file, as the
// spreadsheet programs do.
class CsvReader : public SpreadsheetReader
{
public:
    explicit CsvReader(QString path);
    // Text held in memory; `name` only names it in messages.
    CsvReader(QString name, QByteArray data);

    // The text of the bytes; `badLine` gets the first line (from 1) holding bytes that are
    // neither UTF-8 nor GBK, 0 when there is none.
    static QString decode(const QByteArray &bytes, int *badLine = nullptr);
    // The separator the first line uses most: ',', '\t' or ';' (',' when it has none).
    static QChar sniffDelimiter(QStringView text);

    // The file and its text are in memory together, the text at two bytes a character: a
    // larger file could not be read under a few hundred megabytes. Far beyond the cell limit's
    // worth of any list.
    static constexpr qint64 kMaxCsvBytes = qint64(64) << 20;

protected:
    int readWorkbook(QStringList &sheetNames, Fault &fault) override;
    bool readSheet(int index, Rows &rows, Fault &fault) override;
    qint64 fileLimit() const override { return kMaxCsvBytes; }

private:
    bool parse(QStringView text, Rows &rows, Fault &fault);

    QByteArray m_data;
    bool m_inMemory = false;
};
