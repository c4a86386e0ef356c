// The two history lists with 100,000 saved bills each: opening the list (count, sum, first
// page, template list), every search the windows offer, sorting by another column, and
// exporting every row.
#include "TestHome.h"
#include "data/spreadsheet/XlsxWriter.h"
#include "history/BillHistory.h"
#include "history/HistoryExport.h"
#include "history/HistoryModel.h"
#include "history/HistoryStatement.h"

#include <QFile>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBills = 100000;
// The seeded bills run from 2024-01-01, 150 a day, to this day: "today" of the date ranges.
const QDate kLastDay = QDate(2024, 1, 1).addDays((kBills - 1) / 150);

// One home for every benchmark: filling it takes longer than all the runs together.
TestHome &home()
{
    static TestHome *h = [] {
        auto *made = new TestHome;
        Database &db = made->db();
        const QDate first(2024, 1, 1);
        db.inTransaction([&] {
            QSqlQuery slip = db.query();
            slip.prepare(QStringLiteral(
                "INSERT INTO DataKDDTable (模板种类, 寄件单位, 寄件联系人, 寄件地址, 寄件电话, "
                "寄件日期, 收件单位, 收件联系人, 收件地址, 收件电话, 物品内容, 件数, 重量, "
                "总费用, 快递单号, 备注) VALUES (?, '岚砚办公用品公司', '张三', "
                "'杭州市西湖区文三路100号', '0571-88888888', ?, ?, ?, ?, ?, '文件', '1', '0.5', "
                "?, ?, ?)"));
            QSqlQuery draft = db.query();
            draft.prepare(QStringLiteral(
                "INSERT INTO DataCDHPTable (模板种类, 票据编号, 票据状态, 币种, 金额, 出票日期, "
                "承兑协议号, 汇票到期日, 收款人全称, 收款人开户行, 收款人账号, 出票人全称, "
                "出票人账号, 付款行名称) VALUES (?, ?, ?, '人民币', ?, ?, ?, '2025-06-30', ?, "
                "'工商银行杭州分行', ?, '岚砚办公用品公司', '1202020209000012345', "
                "'工商银行')"));
            for (int i = 0; i < kBills; ++i) {
                const QString date = first.addDays(i / 150).toString(Qt::ISODate);
                for (const QVariant &v :
                     QVariantList{i % 3 ? QStringLiteral("顺丰速运") : QStringLiteral("圆通快递"),
                                  date, QStringLiteral("深圳市飞鸿%1贸易有限公司").arg(i % 9000),
                                  QStringLiteral("联系人%1").arg(i % 5000),
                                  QStringLiteral("南山区科技园%1号").arg(i % 700),
                                  QStringLiteral("139%1").arg(i, 8, 10, QChar(u'0')),
                                  i % 10 ? QString::number(10 + i % 90) + u".5" : QString(),
                                  QStringLiteral("SF%1").arg(1000000000LL + i), QString()})
                    slip.addBindValue(v);
                if (!slip.exec())
                    return false;
                const char *states[] = {"未用", "已用", "作废", ""};
                for (const QVariant &v : QVariantList{
                         QStringLiteral("工行银承"), QStringLiteral("3010%1").arg(i),
                         QString::fromUtf8(states[i % 4]), QString::number(1000 + i % 50000), date,
                         QStringLiteral("XY%1").arg(i, 8, 10, QChar(u'0')),
                         QStringLiteral("宁波甬兴%1机械有限公司").arg(i % 7000),
                         QStringLiteral("6222%1").arg(i, 12, 10, QChar(u'0'))})
                    draft.addBindValue(v);
                if (!draft.exec())
                    return false;
            }
            return true;
        });
        // A live server's autovacuum keeps the planner's statistics and the map that lets
        // searches answer from an index alone; tables filled a moment ago have neither.
        if (db.backend() == Database::Backend::Postgres) {
            QSqlQuery q = db.query();
            for (const char *table : {"DataKDDTable", "DataCDHPTable"})
                q.exec(u"VACUUM ANALYZE " + Database::quoted(QString::fromLatin1(table)));
        }
        return made;
    }();
    return *h;
}

// What the window does for one query: count and sum, then the first page of rows.
void listOnce(benchmark::State &state, const HistoryKind &kind, const HistoryFilter &filter)
{
    BillHistory history(home().db(), kind);
    HistoryModel model(kind.stateColumn);
    QString error;
    if (!history.open(model, HistoryStatement::build(kind, filter, home().db().backend()), error))
        state.SkipWithError(error.toUtf8().constData());
    benchmark::DoNotOptimize(model.rowCount());
}

void BM_OpenSlipHistory(benchmark::State &state)
{
    home();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            BillHistory(home().db(), HistoryKind::expressSlips()).templateNames());
        listOnce(state, HistoryKind::expressSlips(), {});
    }
}

// The last month and part of a tracking number, matched anywhere in it.
void BM_SearchSlips(benchmark::State &state)
{
    home();
    HistoryFilter filter;
    filter.from = QDate(2025, 6, 1);
    filter.to = QDate(2025, 6, 30);
    filter.number = QStringLiteral("0008");
    for (auto _ : state)
        listOnce(state, HistoryKind::expressSlips(), filter);
}

void BM_SortSlips(benchmark::State &state)
{
    home();
    HistoryFilter filter;
    filter.sortColumn = QStringLiteral("收件单位");
    for (auto _ : state)
        listOnce(state, HistoryKind::expressSlips(), filter);
}

void BM_OpenDraftHistory(benchmark::State &state)
{
    home();
    for (auto _ : state)
        listOnce(state, HistoryKind::acceptanceDrafts(), {});
}

void BM_SearchDrafts(benchmark::State &state)
{
    home();
    HistoryFilter filter;
    filter.amountFrom = 20000;
    filter.amountTo = 20500.5;
    filter.sender = QStringLiteral("岚砚");
    for (auto _ : state)
        listOnce(state, HistoryKind::acceptanceDrafts(), filter);
}

void BM_SortDrafts(benchmark::State &state)
{
    home();
    HistoryFilter filter;
    filter.sortColumn = QStringLiteral("出票日期");
    for (auto _ : state)
        listOnce(state, HistoryKind::acceptanceDrafts(), filter);
}

void BM_ExportSlips(benchmark::State &state)
{
    home();
    const QString path = home().path() + u"export.xlsx";
    for (auto _ : state) {
        XlsxWriter book(path);
        HistoryExport::Progress progress;
        const HistoryExport::Result result = HistoryExport::run(
            home().db(),
            HistoryStatement::build(HistoryKind::expressSlips(), {}, home().db().backend()), book,
            progress);
        if (!result.error.isEmpty() || result.rows != kBills)
            state.SkipWithError("export failed");
    }
    state.counters["MB"] = double(QFile(path).size()) / 1e6;
}

// One search of a window: its conditions as the user sets them.
struct Search
{
    const char *name;
    const HistoryKind &kind;
    HistoryFilter filter;
};

HistoryFilter lastDays(int days)
{
    HistoryFilter f;
    f.from = kLastDay.addDays(-days);
    f.to = kLastDay;
    return f;
}

HistoryFilter matching(QString HistoryFilter::*box, const char *text, bool fuzzy = true)
{
    HistoryFilter f;
    f.*box = QString::fromUtf8(text);
    f.fuzzy = fuzzy;
    return f;
}

std::vector<Search> searches()
{
    const HistoryKind &slips = HistoryKind::expressSlips();
    const HistoryKind &drafts = HistoryKind::acceptanceDrafts();
    HistoryFilter yearByReceiver = lastDays(365);
    yearByReceiver.sortColumn = QStringLiteral("收件单位");
    HistoryFilter wideAmount;
    wideAmount.amountFrom = 2000;
    HistoryFilter narrowAmount;
    narrowAmount.amountFrom = 20000;
    narrowAmount.amountTo = 20500.5;
    return {
        {"Slips/Today", slips, lastDays(0)},
        {"Slips/LastMonth", slips, lastDays(30)},
        {"Slips/LastYear", slips, lastDays(365)},
        {"Slips/LastYearByReceiver", slips, yearByReceiver},
        {"Slips/NumberFuzzy", slips, matching(&HistoryFilter::number, "0008")},
        {"Slips/NumberFuzzyRare", slips, matching(&HistoryFilter::number, "99999")},
        {"Slips/NumberExact", slips, matching(&HistoryFilter::number, "SF1000054321", false)},
        {"Slips/ReceiverFuzzy", slips, matching(&HistoryFilter::receiver, "飞鸿12")},
        {"Slips/ReceiverFuzzyRare", slips, matching(&HistoryFilter::receiver, "飞鸿8999贸")},
        {"Slips/ReceiverExact", slips,
         matching(&HistoryFilter::receiver, "深圳市飞鸿12贸易有限公司", false)},
        {"Slips/SenderFuzzy", slips, matching(&HistoryFilter::sender, "张")},
        {"Slips/SenderExact", slips, matching(&HistoryFilter::sender, "张三", false)},
        {"Slips/TemplateFuzzy", slips, matching(&HistoryFilter::templateName, "圆通")},
        {"Drafts/LastYear", drafts, lastDays(365)},
        {"Drafts/NumberFuzzy", drafts, matching(&HistoryFilter::number, "0099")},
        {"Drafts/PayeeFuzzy", drafts, matching(&HistoryFilter::receiver, "甬兴69")},
        {"Drafts/PayeeExact", drafts,
         matching(&HistoryFilter::receiver, "宁波甬兴699机械有限公司", false)},
        {"Drafts/DrawerFuzzy", drafts, matching(&HistoryFilter::sender, "岚砚")},
        {"Drafts/AmountWide", drafts, wideAmount},
        {"Drafts/AmountNarrow", drafts, narrowAmount},
    };
}

} // namespace

// Every search as the window sends it, named by window and condition.
static const bool registered = [] {
    for (const Search &s : searches())
        benchmark::RegisterBenchmark(s.name, [s](benchmark::State &state) {
            home();
            for (auto _ : state)
                listOnce(state, s.kind, s.filter);
        })->Unit(benchmark::kMillisecond);
    return true;
}();

BENCHMARK(BM_OpenSlipHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchSlips)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSlips)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDraftHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchDrafts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortDrafts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSlips)->Unit(benchmark::kMillisecond)->Iterations(1);
