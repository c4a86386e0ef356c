// Reading a 10,000-row, 20-column sheet as xlsx and csv, exporting a 10,000-row list, and
// reading or refusing each hostile workbook of the tests (the goal: well under a second each).
// Each reports the process's peak resident memory so far; run one at a time
// (--benchmark_filter) to see each one's own peak.
#include "TestHome.h"
#include "data/Grids.h"
#include "data/Spreadsheets.h"

#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

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
BENCHMARK(BM_ReadXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportList)->Unit(benchmark::kMillisecond);
