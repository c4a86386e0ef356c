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
    m_rows = {};
    m_sharedText = {};
    std::vector<Span>().swap(m_shared);
    returnFreedMemory();
}

QString SpreadsheetReader::faultText(Fault fault, const QString &path, qint64 fileLimit)
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
               QString::number(fileLimit >> 20) + u" MB。" + kSplit;
    case Fault::TooManySheets:
        return u"文件" + name + u"过大，无法读取：工作表最多 " + QString::number(kMaxSheets) +
               u" 个。" + kSplit;
    case Fault::TooManyCells:
        return u"文件" + name + u"过大，无法读取：每个工作表最多 " + QString::number(kMaxCells) +
               u" 个有内容的单元格。" + kSplit;
    case Fault::TooMuchText:
        return u"文件" + name + u"过大，无法读取：共用的文字最多 " +
               QString::number(kMaxSharedTextBytes >> 20) + u" MB。" + kSplit;
    case Fault::TooMuchSheetText:
        return u"文件" + name + u"过大，无法读取：每个工作表的文字最多 " +
               QString::number(kMaxSheetTextBytes >> 20) + u" MB。" + kSplit;
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
    // One sheet in memory at a time: the one shown goes before the next is read, and is read
    // again should the next one fail.
    const int shown = m_active;
    Rows none;
    show(none);
    Rows rows;
    Fault fault = Fault::Damaged;
    if (!readSheet(index, rows, fault)) {
        const bool failed = fail(fault);
        const QString error = m_error;
        Rows again;
        if (shown >= 0 && readSheet(shown, again, fault))
            show(again);
        m_error = error;
        m_faultDetail.clear();
        returnFreedMemory();
        return failed;
    }
    show(rows);
    m_active = index;
    m_error.clear();
    returnFreedMemory();
    return true;
}

void SpreadsheetReader::show(Rows &rows)
{
    if (!rows.ordered)
        order(rows);
    rows.cells.shrink_to_fit();
    rows.text.squeeze();
    m_rows = std::move(rows);
    m_usedRows = m_rows.cells.empty() ? 0 : m_rows.cells.back().row;
    m_columns = 0;
    for (const Cell &cell : m_rows.cells)
        m_columns = std::max(m_columns, cell.column);
}

QString SpreadsheetReader::cellText(int row, int column) const
{
    const auto before = [](const Cell &c, std::pair<int, int> at) {
        return std::pair(c.row, c.column) < at;
    };
    const auto at =
        std::lower_bound(m_rows.cells.begin(), m_rows.cells.end(), std::pair(row, column), before);
    return at != m_rows.cells.end() && at->row == row && at->column == column
               ? textOf(*at).toString()
               : QString();
}

QStringView SpreadsheetReader::textOf(const Cell &cell) const
{
    return QStringView(cell.shared ? m_sharedText : m_rows.text).mid(cell.offset, cell.length);
}

bool SpreadsheetReader::fail(Fault fault)
{
    m_error = faultText(fault, m_path, fileLimit()) + m_faultDetail;
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

bool SpreadsheetReader::setCell(Rows &rows, int row, int column, QStringView text, Fault &fault)
{
    if (text.isEmpty())
        return addCell(rows, Cell{row, column, 0, 0, 0}, fault);
    if (2 * (rows.text.size() + text.size()) > kMaxSheetTextBytes) {
        fault = Fault::TooMuchSheetText;
        return false;
    }
    const Cell cell{row, column, quint32(rows.text.size()), quint32(text.size()), 0};
    if (!addCell(rows, cell, fault))
        return false;
    rows.text += text;
    return true;
}

bool SpreadsheetReader::setSharedCell(Rows &rows, int row, int column, qsizetype index,
                                      Fault &fault) const
{
    if (index < 0 || index >= sharedTexts()) {
        fault = Fault::Damaged;
        return false;
    }
    const Span &span = m_shared[size_t(index)];
    return addCell(rows, Cell{row, column, span.offset, span.length, 1}, fault);
}

void SpreadsheetReader::addSharedText(QStringView text)
{
    m_shared.push_back(Span{quint32(m_sharedText.size()), quint32(text.size())});
    m_sharedText += text;
}

bool SpreadsheetReader::addCell(Rows &rows, Cell cell, Fault &fault)
{
    if (cell.row < 1 || cell.row > kMaxRows || cell.column < 1 || cell.column > kMaxColumns) {
        fault = Fault::Damaged;
        return false;
    }
    if (cell.length == 0)
        return true;
    std::vector<Cell> &cells = rows.cells;
    if (!cells.empty()) {
        const Cell &last = cells.back();
        const auto at = std::pair(cell.row, cell.column);
        const auto lastAt = std::pair(last.row, last.column);
        // A file that repeats or reorders cells still reads right: the repeat replaces.
        if (lastAt == at) {
            cells.back() = cell;
            return true;
        }
        if (at < lastAt)
            rows.ordered = false;
    }
    if (qsizetype(cells.size()) >= kMaxCells && !rows.ordered)
        order(rows);
    if (qsizetype(cells.size()) >= kMaxCells) {
        fault = Fault::TooManyCells;
        return false;
    }
    cells.push_back(cell);
    return true;
}

void SpreadsheetReader::order(Rows &rows)
{
    std::vector<Cell> &cells = rows.cells;
    std::stable_sort(cells.begin(), cells.end(), [](const Cell &a, const Cell &b) {
        return std::pair(a.row, a.column) < std::pair(b.row, b.column);
    });
    const auto same = [](const Cell &a, const Cell &b) {
        return a.row == b.row && a.column == b.column;
    };
    auto kept = cells.begin();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        if (std::next(it) == cells.end() || !same(*it, *std::next(it)))
            *kept++ = *it;
    }
    cells.erase(kept, cells.end());
    rows.ordered = true;
}

QString SpreadsheetReader::numberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}
