// One printer document of many express slips, every item of the shipped template filled,
// rendered to PDF through the print engine. Reports slips per second and the peak memory.
#include "base/Ui.h"
#include "print/PdfPrint.h"
#include "services/AppServices.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

class SilentUi : public Ui
{
public:
    Answer showMessage(const QString &text, const QString &, Icon, Buttons) override
    {
        qWarning("%s", qPrintable(text));
        return Answer::No;
    }
    bool openUrl(const QUrl &) override { return false; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString giveMeAnValue(const QString &, const QString &, const QString &) override { return {}; }
};

// Every printable item of the kind with its sample text, numbered so no two slips are alike.
std::vector<BillValues> filledSlips(Database &db, int count)
{
    QSqlQuery q = db.query();
    q.exec(QStringLiteral("select CtlName, CtlType, CtlData, CtlLabel from NameDict where "
                          "CheckTypeName = '快递单' and PrintItem = 1"));
    struct Item
    {
        QString name;
        QString sample;
    };
    std::vector<Item> items;
    while (q.next()) {
        const bool box = q.value(1).toString().toUpper() == u"CHECKBOX";
        const QString sample = q.value(2).toString();
        items.push_back({q.value(0).toString(), box                ? QStringLiteral("√")
                                                : sample.isEmpty() ? q.value(3).toString()
                                                                   : sample});
    }
    std::vector<BillValues> slips(count);
    for (int i = 0; i < count; ++i) {
        for (const Item &item : items)
            slips[i].set(item.name,
                         item.sample + (item.sample == u"√" ? QString() : QString::number(i)));
    }
    return slips;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_ExpressSlipsToPdf(benchmark::State &state)
{
    QTemporaryDir dir;
    SilentUi ui;
    AppServices services(ui, dir.path() + u'/');
    const int count = int(state.range(0));
    const std::vector<BillValues> slips = filledSlips(services.database(), count);
    const int templateId = 1; // the shipped default express slip
    for (auto _ : state) {
        const bool ok =
            printBillsToPdf(services.database(), ui, services.settings(), BillKind::ExpressSlip,
                            templateId, slips, dir.path() + u"/slips.pdf");
        if (!ok)
            state.SkipWithError("nothing was printed");
    }
    state.counters["slips/s"] =
        benchmark::Counter(double(count) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["items/slip"] = double(slips.empty() ? 0 : slips[0].size());
    state.counters["peak_MB"] = double(peakKilobytes()) / 1024.0;
}
BENCHMARK(BM_ExpressSlipsToPdf)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
