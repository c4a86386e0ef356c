#include "data/spreadsheet/SpreadsheetReader.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#ifdef __GLIBC__
#include <malloc.h>
#endif

SpreadsheetReader::SpreadsheetReader(QString path)
    : m_path(std::move(path))
{}

SpreadsheetReader::~SpreadsheetReader()
{
    // The reader's parts are freed by now but for the cells; once they go, the memory of the
    // whole read goes back to the system.
    std::vector<std::vector<Cell>>().swap(m_rows);
    returnFreedMemory();
}

QString SpreadsheetReader::faultText(Fault fault, const QString &path)
{
    static const QString kSplit = QStringLiteral("请把数据分成几个较小的文件后再试。");
    const QString name = u"“" + QDir::toNativeSeparators(path) + u"”";
    switch (fault) {
    case Fault::NotFound:
        return u"找不到文件" + name + u"，或没有读取它的权限。";
    case Fault::Empty:
        return u"文件" + name + u"是空的，没有可读取的数据。";
    case Fault::Damaged:
        return u"文件" + name + u"已损坏或不是有效的电子表格，无法读取。";
    case Fault::Encrypted:
        return u"文件" + name + u"设置了密码保护，请在电子表格软件中取消密码并另存后再试。";
    case Fault::NoSheets:
        return u"文件" + name + u"中没有工作表。";
    case Fault::TooLarge:
        return u"文件" + name + u"过大，无法读取：文件（及其中解压后的每一部分）最大 " +
               QString::number(kMaxFileBytes >> 20) + u" MB。" + kSplit;
    case Fault::TooManySheets:
        return u"文件" + name + u"过大，无法读取：工作表最多 " + QString::number(kMaxSheets) +
               u" 个。" + kSplit;
    case Fault::TooManyCells:
        return u"文件" + name + u"过大，无法读取：每个工作表最多 " + QString::number(kMaxCells) +
               u" 个有内容的单元格。" + kSplit;
    case Fault::TooMuchText:
        return u"文件" + name + u"过大，无法读取：共用的文字最多 " +
               QString::number(kMaxSharedTextBytes >> 20) + u" MB。" + kSplit;
    case Fault::Aborted:
        return u"已中止读取文件" + name + u"。";
    case Fault::Unsupported:
        break;
    }
    return u"不支持文件" + name + u"的格式，请选择 xls、xlsx、csv、xlw 或 et 文件。";
}

bool SpreadsheetReader::load()
{
    Fault fault = Fault::Damaged;
    QStringList names;
    const int active = readWorkbook(names, fault);
    if (active < 0)
        return fail(fault);
    if (names.isEmpty())
        return fail(Fault::NoSheets);
    if (names.size() > kMaxSheets)
        return fail(Fault::TooManySheets);
    m_sheetNames = names;
    return activate(qBound(0, active, int(names.size()) - 1));
}

bool SpreadsheetReader::activate(int index)
{
    if (index < 0 || index >= m_sheetNames.size())
        return fail(Fault::NoSheets);
    Rows rows;
    Fault fault = Fault::Damaged;
    if (!readSheet(index, rows, fault))
        return fail(fault);
    trim(rows, m_columns);
    m_rows = std::move(rows.cells);
    m_active = index;
    m_error.clear();
    returnFreedMemory();
    return true;
}

QString SpreadsheetReader::cellText(int row, int column) const
{
    if (row < 1 || row > usedRows())
        return {};
    const std::vector<Cell> &cells = m_rows[size_t(row - 1)];
    const auto at = std::lower_bound(cells.begin(), cells.end(), column,
                                     [](const Cell &c, int col) { return c.column < col; });
    return at != cells.end() && at->column == column ? at->text : QString();
}

bool SpreadsheetReader::fail(Fault fault)
{
    m_error = faultText(fault, m_path) + m_faultDetail;
    m_faultDetail.clear();
    returnFreedMemory();
    return false;
}

void SpreadsheetReader::returnFreedMemory()
{
#ifdef __GLIBC__
    // A read frees many small blocks at once; without this the allocator keeps them all.
    malloc_trim(0);
#endif
}

bool SpreadsheetReader::setCell(Rows &rows, int row, int column, const QString &text, Fault &fault)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
        fault = Fault::Damaged;
        return false;
    }
    if (text.isEmpty())
        return true;
    if (rows.cells.size() < size_t(row))
        rows.cells.resize(size_t(row));
    std::vector<Cell> &cells = rows.cells[size_t(row - 1)];
    // Cells come in column order; a file that repeats or reorders them still reads right.
    auto at = cells.end();
    if (!cells.empty() && cells.back().column >= column)
        at = std::lower_bound(cells.begin(), cells.end(), column,
                              [](const Cell &c, int col) { return c.column < col; });
    if (at != cells.end() && at->column == column) {
        at->text = text;
        return true;
    }
    if (rows.count >= kMaxCells) {
        fault = Fault::TooManyCells;
        return false;
    }
    cells.insert(at, Cell{column, text});
    ++rows.count;
    return true;
}

void SpreadsheetReader::trim(Rows &rows, int &columns)
{
    // Only cells with text were stored, so a row is used when it has any cell.
    while (!rows.cells.empty() && rows.cells.back().empty())
        rows.cells.pop_back();
    columns = 0;
    for (const std::vector<Cell> &cells : rows.cells) {
        if (!cells.empty())
            columns = std::max(columns, cells.back().column);
    }
}

QString SpreadsheetReader::numberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}
