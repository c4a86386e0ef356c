#include "data/spreadsheet/CsvReader.h"

#include "base/Gbk.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

CsvReader::CsvReader(QString path)
    : SpreadsheetReader(std::move(path))
{}

CsvReader::CsvReader(QString name, QByteArray data)
    : SpreadsheetReader(std::move(name))
    , m_data(std::move(data))
    , m_inMemory(true)
{}

QString CsvReader::decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? Gbk::decode(bytes) : text;
}

int CsvReader::readWorkbook(QStringList &sheetNames, Fault &fault)
{
    if (!m_inMemory) {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly)) {
            fault = Fault::NotFound;
            return -1;
        }
        if (file.size() > kMaxFileBytes) {
            fault = Fault::TooLarge;
            return -1;
        }
        m_data = file.readAll();
    }
    if (m_data.size() > kMaxFileBytes) {
        fault = Fault::TooLarge;
        return -1;
    }
    sheetNames << QFileInfo(path()).completeBaseName().left(31);
    return 0;
}

bool CsvReader::readSheet(int, Rows &rows, Fault &fault)
{
    fault = Fault::Damaged;
    return parse(decode(m_data), rows, fault);
}

bool CsvReader::parse(QStringView text, Rows &rows, Fault &fault)
{
    int row = 1;
    int column = 1;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    auto endField = [&] {
        const bool ok = setCell(rows, row, column, field, fault);
        field.clear();
        fieldStarted = false;
        ++column;
        return ok;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
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
        if (ch == u'"' && !fieldStarted) {
            quoted = fieldStarted = true;
        } else if (ch == u',') {
            if (!endField())
                return false;
        } else if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            if (!endField())
                return false;
            ++row;
            column = 1;
        } else {
            field += ch;
            fieldStarted = true;
        }
    }
    return endField();
}
