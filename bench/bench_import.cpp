// Spreadsheet import end to end: 10,000 rows of 20 columns read from an xlsx file, matched by
// the column rules and stored, into the address book with duplicate judging on and into the
// batch list. Then the import log: 100,000 invalid rows logged, and the start of the next import
// over the log they left.
#include "TestHome.h"
#include "batch/ColumnMatch.h"
#include "batch/ImportLog.h"
#include "batch/SpreadsheetImport.h"
#include "data/Spreadsheets.h"
#include "data/spreadsheet/CsvReader.h"
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
        log.finish();
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

constexpr int kInvalidRows = 100000;

// Rows with an address only: each is refused as invalid and logged.
void importInvalidRows(TestHome &home)
{
    static const QByteArray csv = [] {
        QByteArray text = "联系人,地址\n";
        for (int r = 0; r < kInvalidRows; ++r)
            text += ",文三路" + QByteArray::number(r) + "号\n";
        return text;
    }();
    CsvReader reader(QStringLiteral("invalid.csv"), csv);
    reader.load();
    ImportOptions options;
    options.scenario = ImportScenario::BatchList;
    options.judgeRepeated = options.byName = options.byContact = options.byPhone = false;
    ImportLog log(home.path());
    log.start();
    SpreadsheetImport import(home.db(), reader, log, options, {-1, 1, -1, -1, -1, -1, -1, 2}, {});
    import.begin(QStringLiteral("invalid.csv"));
    while (import.step(1000) == SpreadsheetImport::State::Running) {
    }
    log.info(QStringLiteral("Finish"), import.summary());
    log.finish();
}

void BM_LogHundredThousandInvalidRows(benchmark::State &state)
{
    TestHome home;
    for (auto _ : state)
        importInvalidRows(home);
    state.counters["rows"] = kInvalidRows;
}
BENCHMARK(BM_LogHundredThousandInvalidRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// "开始导入" after such an import: the log is begun afresh over the long one.
void BM_StartOverTheLogOfAHugeImport(benchmark::State &state)
{
    TestHome home;
    for (auto _ : state) {
        state.PauseTiming();
        importInvalidRows(home);
        state.ResumeTiming();
        ImportLog log(home.path());
        log.start();
        log.info(QStringLiteral("File"), QStringLiteral("数据文件来源:next.xlsx"));
        benchmark::DoNotOptimize(log.finish());
    }
}
BENCHMARK(BM_StartOverTheLogOfAHugeImport)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
