#include "data/spreadsheet/BiffReader.h"

#include "data/spreadsheet/CompoundFileCheck.h"

#include <QFile>
#include <freexl.h>

BiffReader::BiffReader(QString path)
    : SpreadsheetReader(std::move(path))
{}

BiffReader::~BiffReader()
{
    if (m_handle)
        freexl_close(m_handle);
}

bool BiffReader::isEncryptedPackage() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Directory entries name their streams in UTF-16.
    static const QByteArray name = QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e", 31);
    return file.readAll().contains(name);
}

bool BiffReader::isSafeForLibrary() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return true; // refused before, or reported by the library
    return CompoundFileCheck::isSafeForLibrary(file.readAll());
}

int BiffReader::readWorkbook(QStringList &sheetNames, Fault &fault)
{
    fault = Fault::Damaged;
    if (!isSafeForLibrary())
        return -1;
    const int opened = freexl_open(QFile::encodeName(path()).constData(), &m_handle);
    if (opened != FREEXL_OK) {
        if (opened == FREEXL_FILE_NOT_FOUND)
            fault = Fault::NotFound;
        else if (isEncryptedPackage())
            fault = Fault::Encrypted;
        return -1;
    }
    unsigned int value = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &value) != FREEXL_OK)
        return -1;
    if (value == FREEXL_BIFF_OBFUSCATED) {
        fault = Fault::Encrypted;
        return -1;
    }
    if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &value) != FREEXL_OK)
        return -1;
    // The library finds a sheet's name by walking its list, so a huge count is slow as well
    // as absurd; it also numbers sheets in 16 bits.
    if (value > unsigned(kMaxSheets)) {
        fault = Fault::TooManySheets;
        return -1;
    }
    for (unsigned int i = 0; i < value; ++i) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(m_handle, (unsigned short)i, &name) != FREEXL_OK)
            return -1;
        sheetNames << QString::fromUtf8(name);
    }
    // The file's active tab is not offered by the library; the first sheet is what a
    // spreadsheet program shows for most files.
    return 0;
}

bool BiffReader::readSheet(int index, Rows &rows, Fault &fault)
{
    fault = Fault::Damaged;
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (freexl_select_active_worksheet(m_handle, (unsigned short)index) != FREEXL_OK ||
        freexl_worksheet_dimensions(m_handle, &rowCount, &columnCount) != FREEXL_OK)
        return false;
    if (rowCount > unsigned(kMaxRows)) // 32 bits in the file, at most 65,536 in any real one
        return false;
    for (unsigned int r = 0; r < rowCount; ++r) {
        for (unsigned short c = 0; c < columnCount; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(m_handle, r, c, &cell) != FREEXL_OK)
                return false;
            QString text;
            switch (cell.type) {
            case FREEXL_CELL_INT:
                text = QString::number(cell.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                text = numberText(cell.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                text = QString::fromUtf8(cell.value.text_value);
                break;
            default:
                break;
            }
            if (!setCell(rows, int(r) + 1, int(c) + 1, text, fault))
                return false;
        }
    }
    return true;
}
