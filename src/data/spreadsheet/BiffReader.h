#pragma once

#include "data/spreadsheet/SpreadsheetReader.h"

// Binary workbooks (.xls, .xlw, and the .et files of the Chinese office suite, which use the
// same format), read with FreeXL.
class BiffReader : public SpreadsheetReader
{
public:
    explicit BiffReader(QString path);
    ~BiffReader() override;

protected:
    int readWorkbook(QStringList &sheetNames, Fault &fault) override;
    bool readSheet(int index, Rows &rows, Fault &fault) override;

private:
    // A password-protected xlsx is a compound file too, holding an encrypted package.
    bool isEncryptedPackage() const;
    // Whether the library may be given the file; see CompoundFileCheck.
    bool isSafeForLibrary() const;

    const void *m_handle = nullptr;
};
