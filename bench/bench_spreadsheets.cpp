// Reading a 10,000-row, 20-column sheet as xlsx and csv, exporting a 10,000-row list, and
// reading or refusing each hostile workbook of the tests (the goal: well under a second each).
// Reading workbooks at the million-cell limit: 1,000,000 random texts (a package of about
// 48 MB) and a million two-letter shared strings (under a megabyte); the goal is a peak under
// 300 MB, with the memory given back once the reader is gone.
// Each reports the process's peak resident memory so far; run one at a time
// (--benchmark_filter) to see each one's own peak.
#include "TestHome.h"
#include "data/Grids.h"
#include "data/Spreadsheets.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 20;

QString cell(int row, int column)
{
    switch (column % 4) {
    case 0:
        return QStringLiteral("6222%1").arg(qint64(row) * 1000003 + column, 14, 10, QChar(u'0'));
    case 1:
        return QStringLiteral("北京市海淀区中关村大街%1号").arg(row);
    case 2:
        return QString::number(row * 0.25 + column, 'f', 2);
    default:
        return QStringLiteral("张三%1, \"李四\"").arg(column);
    }
}

QStringList rowOf(int row)
{
    QStringList cells;
    for (int c = 0; c < kColumns; ++c)
        cells << (row == 0 ? QStringLiteral("标题%1").arg(c) : cell(row, c));
    return cells;
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString sheetFile(const char *suffix)
{
    const QString path = folder().filePath(QStringLiteral("sheet.") + QLatin1String(suffix));
    if (QFile::exists(path))
        return path;
    if (QLatin1String(suffix) == u"xlsx") {
        XlsxWriter book(path);
        for (int r = 0; r <= kRows; ++r)
            r == 0 ? book.addTitleRow(rowOf(r)) : book.addRow(rowOf(r));
        book.save();
    } else {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        for (int r = 0; r <= kRows; ++r) {
            QStringList quoted;
            for (QString text : rowOf(r))
                quoted << u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
            f.write(quoted.join(u',').toUtf8() + "\r\n");
        }
    }
    return path;
}

void reportPeakMemory(benchmark::State &state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
}

constexpr int kMillionRows = 100000;
constexpr int kMillionColumns = 10;

// 20 random Chinese characters and 12 random letters or digits: text that hardly packs.
QString randomText(QRandomGenerator &random)
{
    static const QString kLatin =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    QString text(32, Qt::Uninitialized);
    for (int i = 0; i < 20; ++i)
        text[i] = QChar(char16_t(0x4e00 + random.bounded(3000)));
    for (int i = 20; i < 32; ++i)
        text[i] = kLatin[random.bounded(int(kLatin.size()))];
    return text;
}

QString millionRandomTexts()
{
    const QString path = folder().filePath(QStringLiteral("million-random.xlsx"));
    if (QFile::exists(path))
        return path;
    QRandomGenerator random(32);
    XlsxWriter book(path);
    for (int r = 0; r < kMillionRows; ++r) {
        QStringList row;
        for (int c = 0; c < kMillionColumns; ++c)
            row << randomText(random);
        book.addRow(row);
    }
    book.save();
    return path;
}

// A million cells, each its own shared string "ab".
QString millionShortStrings()
{
    const QString path = folder().filePath(QStringLiteral("million-short.xlsx"));
    if (QFile::exists(path))
        return path;
    QByteArray strings = "<sst>";
    QByteArray sheet = "<worksheet><sheetData>";
    for (int i = 0; i < kMillionRows * kMillionColumns; ++i)
        strings += "<si><t>ab</t></si>";
    for (int r = 1; r <= kMillionRows; ++r) {
        sheet += "<row r=\"" + QByteArray::number(r) + "\">";
        for (int c = 0; c < kMillionColumns; ++c)
            sheet += "<c r=\"" + QByteArray(1, char('A' + c)) + QByteArray::number(r) +
                     "\" t=\"s\"><v>" + QByteArray::number((r - 1) * kMillionColumns + c) +
                     "</v></c>";
        sheet += "</row>";
    }
    const std::pair<const char *, QByteArray> parts[] = {
        {"xl/workbook.xml", "<workbook xmlns:r=\"urn:r\"><sheets><sheet name=\"S\" "
                            "r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
         "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
         "Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", sheet + "</sheetData></worksheet>"},
        {"xl/sharedStrings.xml", strings + "</sst>"},
    };
    QuaZip zip(path);
    zip.open(QuaZip::mdCreate);
    for (const auto &[name, content] : parts) {
        QuaZipFile entry(&zip);
        entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
        entry.write(content);
        entry.close();
    }
    zip.close();
    return path;
}

// Resident memory now, in MB.
double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toDouble() * double(getpagesize()) / (1 << 20);
}

void BM_MillionCells(benchmark::State &state, QString (*make)())
{
    const QString path = make();
    const double before = residentMb();
    for (auto _ : state) {
        QString error;
        auto reader = Spreadsheets().open(path, error);
        if (!reader || reader->usedCells() != qint64(kMillionRows) * kMillionColumns)
            state.SkipWithError("sheet not read whole");
        benchmark::DoNotOptimize(reader);
    }
    reportPeakMemory(state);
    state.counters["kept_after_MB"] = residentMb() - before;
    state.counters["file_MB"] = double(QFile(path).size()) / (1 << 20);
}

void readSheet(benchmark::State &state, const char *suffix)
{
    const QString path = sheetFile(suffix);
    for (auto _ : state) {
        QString error;
        auto reader = Spreadsheets().open(path, error);
        if (!reader || reader->usedRows() != kRows + 1 || reader->usedColumns() != kColumns)
            state.SkipWithError("sheet not read whole");
        benchmark::DoNotOptimize(reader);
    }
    reportPeakMemory(state);
}

void BM_ReadXlsx(benchmark::State &state)
{
    readSheet(state, "xlsx");
}
void BM_ReadCsv(benchmark::State &state)
{
    readSheet(state, "csv");
}

void BM_ExportList(benchmark::State &state)
{
    QStandardItemModel model(kRows, kColumns);
    for (int c = 0; c < kColumns; ++c)
        model.setHeaderData(c, Qt::Horizontal, QStringLiteral("标题%1").arg(c));
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            model.setItem(r, c, new QStandardItem(cell(r + 1, c)));
    TestHome home;
    for (auto _ : state) {
        home.ui.answerFile(folder().filePath(QStringLiteral("export.xlsx")));
        if (!home.services().grids().ExportGrid2Excel(model, QStringLiteral("快递单历史开票")))
            state.SkipWithError("export failed");
    }
    reportPeakMemory(state);
}

// The hostile fixtures of the tests, aimed at recursion, padding, counters and loops.
void BM_HostileFile(benchmark::State &state, const char *name)
{
    const QString path =
        QStringLiteral(LANYAN_SOURCE_DIR "/tests/data/fixtures/hostile/") + QLatin1String(name);
    if (!QFile::exists(path)) {
        state.SkipWithError("fixture missing");
        return;
    }
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(Spreadsheets().open(path, error));
    }
    reportPeakMemory(state);
}

} // namespace

BENCHMARK_CAPTURE(BM_HostileFile, nested_50000, "nested-50000.xlsx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileFile, wide_2000, "wide-2000.xlsx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileFile, sst_5m, "sst-5m.xlsx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileFile, row_overflow, "row-overflow.xlsx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileFile, many_sheets, "many-sheets.xls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileFile, dir_wrap, "dir-wrap.xls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileFile, mini_overrun, "mini-overrun.xls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MillionCells, random_texts, millionRandomTexts)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_MillionCells, short_strings, millionShortStrings)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_ReadXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportList)->Unit(benchmark::kMillisecond);
