#include "reader/WorkbookDump.h"

#include "base/FrameWriter.h"
#include "base/ReaderProtocol.h"
#include "data/spreadsheet/SpreadsheetReader.h"

#include <QFile>
#include <freexl.h>
#include <optional>

namespace WorkbookDump {

namespace {

using ReaderProtocol::Tag;
using Fault = SpreadsheetReader::Fault;

// Excel's own row limit; a sheet that claims more is damaged.
constexpr unsigned kMaxRows = 1048576;

struct Workbook
{
    const void *handle = nullptr;
    ~Workbook()
    {
        if (handle)
            freexl_close(handle);
    }
};

QByteArray cellPayload(unsigned row, unsigned column)
{
    QByteArray payload;
    FrameWriter::appendNumber(payload, quint32(row + 1));
    FrameWriter::appendNumber(payload, quint32(column + 1));
    return payload;
}

// The sheet names; a fault when the library refuses the file.
std::optional<Fault> writeSheetNames(FrameWriter &out, const void *handle)
{
    unsigned int value = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &value) != FREEXL_OK)
        return Fault::Damaged;
    if (value == FREEXL_BIFF_OBFUSCATED)
        return Fault::Encrypted;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &value) != FREEXL_OK)
        return Fault::Damaged;
    // The library finds a sheet's name by walking its list, so a huge count is slow as well
    // as absurd; it also numbers sheets in 16 bits.
    if (value > unsigned(SpreadsheetReader::kMaxSheets))
        return Fault::TooManySheets;
    for (unsigned int i = 0; i < value; ++i) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(handle, (unsigned short)i, &name) != FREEXL_OK)
            return Fault::Damaged;
        out.write(quint8(Tag::Sheet), QByteArray(name));
    }
    return std::nullopt;
}

std::optional<Fault> writeCells(FrameWriter &out, const void *handle, int sheet,
                                const Progress &progress)
{
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (sheet < 0 || sheet > 0xffff ||
        freexl_select_active_worksheet(handle, (unsigned short)sheet) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle, &rowCount, &columnCount) != FREEXL_OK ||
        rowCount > kMaxRows)
        return Fault::Damaged;
    qsizetype cells = 0;
    for (unsigned int r = 0; r < rowCount; ++r) {
        if (r % 4096 == 0)
            progress(r, rowCount);
        for (unsigned short c = 0; c < columnCount; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle, r, c, &cell) != FREEXL_OK)
                return Fault::Damaged;
            QByteArray payload = cellPayload(r, c);
            switch (cell.type) {
            case FREEXL_CELL_INT:
                FrameWriter::appendNumber(payload, double(cell.value.int_value));
                out.write(quint8(Tag::CellNumber), payload);
                break;
            case FREEXL_CELL_DOUBLE:
                FrameWriter::appendNumber(payload, cell.value.double_value);
                out.write(quint8(Tag::CellNumber), payload);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                if (!cell.value.text_value || !*cell.value.text_value)
                    continue;
                payload.append(cell.value.text_value);
                out.write(quint8(Tag::CellText), payload);
                break;
            default:
                continue;
            }
            // The program refuses more anyway; stop before the output grows without use.
            if (++cells > SpreadsheetReader::kMaxCells)
                return Fault::TooManyCells;
        }
    }
    return std::nullopt;
}

} // namespace

bool write(const QString &workbookPath, const QString &outputPath, int sheet,
           const Progress &progress, bool *refused)
{
    QFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    FrameWriter out(&file);
    Workbook book;
    std::optional<Fault> fault;
    const int opened = freexl_open(QFile::encodeName(workbookPath).constData(), &book.handle);
    if (opened != FREEXL_OK)
        fault = opened == FREEXL_FILE_NOT_FOUND ? Fault::NotFound : Fault::Damaged;
    if (!fault)
        fault = writeSheetNames(out, book.handle);
    if (!fault)
        fault = writeCells(out, book.handle, sheet, progress);
    *refused = fault.has_value();
    if (fault) {
        // What was written before the fault is of no use: the answer is the fault alone.
        file.resize(0);
        file.seek(0);
        out.write(quint8(Tag::Failed), QByteArray(1, char(*fault)));
    } else {
        out.write(quint8(Tag::End));
    }
    return out.ok() && file.flush();
}

} // namespace WorkbookDump
