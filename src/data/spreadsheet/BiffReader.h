#pragma once

#include "data/spreadsheet/SpreadsheetReader.h"

#include <optional>

class QIODevice;

// Binary workbooks (.xls, .xlw, and the .et files of the Chinese office suite, which use the
// same format), read with FreeXL in the reader helper: the library is not trusted with the
// program's memory on a damaged file.
class BiffReader : public SpreadsheetReader
{
public:
    explicit BiffReader(QString path);

protected:
    int readWorkbook(QStringList &sheetNames, Fault &fault) override;
    bool readSheet(int index, Rows &rows, Fault &fault) override;
    // Reads what the helper answered for a sheet (and the sheet names when `names` is given).
    static bool readAnswer(QIODevice &answer, QStringList *names, Rows &rows, Fault &fault);

private:
    // A password-protected xlsx is a compound file too, holding an encrypted package.
    bool isEncryptedPackage() const;
    // Whether the library may be given the file; see CompoundFileCheck.
    bool isSafeForLibrary() const;
    // Has the helper read sheet `index`, with the sheet names when `names` is given.
    bool read(int index, QStringList *names, Rows &rows, Fault &fault);

    // The first sheet, read together with the sheet names.
    std::optional<Rows> m_first;
};
