// The address book with 100,000 parties stored: opening the list (group list, first page of
// rows, row count) and searching it, plus the name look-ups the bill forms run on Enter.
#include "TestHome.h"
#include "data/BoundQuery.h"
#include "data/Parties.h"
#include "parties/AddressBook.h"

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <benchmark/benchmark.h>

namespace {

constexpr int kParties = 100000;

// One home for every benchmark: filling it takes longer than all the runs together.
TestHome &home()
{
    static TestHome *h = [] {
        auto *made = new TestHome;
        Database &db = made->db();
        db.inTransaction([&] {
            QSqlQuery q = db.query();
            q.prepare(QStringLiteral(
                "INSERT INTO CKPersonalInfoTable (全称, 助记码, 联系人, 电话, 手机, 省, 市, "
                "地址, 分组, 单位类型, 排序, 国家) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, "
                "'中国')"));
            for (int i = 0; i < kParties; ++i) {
                const QStringList values{
                    QStringLiteral("岚砚测试%1贸易有限公司").arg(i),
                    QStringLiteral("ly%1").arg(i),
                    QStringLiteral("联系人%1").arg(i % 5000),
                    QStringLiteral("0571-%1").arg(80000000 + i),
                    QStringLiteral("139%1").arg(i, 8, 10, QChar(u'0')),
                    QStringLiteral("浙江省"),
                    QStringLiteral("杭州市"),
                    QStringLiteral("西湖区文三路%1号").arg(i % 900),
                    QStringLiteral("分组%1").arg(i % 20),
                    i % 4 == 0 ? TPerson::kOwnUnit : TPerson::kCounterparty,
                };
                for (const QString &v : values)
                    q.addBindValue(v);
                if (!q.exec())
                    return false;
            }
            return true;
        });
        return made;
    }();
    return *h;
}

AddressBookFilter filterOf(const QString &key, const QString &unitType)
{
    AddressBookFilter filter;
    filter.key = key;
    filter.unitType = unitType;
    return filter;
}

// What the list does for one query: the first page of rows for the grid and the row count for
// the heading.
void listOnce(benchmark::State &state, const AddressBookFilter &filter)
{
    AddressBook book(home().db());
    const AddressBookStatement s = AddressBook::listStatement(
        filter, AddressBook::kDefaultSortField, AddressBook::kDefaultSortDirection);
    QSqlQueryModel model;
    if (book.open(model, s) < 0)
        state.SkipWithError("query failed");
}

void BM_OpenAddressBook(benchmark::State &state)
{
    home();
    for (auto _ : state) {
        AddressBook book(home().db());
        benchmark::DoNotOptimize(book.groupFilterList());
        listOnce(state, filterOf({}, TPerson::kCounterparty));
    }
}

void BM_ShowEveryParty(benchmark::State &state)
{
    home();
    for (auto _ : state)
        listOnce(state, {});
}

// A telephone fragment: a handful of rows out of the whole table.
void BM_SearchRareKey(benchmark::State &state)
{
    home();
    for (auto _ : state)
        listOnce(state, filterOf(QStringLiteral("8009999"), TPerson::kCounterparty));
}

// A word in every name: the first page fills at once, the count walks them all.
void BM_SearchCommonKey(benchmark::State &state)
{
    home();
    for (auto _ : state)
        listOnce(state, filterOf(QStringLiteral("贸易"), TPerson::kCounterparty));
}

void BM_NameLookUps(benchmark::State &state)
{
    home();
    Parties &parties = home().services().parties();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            parties.FindByFullName(QStringLiteral("岚砚测试76543贸易有限公司")));
        benchmark::DoNotOptimize(parties.FindByInputCode(QStringLiteral("LY76543")));
        benchmark::DoNotOptimize(parties.LoadDefaultDrawer());
    }
}

} // namespace

BENCHMARK(BM_OpenAddressBook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowEveryParty)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchRareKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchCommonKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NameLookUps)->Unit(benchmark::kMillisecond);
