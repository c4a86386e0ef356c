// The acceptance draft batch: one bill per draft batch list row, built on the draft form's
// values through the draft's rules, and rendered into one PDF document, as the batch window
// prints them. Reports drafts per second and how much the peak memory grew.
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "batch/ui/TfrmMutiPrintCDHP.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"

#include <QSqlQuery>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void addDrafts(Database &db, int count)
{
    db.inTransaction([&] {
        QSqlQuery q = db.query();
        q.prepare(
            QStringLiteral("INSERT INTO MultiPrintCDHP (票据编号, 出票日期, 金额, 汇票到期日, "
                           "收款人全称, 收款人账号, 收款人开户行, 出票人全称, 付款行名称) "
                           "VALUES (?, '2026-05-01', ?, '+180', ?, '1100102860', "
                           "'建设银行中关村支行', '岚砚科技有限公司', '工商银行科技园支行')"));
        for (int i = 0; i < count; ++i) {
            q.addBindValue(QStringLiteral("NO-%1").arg(i));
            q.addBindValue(QString::number(1000 + i * 7.25, 'f', 2));
            q.addBindValue(QStringLiteral("北京远景贸易有限公司%1").arg(i));
            if (!q.exec())
                return false;
        }
        return true;
    });
}

void BM_DraftBatchWindowToOnePdf(benchmark::State &state)
{
    const int count = int(state.range(0));
    TestHome home;
    Tfm_Main frame(home.services());
    frame.openAcceptanceDraft();
    if (!TfmCheckCDHP::instance()) {
        state.SkipWithError("no draft form");
        return;
    }
    addDrafts(home.db(), count);
    TfrmMutiPrintCDHP window(home.services(), {});
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.refresh();
    const QString pdf = home.path() + u"drafts.pdf";
    const long before = peakKilobytes();
    for (auto _ : state) {
        home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
        window.btStartPrintClick();
    }
    if (!home.ui.last().text.contains(QStringLiteral("共送出 %1 张").arg(count)))
        state.SkipWithError(qPrintable(home.ui.last().text));
    state.counters["drafts/s"] =
        benchmark::Counter(double(count) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["peak_growth_MB"] = double(peakKilobytes() - before) / 1024.0;
}
BENCHMARK(BM_DraftBatchWindowToOnePdf)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace
