// The express slip batch: one bill per batch list row, built on the express slip form's values
// and rendered into one PDF document, as the batch window prints them. Reports slips per second
// and how much the peak memory grew.
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "batch/ui/TfrmMutiPrint.h"
#include "bills/ui/TfmCheckKDD.h"
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

void addRows(Database &db, int count)
{
    db.inTransaction([&] {
        QSqlQuery q = db.query();
        q.prepare(QStringLiteral("INSERT INTO ReceiverList (全称, 联系人, 电话, 手机, 省, 市, "
                                 "地址, 邮编, 内件说明, 件数, 重量, 费用) "
                                 "VALUES (?, ?, ?, ?, '广东省', '深圳市', ?, '518000', '文件', "
                                 "'1', '0.5', '12')"));
        for (int i = 0; i < count; ++i) {
            const QString n = QString::number(i);
            for (const QString &v :
                 QStringList{u"岚砚商贸有限公司" + n, u"收件人" + n, u"0755-8888" + n,
                             u"1380000" + n, u"南山区科技园科苑路" + n + u"号"})
                q.addBindValue(v);
            if (!q.exec())
                return false;
        }
        return true;
    });
}

void BM_BatchWindowSlipsToOnePdf(benchmark::State &state)
{
    const int count = int(state.range(0));
    TestHome home;
    Tfm_Main frame(home.services());
    frame.menuItem(QStringLiteral("m_new_kdd"))->trigger();
    TfmCheckKDD *form = TfmCheckKDD::instance();
    if (!form) {
        state.SkipWithError("no express slip form");
        return;
    }
    form->setFieldText(QStringLiteral("zdHKR"), QStringLiteral("岚砚办公用品公司"));
    addRows(home.db(), count);
    TfrmMutiPrint window(home.services(), {});
    window.ALoadGridData();
    const QString pdf = home.path() + u"batch.pdf";
    const long before = peakKilobytes();
    for (auto _ : state) {
        home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
        window.btPrintAllClick();
    }
    if (!home.ui.last().text.contains(QStringLiteral("共送出 %1 张").arg(count)))
        state.SkipWithError(qPrintable(home.ui.last().text));
    state.counters["slips/s"] =
        benchmark::Counter(double(count) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["peak_growth_MB"] = double(peakKilobytes() - before) / 1024.0;
    state.counters["peak_MB"] = double(peakKilobytes()) / 1024.0;
}
BENCHMARK(BM_BatchWindowSlipsToOnePdf)
    ->Arg(1000)
    ->Arg(200)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace
