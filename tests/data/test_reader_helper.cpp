#include "StubReader.h"
#include "base/FrameWriter.h"
#include "base/ReaderProcess.h"
#include "base/ReaderProtocol.h"
#include "data/JetTableSource.h"
#include "data/Spreadsheets.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using End = ReaderProcess::End;
using ReaderProtocol::Tag;

QString fixture(const char *name)
{
    return QStringLiteral(LANYAN_SOURCE_DIR "/tests/data/fixtures/") + QString::fromLatin1(name);
}

// A copy of a fixture with some bytes changed.
QString patched(const QTemporaryDir &dir, const char *name,
                const std::vector<std::pair<qsizetype, char>> &patch)
{
    QFile sound(fixture(name));
    EXPECT_TRUE(sound.open(QIODevice::ReadOnly)) << name;
    QByteArray bytes = sound.readAll();
    for (const auto &[offset, value] : patch)
        bytes[offset] = value;
    const QString path = dir.filePath(QFileInfo(QString::fromLatin1(name)).fileName());
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    return path;
}

struct Record
{
    Tag tag;
    QByteArray payload;
};

QByteArray records(const std::vector<Record> &list)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FrameWriter out(&buffer);
    for (const Record &r : list)
        out.write(quint8(r.tag), r.payload);
    return buffer.data();
}

QByteArray cell(quint32 row, quint32 column, const QByteArray &text)
{
    QByteArray payload;
    FrameWriter::appendNumber(payload, row);
    FrameWriter::appendNumber(payload, column);
    return payload + text;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

// How each way the helper can end reaches the program; an abort or a limit kills it.
TEST(ReaderHelper, EndsAreToldApartAndAStoppedHelperIsGone)
{
    const ReaderProcess::Limits generous;
    ReaderProcess::Limits brief;
    brief.seconds = 1;
    ReaderProcess::Limits small;
    small.residentBytes = qint64(64) << 20;
    const auto stop = [](qint64 done, qint64) { return done == 0; };
    const struct
    {
        const char *name;
        QByteArray body;
        ReaderProcess::Limits limits;
        ReaderProcess::Progress progress;
        End end;
    } cases[] = {
        {"finished", "echo 'progress 1 2'; exit 0", generous, {}, End::Finished},
        {"refused", "exit 3", generous, {}, End::Refused},
        {"out of memory, said by the helper", "exit 4", generous, {}, End::OutOfMemory},
        {"unknown exit", "exit 9", generous, {}, End::Crashed},
        {"signal", "kill -SEGV $$", generous, {}, End::Crashed},
        {"aborted once it reported", "echo 'progress 1 10'; exec sleep 600", generous, stop,
         End::Aborted},
        {"hangs", "exec sleep 600", brief, {}, End::TimedOut},
        {"takes memory",
         "exec python3 -c 'import time; b = bytearray(200 << 20); time.sleep(600)'",
         small,
         {},
         End::OutOfMemory},
    };
    for (const auto &c : cases) {
        StubReader stub(c.body);
        EXPECT_EQ(ReaderProcess::run({QStringLiteral("access")}, c.limits, c.progress), c.end)
            << c.name;
        EXPECT_TRUE(stub.ranAndEnded()) << c.name;
    }
    const QByteArray helper = qgetenv("LANYAN_READER");
    qputenv("LANYAN_READER", "/nonexistent/lanyan-reader");
    EXPECT_EQ(ReaderProcess::run({}, generous, {}), End::NotStarted);
    qputenv("LANYAN_READER", helper);
}

// The real helper: a file the library refuses is answered in words; a sound file with a byte
// changed, which makes mdbtools allocate without end, meets the helper's memory limit while
// the program's own memory stays where it was.
TEST(ReaderHelper, RefusesDamagedFilesAndMeetsItsMemoryLimit)
{
    QTemporaryDir dir;
    Spreadsheets sheets;
    QString error;
    const QString cut = dir.filePath(QStringLiteral("cut.xls"));
    QFile sound(fixture("sheet.xls"));
    ASSERT_TRUE(sound.open(QIODevice::ReadOnly));
    writeFile(cut, sound.read(1536));
    EXPECT_FALSE(sheets.open(cut, error));
    EXPECT_EQ(error, SpreadsheetReader::faultText(SpreadsheetReader::Fault::Damaged, cut));

    const long before = peakMegabytes();
    const QString blowsUp = patched(dir, "access/DateTestDatabase.mdb", {{150162, 0}});
    EXPECT_EQ(ReaderProcess::run({QStringLiteral("access"), blowsUp, dir.path()}, {}, {}),
              End::OutOfMemory);
    EXPECT_FALSE(JetTableSource::open(blowsUp, &error));
    EXPECT_EQ(error, QStringLiteral("无法读取数据库文件（文件可能已损坏）：读取时占用内存过多"));
    EXPECT_LT(peakMegabytes() - before, 50);
}

// What the helper writes is outside input as well: records that break the format, lie about
// their length or their place, end the read with a message, never a crash or a huge
// allocation.
TEST(ReaderHelper, AnswersThatBreakTheFormatAreRefused)
{
    QByteArray huge(5, '\0');
    huge[0] = char(Tag::Table);
    huge[1] = huge[2] = huge[3] = huge[4] = char(0xff);
    const QByteArray table =
        records({{Tag::Table, "T"}, {Tag::Column, "a"}, {Tag::Column, "b"}, {Tag::End, {}}});
    const struct
    {
        const char *name;
        QByteArray tables;
        QByteArray rows;
    } access[] = {
        {"a length beyond the file", huge, {}},
        {"a column before any table", records({{Tag::Column, "a"}, {Tag::End, {}}}), {}},
        {"no end", records({{Tag::Table, "T"}}), {}},
        {"an unknown record", records({{Tag(77), "T"}, {Tag::End, {}}}), {}},
        {"a row short of a value", table,
         records({{Tag::Row, {}}, {Tag::Text, "x"}, {Tag::End, {}}})},
        {"a row cut off", table, records({{Tag::Row, {}}, {Tag::Text, "x"}}).chopped(1)},
        {"a text beyond its limit", table,
         records({{Tag::Row, {}},
                  {Tag::Text, QByteArray(70 << 10, 'x')},
                  {Tag::Null, {}},
                  {Tag::End, {}}})},
    };
    const long before = peakMegabytes();
    {
        // The same records, whole: read as written.
        StubReader stub("cp tables \"$3/tables\" && cp 0.rows \"$3/0.rows\"");
        writeFile(stub.filePath(QStringLiteral("tables")), table);
        writeFile(stub.filePath(QStringLiteral("0.rows")),
                  records({{Tag::Row, {}}, {Tag::Text, "x"}, {Tag::Null, {}}, {Tag::End, {}}}));
        QString error;
        auto source = JetTableSource::open(fixture("access/nwind.mdb"), &error);
        ASSERT_TRUE(source) << error.toStdString();
        QStringList values;
        EXPECT_TRUE(source->forEachRow(
            QStringLiteral("T"), std::nullopt,
            [&](const SourceRow &row) {
                values << row.value("a").toString() << row.value("B").toString();
                return true;
            },
            &error));
        EXPECT_EQ(values, QStringList({"x", ""}));
    }
    for (const auto &c : access) {
        StubReader stub("cp tables \"$3/tables\" && cp 0.rows \"$3/0.rows\"");
        writeFile(stub.filePath(QStringLiteral("tables")), c.tables);
        writeFile(stub.filePath(QStringLiteral("0.rows")), c.rows);
        QString error;
        auto source = JetTableSource::open(fixture("access/nwind.mdb"), &error);
        if (source) {
            EXPECT_FALSE(source->forEachRow(
                QStringLiteral("T"), std::nullopt, [](const SourceRow &) { return true; }, &error))
                << c.name;
            EXPECT_EQ(error, QStringLiteral("数据表 T 读取不完整")) << c.name;
        } else {
            EXPECT_EQ(error, QStringLiteral("无法读取数据库文件的表清单")) << c.name;
        }
    }

    QByteArray number;
    FrameWriter::appendNumber(number, 1.5);
    const struct
    {
        const char *name;
        QByteArray output;
    } workbooks[] = {
        {"a length beyond the file", huge},
        {"row 0", records({{Tag::Sheet, "S"}, {Tag::CellText, cell(0, 1, "x")}, {Tag::End, {}}})},
        {"beyond the last column",
         records({{Tag::Sheet, "S"}, {Tag::CellText, cell(1, 16385, "x")}, {Tag::End, {}}})},
        {"a short cell", records({{Tag::Sheet, "S"}, {Tag::CellNumber, "1234"}, {Tag::End, {}}})},
        {"a fault of no kind", records({{Tag::Failed, "\x63"}})},
        {"no end", records({{Tag::Sheet, "S"}, {Tag::CellNumber, cell(1, 1, number)}})},
    };
    const QString xls = fixture("sheet.xls");
    {
        StubReader stub("cp out \"$3\"");
        writeFile(stub.filePath(QStringLiteral("out")),
                  records({{Tag::Sheet, "S"},
                           {Tag::Sheet, "T"},
                           {Tag::CellNumber, cell(2, 3, number)},
                           {Tag::End, {}}}));
        QString error;
        auto sound = Spreadsheets().open(xls, error);
        ASSERT_TRUE(sound) << error.toStdString();
        EXPECT_EQ(sound->sheetNames(), QStringList({"S", "T"}));
        EXPECT_EQ(sound->cellText(2, 3), QStringLiteral("1.5"));
    }
    for (const auto &c : workbooks) {
        StubReader stub("cp out \"$3\"");
        writeFile(stub.filePath(QStringLiteral("out")), c.output);
        QString error;
        EXPECT_FALSE(Spreadsheets().open(xls, error)) << c.name;
        EXPECT_EQ(error, SpreadsheetReader::faultText(SpreadsheetReader::Fault::Damaged, xls))
            << c.name;
    }
    EXPECT_LT(peakMegabytes() - before, 50);
}
