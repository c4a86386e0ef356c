// `lanyan print` from a workbook of express slips to one PDF: the rows are imported into the
// batch list, built on the template's new bill and printed through the batch loop. Reports
// slips per second and the peak memory of the whole process.
#include "TestHome.h"
#include "cli/PrintCommand.h"
#include "data/spreadsheet/XlsxWriter.h"

#include <QTextStream>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QString writeSlips(const QString &path, int count)
{
    XlsxWriter book(path);
    book.addTitleRow({"全称", "联系人", "电话", "手机", "省", "市", "地址", "邮编", "件数"});
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        book.addRow({u"岚砚商贸有限公司" + n, u"收件人" + n, u"0755-8888" + n, u"1380000" + n,
                     QStringLiteral("广东省"), QStringLiteral("深圳市"),
                     u"南山区科技园科苑路" + n + u"号", QStringLiteral("518000"),
                     QStringLiteral("1")});
    }
    return book.save() ? QString() : book.error();
}

void BM_PrintCommandSlipsToOnePdf(benchmark::State &state)
{
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TestHome home;
        const QString book = home.path() + u"slips.xlsx";
        if (const QString error = writeSlips(book, count); !error.isEmpty()) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        QString out, err;
        QTextStream o(&out), e(&err);
        PrintRequest request;
        request.templateText = QStringLiteral("1");
        request.valuesFile = book;
        request.pdf = home.path() + u"slips.pdf";
        state.ResumeTiming();
        if (PrintCommand(home.services(), o, e).run(request) != PrintCommand::Done) {
            state.SkipWithError(err.toStdString().c_str());
            return;
        }
    }
    state.counters["slips/s"] =
        benchmark::Counter(double(count) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = double(peakKilobytes()) / 1024.0;
}
BENCHMARK(BM_PrintCommandSlipsToOnePdf)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace
