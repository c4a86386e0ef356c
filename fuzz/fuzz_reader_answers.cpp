// Arbitrary bytes as the reader helper's answers, read as the program reads them: the first
// byte 0 gives a workbook's sheet list and cells, 1 an Access file's table list (its length
// in the next two bytes, little-endian) and the rows of its first table. The helper runs
// libraries over outside files, so what it writes is outside input too: refused or read
// within the limits, never a crash, a hang or a memory blow-up (run with -rss_limit_mb=300).
// Seeds: answers the helper gave for the test fixtures.
#include "ReadAll.h"
#include "base/ReaderProtocol.h"
#include "data/JetTableSource.h"
#include "data/spreadsheet/BiffReader.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

// A binary workbook whose helper answered `answer` for every sheet.
class AnsweredWorkbook : public BiffReader
{
public:
    explicit AnsweredWorkbook(QByteArray answer)
        : BiffReader(QStringLiteral("answer.xls"))
        , m_answer(std::move(answer))
    {}

protected:
    int readWorkbook(QStringList &sheetNames, Fault &fault) override
    {
        Rows rows;
        return answer(&sheetNames, rows, fault) ? 0 : -1;
    }
    bool readSheet(int, Rows &rows, Fault &fault) override { return answer(nullptr, rows, fault); }

private:
    bool answer(QStringList *names, Rows &rows, Fault &fault)
    {
        QBuffer buffer(&m_answer);
        buffer.open(QIODevice::ReadOnly);
        return readAnswer(buffer, names, rows, fault);
    }

    QByteArray m_answer;
};

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void readAccessAnswers(const QByteArray &bytes)
{
    static QTemporaryDir folder;
    if (bytes.size() < 2)
        return;
    const qsizetype split =
        std::min<qsizetype>(bytes.size() - 2, quint8(bytes[0]) | qsizetype(quint8(bytes[1])) << 8);
    write(ReaderProtocol::tablesFile(folder.path()), bytes.mid(2, split));
    write(ReaderProtocol::rowsFile(folder.path(), 0), bytes.mid(2 + split));
    QString error;
    const std::unique_ptr<JetTableSource> source =
        JetTableSource::fromAnswers(folder.path(), &error);
    if (!source)
        return;
    for (const QString &table : source->tableNames()) {
        qsizetype length = 0;
        source->forEachRow(
            table, std::nullopt,
            [&](const SourceRow &row) {
                for (const QString &column : source->columnNames(table))
                    length += row.value(column).toByteArray().size();
                return true;
            },
            &error);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    if (data[0] == 0) {
        AnsweredWorkbook book(rest);
        readAll(book);
    } else if (data[0] == 1) {
        readAccessAnswers(rest);
    }
    return 0;
}
