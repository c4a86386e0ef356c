#include "data/spreadsheet/BiffReader.h"

#include <QFile>
#include <QtEndian>
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

bool BiffReader::hasSaneDirectory() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return true; // the library reports what it cannot read
    const QByteArray header = file.read(512);
    if (header.size() < 512)
        return true;
    const int shift = qFromLittleEndian<quint16>(header.constData() + 30);
    const quint32 start = qFromLittleEndian<quint32>(header.constData() + 48);
    if (shift != 9 && shift != 12)
        return true;
    const qint64 sectorSize = qint64(1) << shift;
    // Where the library looks: its offset is computed in 32 bits and wraps round.
    if (!file.seek(quint32((start + 1) * quint32(sectorSize))))
        return true;
    // The library converts each entry's name with the length the file gives, which may
    // reach past the 64 bytes the name has.
    const QByteArray directory = file.read(sectorSize);
    for (qsizetype at = 0; at + 128 <= directory.size(); at += 128) {
        if (qFromLittleEndian<quint16>(directory.constData() + at + 64) > 64)
            return false;
    }
    return true;
}

int BiffReader::readWorkbook(QStringList &sheetNames, Fault &fault)
{
    fault = Fault::Damaged;
    if (!hasSaneDirectory())
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
        fault = Fault::TooLarge;
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
