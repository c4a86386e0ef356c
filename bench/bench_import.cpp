// Spreadsheet import end to end: 10,000 rows of 20 columns read from an xlsx file, matched by
// the column rules and stored, into the address book with duplicate judging on and into the
// batch list.
#include "TestHome.h"
#include "batch/ColumnMatch.h"
#include "batch/ImportLog.h"
#include "batch/SpreadsheetImport.h"
#include "data/Spreadsheets.h"
#include "data/spreadsheet/XlsxWriter.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 10000;

const QStringList kTitles = {"单位名称", "收货人",   "联系电话", "手机",   "省",
                             "市",       "区",       "详细地址", "邮编",   "国家",
                             "备注",     "订单编号", "商品名称", "数量",   "重量",
                             "运费",     "保价金额", "代收金额", "目的站", "分组"};

QString sheetFile()
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("import.xlsx"));
    if (QFile::exists(path))
        return path;
    XlsxWriter book(path);
    book.addTitleRow(kTitles);
    for (int r = 0; r < kRows; ++r) {
        book.addRow({QStringLiteral("岚砚测试%1贸易有限公司").arg(r),
                     QStringLiteral("联系人%1").arg(r),
                     QStringLiteral("0571-%1").arg(80000000 + r),
                     QStringLiteral("139%1").arg(r, 8, 10, QChar(u'0')),
                     "浙江省",
                     "杭州市",
                     "西湖区",
                     QStringLiteral("文三路%1号").arg(r % 900),
                     "310012",
                     "中国",
                     "轻放",
                     QStringLiteral("T%1").arg(r),
                     "茶叶",
                     "2",
                     "1.5",
                     "12",
                     "500",
                     "0",
                     "杭州",
                     "上午"});
    }
    book.save();
    return path;
}

void importAll(benchmark::State &state, ImportScenario scenario)
{
    static TestHome home;
    const QString path = sheetFile();
    for (auto _ : state) {
        state.PauseTiming();
        QSqlQuery clear(home.db().connection());
        clear.exec(u"DELETE FROM " + ImportItems::table(scenario));
        state.ResumeTiming();

        QString error;
        const auto reader = home.services().spreadsheets().open(path, error);
        QStringList firstRow;
        for (int c = 1; c <= reader->usedColumns(); ++c)
            firstRow << reader->cellText(1, c);
        const auto &items = ImportItems::of(scenario);
        const std::vector<int> columns = ColumnMatch::autoNewMatchProperty(
            ColumnMatch::titlesOf(firstRow), items,
            ColumnMatch::Rules::LoadAllConstColumnPair(home.db().connection()));
        ImportLog log(home.path());
        log.start();
        ImportOptions options;
        options.scenario = scenario;
        if (scenario == ImportScenario::BatchList)
            options.judgeRepeated = options.byName = options.byContact = options.byPhone = false;
        SpreadsheetImport import(home.db(), *reader, log, options, columns, {});
        import.begin(path);
        while (import.step(1000) == SpreadsheetImport::State::Running) {
        }
        if (import.stored() != kRows)
            state.SkipWithError("not every row was stored");
    }
    state.counters["rows"] = kRows;
}

void BM_ImportIntoAddressBookJudgingDuplicates(benchmark::State &state)
{
    importAll(state, ImportScenario::AddressBook);
}
BENCHMARK(BM_ImportIntoAddressBookJudgingDuplicates)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportIntoBatchList(benchmark::State &state)
{
    importAll(state, ImportScenario::BatchList);
}
BENCHMARK(BM_ImportIntoBatchList)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
