#include "data/spreadsheet/CsvReader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// A GBK decoder shows bytes it cannot read as U+FFFD and the user-defined byte areas as
// private-use characters: either would be stored as a character nobody typed.
bool unreadable(QStringView text)
{
    for (QChar c : text) {
        if (c == QChar::ReplacementCharacter || (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF))
            return true;
    }
    return false;
}

bool decodesAsGbk(QByteArrayView bytes, QString *text = nullptr)
{
    QStringDecoder gbk("GBK", QStringDecoder::Flag::Stateless);
    QString decoded = gbk.decode(bytes);
    const bool ok = !gbk.hasError() && !unreadable(decoded);
    if (text)
        *text = std::move(decoded);
    return ok;
}

// No GBK byte pair holds a line feed, so the file can be judged line by line.
int firstNonGbkLine(QByteArrayView bytes)
{
    int line = 1;
    for (qsizetype from = 0; from < bytes.size(); ++line) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        if (!decodesAsGbk(bytes.sliced(from, end - from)))
            return line;
        from = end + 1;
    }
    return 0;
}

// ="00123", as spreadsheet programs and shop exports write a number that must stay text.
bool unwrapExcelText(QString &field)
{
    if (field.size() < 3 || !field.startsWith(u"=\"") || !field.endsWith(u'"'))
        return false;
    const QStringView inner = QStringView(field).sliced(2, field.size() - 3);
    if (inner.contains(u'"'))
        return false;
    field = inner.toString();
    return true;
}

} // namespace

CsvReader::CsvReader(QString path)
    : SpreadsheetReader(std::move(path))
{}

CsvReader::CsvReader(QString name, QByteArray data)
    : SpreadsheetReader(std::move(name))
    , m_data(std::move(data))
    , m_inMemory(true)
{}

QString CsvReader::decode(const QByteArray &bytes, int *badLine)
{
    if (badLine)
        *badLine = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    // "Unicode text" saves: UTF-16 with its mark, or without one when the title starts in ASCII.
    if (bytes.startsWith("\xFF\xFE") || (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes);
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    if (!decodesAsGbk(bytes, &text) && badLine)
        *badLine = firstNonGbkLine(bytes);
    return text;
}

QChar CsvReader::sniffDelimiter(QStringView text)
{
    int comma = 0, tab = 0, semicolon = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\n' || c == u'\r')
            break;
        else if (c == u',')
            ++comma;
        else if (c == u'\t')
            ++tab;
        else if (c == u';')
            ++semicolon;
    }
    if (tab > comma && tab >= semicolon)
        return u'\t';
    if (semicolon > comma && semicolon > tab)
        return u';';
    return u',';
}

int CsvReader::readWorkbook(QStringList &sheetNames, Fault &fault)
{
    if (!m_inMemory) {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly)) {
            fault = Fault::NotFound;
            return -1;
        }
        if (file.size() > fileLimit()) {
            fault = Fault::TooLarge;
            return -1;
        }
        m_data = file.readAll();
    }
    if (m_data.size() > fileLimit()) {
        fault = Fault::TooLarge;
        return -1;
    }
    sheetNames << QFileInfo(path()).completeBaseName().left(31);
    return 0;
}

bool CsvReader::readSheet(int, Rows &rows, Fault &fault)
{
    fault = Fault::Damaged;
    int badLine = 0;
    const QString text = decode(m_data, &badLine);
    if (badLine > 0) {
        setFaultDetail(u"第 " + QString::number(badLine) +
                       u" 行含有无法识别的字符（既不是 UTF-8 也不是 GBK 编码）。请在电子表格软件中"
                       u"检查该行，或另存为 UTF-8 编码的 CSV 文件后再试。");
        return false;
    }
    return parse(text, rows, fault);
}

bool CsvReader::parse(QStringView text, Rows &rows, Fault &fault)
{
    const QChar delimiter = sniffDelimiter(text);
    int row = 1;
    int column = 1;
    int line = 1;      // of the text, as an editor counts them
    int quoteLine = 0; // where the open quoted field began
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    bool excelText = false; // the field began ="
    auto endField = [&] {
        if (!excelText)
            unwrapExcelText(field); // "=""00123""" once its quotes are read
        const bool ok = setCell(rows, row, column, field, fault);
        field.clear();
        fieldStarted = excelText = false;
        ++column;
        return ok;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\n')
            ++line;
        if (quoted) {
            if (ch != u'"') {
                field += ch;
            } else if (i + 1 < text.size() && text[i + 1] == u'"') {
                field += ch;
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (ch == u'"' && (!fieldStarted || field == u"=")) {
            excelText = fieldStarted;
            if (excelText)
                field.clear();
            quoted = fieldStarted = true;
            quoteLine = line;
        } else if (ch == delimiter) {
            if (!endField())
                return false;
        } else if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
                ++line;
            }
            if (!endField())
                return false;
            ++row;
            column = 1;
        } else {
            field += ch;
            fieldStarted = true;
        }
    }
    if (quoted) {
        // The rest of the file would become one cell: refused, so nothing half-read is stored.
        fault = Fault::Damaged;
        setFaultDetail(u"第 " + QString::number(quoteLine) +
                       u" 行的双引号没有配对的结束引号。请在电子表格软件或文本编辑器中检查该行后"
                       u"再试。");
        return false;
    }
    return endField();
}
