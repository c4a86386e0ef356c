// Two workstations saving express slips into one shared database at once, for 30 s: every
// number the program answered must be in the table once, and the table must hold no other.
// Needs a PostgreSQL server (LANYAN_TEST_PG, as the tests); without one it says so and runs
// nothing. LANYAN_BENCH_SAVE_SECONDS shortens the run.
//
// The program starts itself twice as the two workstations (LANYAN_BENCH_SAVER names the
// database, the seconds and the file for the numbers), so each saves through its own process
// and connection, as two clerks' programs do.
#include "TestHome.h"
#include "bills/BillStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace {

constexpr int kWorkstations = 2;

int seconds()
{
    bool ok = false;
    const int s = qEnvironmentVariableIntValue("LANYAN_BENCH_SAVE_SECONDS", &ok);
    return ok && s > 0 ? s : 30;
}

// With the password, which the address shown to people leaves out.
QString urlOf(const ServerAddress &address)
{
    QUrl url(address.displayUrl());
    if (!address.password.isEmpty())
        url.setPassword(address.password);
    return url.toString();
}

// One workstation: saves slips one after another and writes down each number it was given.
void BM_SaverWorkstation(benchmark::State &state)
{
    const QStringList job = qEnvironmentVariable("LANYAN_BENCH_SAVER").split(u'\n');
    const ServerAddress address = ServerAddress::fromUrl(job.value(0));
    const qint64 ms = job.value(1).toLongLong() * 1000;
    QFile numbers(job.value(2));
    Database db(QStringLiteral("saver"));
    if (db.openServer(address) != Database::Status::Opened || !numbers.open(QIODevice::WriteOnly)) {
        state.SkipWithError(qPrintable(u"cannot start: " + db.problem()));
        return;
    }
    BillStore slips(db, QStringLiteral("DataKDDTable"));
    int saved = 0, failed = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            const BillStore::SaveResult r =
                slips.save(0, {{"模板种类", "快递单（飞燕速递）"},
                               {"收件单位", QStringLiteral("深圳市飞鸿%1贸易有限公司").arg(saved)},
                               {"寄件日期", "2026-12-11"},
                               {"总费用", "12.5"}});
            if (!r.error.isEmpty() || r.billId <= 0) {
                ++failed;
                continue;
            }
            numbers.write(QByteArray::number(r.billId) + '\n');
            ++saved;
        }
    }
    numbers.flush();
    state.counters["saved"] = saved;
    state.counters["failed"] = failed;
}

std::vector<int> numbersIn(const QString &path)
{
    std::vector<int> ids;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        while (!f.atEnd())
            if (const QByteArray line = f.readLine().trimmed(); !line.isEmpty())
                ids.push_back(line.toInt());
    return ids;
}

void BM_TwoWorkstationsSaveAtOnce(benchmark::State &state)
{
    ServerSchema schema;
    {
        // The schema is made once, before either workstation starts.
        Database db(QStringLiteral("prepare"));
        if (db.openServer(schema.address()) != Database::Status::Created) {
            state.SkipWithError(qPrintable(db.problem()));
            return;
        }
    }
    QTemporaryDir dir;
    std::vector<int> reported;
    std::set<int> distinct;
    for (auto _ : state) {
        std::vector<std::unique_ptr<QProcess>> workstations;
        for (int i = 0; i < kWorkstations; ++i) {
            auto p = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("LANYAN_BENCH_SAVER"),
                       urlOf(schema.address()) + u'\n' + QString::number(seconds()) + u'\n' +
                           dir.filePath(QString::number(i)));
            p->setProcessEnvironment(env);
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--benchmark_filter=^BM_SaverWorkstation")});
            workstations.push_back(std::move(p));
        }
        for (auto &p : workstations)
            if (!p->waitForFinished((seconds() + 120) * 1000) || p->exitCode() != 0)
                state.SkipWithError("a workstation did not finish");
    }
    for (int i = 0; i < kWorkstations; ++i) {
        const std::vector<int> ids = numbersIn(dir.filePath(QString::number(i)));
        state.counters["saved" + std::to_string(i + 1)] = double(ids.size());
        reported.insert(reported.end(), ids.begin(), ids.end());
    }
    distinct.insert(reported.begin(), reported.end());
    if (reported.empty())
        state.SkipWithError("the workstations saved nothing");

    Database db(QStringLiteral("check"));
    db.openServer(schema.address());
    std::set<int> stored;
    QSqlQuery q = db.query();
    if (q.exec(QStringLiteral("SELECT 流水号 FROM DataKDDTable")))
        while (q.next())
            stored.insert(q.value(0).toInt());
    int lost = 0;
    for (int id : distinct)
        lost += stored.count(id) ? 0 : 1;
    state.counters["saved"] = double(reported.size());
    state.counters["per_second"] = double(reported.size()) / seconds();
    state.counters["duplicated"] = double(reported.size() - distinct.size());
    state.counters["lost"] = lost;
    // Rows no workstation was told about.
    state.counters["unreported"] = double(stored.size()) - double(distinct.size() - lost);
}

// Registered by what the run is for: the two workstations, or one of them.
[[maybe_unused]] const bool registered = [] {
    if (std::getenv("LANYAN_BENCH_SAVER")) {
        benchmark::RegisterBenchmark("BM_SaverWorkstation", BM_SaverWorkstation)
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
    } else if (TestHome::onServer()) {
        benchmark::RegisterBenchmark("BM_TwoWorkstationsSaveAtOnce", BM_TwoWorkstationsSaveAtOnce)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kSecond);
    } else {
        std::fprintf(stderr, "bench_concurrent_saves: no PostgreSQL server (set LANYAN_TEST_PG, "
                             "see scripts/pg-cluster); nothing to measure\n");
    }
    return true;
}();

} // namespace
