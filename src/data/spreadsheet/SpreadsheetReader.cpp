#include "data/spreadsheet/SpreadsheetReader.h"

#include <QDir>
#include <cmath>

SpreadsheetReader::SpreadsheetReader(QString path)
    : m_path(std::move(path))
{}

QString SpreadsheetReader::faultText(Fault fault, const QString &path)
{
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
    m_rows = std::move(rows);
    m_active = index;
    m_error.clear();
    return true;
}

QString SpreadsheetReader::cellText(int row, int column) const
{
    if (row < 1 || row > usedRows())
        return {};
    return m_rows[size_t(row - 1)].value(column - 1);
}

bool SpreadsheetReader::fail(Fault fault)
{
    m_error = faultText(fault, m_path);
    return false;
}

bool SpreadsheetReader::setCell(Rows &rows, int row, int column, const QString &text)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        return false;
    if (text.isEmpty())
        return true;
    if (rows.size() < size_t(row))
        rows.resize(size_t(row));
    QStringList &cells = rows[size_t(row - 1)];
    while (cells.size() < column)
        cells.append(QString());
    cells[column - 1] = text;
    return true;
}

void SpreadsheetReader::trim(Rows &rows, int &columns)
{
    // Only cells with text were stored, so a row is used when it has any cell.
    while (!rows.empty() && rows.back().isEmpty())
        rows.pop_back();
    columns = 0;
    for (const QStringList &cells : rows)
        columns = std::max(columns, int(cells.size()));
}

QString SpreadsheetReader::numberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}
