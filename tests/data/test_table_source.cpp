#include "data/JetTableSource.h"
#include "data/TableSource.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// Public Access sample databases, kept with the tests.
QString accessFixture(const char *name)
{
    return QStringLiteral(LANYAN_SOURCE_DIR "/tests/data/fixtures/access/") +
           QString::fromLatin1(name);
}

std::unique_ptr<TableSource> openFixture(const char *name)
{
    QString error;
    auto source = TableSource::open(accessFixture(name), &error);
    EXPECT_TRUE(source) << name << ": " << error.toStdString();
    return source;
}

} // namespace

TEST(JetTables, ReadsTablesColumnsTextNumbersDatesAndBinaryValues)
{
    auto nwind = openFixture("nwind.mdb");
    ASSERT_TRUE(nwind);
    EXPECT_EQ(TableSource::detectFile(accessFixture("nwind.mdb")), TableSource::Format::Jet);
    EXPECT_TRUE(nwind->hasTable("EMPLOYEES"));
    EXPECT_FALSE(nwind->hasTable("MSysObjects")) << "system tables are not offered";
    EXPECT_EQ(nwind->columnNames("Shippers"), QStringList({"ShipperID", "CompanyName", "Phone"}));

    QStringList lastNames;
    QByteArray photo;
    QString birthDate;
    QString error;
    ASSERT_TRUE(nwind->forEachRow(
        "employees", std::nullopt,
        [&](const SourceRow &row) {
            lastNames << row.value("LASTNAME").toString();
            if (row.value("EmployeeID").toString() == "2") {
                photo = row.value("Photo").toByteArray();
                birthDate = row.value("BirthDate").toString();
                EXPECT_TRUE(row.value("ReportsTo").isNull());
            }
            EXPECT_FALSE(row.hasColumn("NoSuchColumn"));
            EXPECT_TRUE(row.value("NoSuchColumn").isNull());
            return true;
        },
        &error))
        << error.toStdString();
    EXPECT_EQ(lastNames.size(), 9);
    EXPECT_EQ(lastNames.first(), "Davolio");
    EXPECT_EQ(birthDate, "1952-02-19 00:00:00");
    // An OLE picture: the object header, then the bitmap.
    EXPECT_EQ(photo.size(), 21626);
    EXPECT_TRUE(photo.contains("BM"));

    // A filter, and a visit that stops early.
    int rows = 0;
    QString company;
    ASSERT_TRUE(nwind->forEachRow(
        "Customers", TableSource::Filter{"CustomerID", "BLAUS"},
        [&](const SourceRow &row) {
            ++rows;
            company = row.value("CompanyName").toString();
            return false;
        },
        &error));
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(company, "Blauer See Delikatessen");

    EXPECT_FALSE(nwind->forEachRow(
        "NoSuchTable", std::nullopt, [](auto &) { return true; }, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(JetTables, DatesAndLongTextOfASecondFile)
{
    auto dates = openFixture("DateTestDatabase.mdb");
    ASSERT_TRUE(dates);
    std::vector<std::pair<QString, QString>> values;
    QString error;
    ASSERT_TRUE(dates->forEachRow(
        "DateTest", std::nullopt,
        [&](const SourceRow &row) {
            values.emplace_back(row.value("DateCol").toString(),
                                row.value("LongTextCol").toString());
            return true;
        },
        &error));
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values[0], std::make_pair(QString("2021-12-02 00:00:00"), QString("Hello")));
}

// An Access file that is no template package, and damaged Access files.
TEST(JetTables, DamagedOrForeignFilesGiveAnErrorNotACrash)
{
    const QString nwind = accessFixture("nwind.mdb");
    QTemporaryDir dir;
    QFile source(nwind);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray whole = source.readAll();
    QByteArray scrambled = whole;
    for (qsizetype i = 4096; i < scrambled.size(); i += 61)
        scrambled[i] = char(scrambled[i] ^ 0x5a);
    const struct
    {
        const char *name;
        QByteArray bytes;
    } files[] = {
        {"header-only.mdb", whole.left(20)},
        {"first-pages.mdb", whole.left(3 * 2048)},
        {"half.mdb", whole.left(whole.size() / 2)},
        {"scrambled.mdb", scrambled},
    };
    for (const auto &f : files) {
        const QString path = dir.filePath(f.name);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(f.bytes);
        out.close();
        QString error;
        auto table = TableSource::open(path, &error);
        if (!table) {
            EXPECT_FALSE(error.isEmpty()) << f.name;
            continue;
        }
        // Whatever is left readable is read without a crash.
        for (const QString &name : table->tableNames())
            table->forEachRow(
                name, std::nullopt,
                [](const SourceRow &row) {
                    row.value("Photo");
                    return true;
                },
                &error);
    }

    QString error;
    auto asPackage = TableSource::open(nwind, &error);
    ASSERT_TRUE(asPackage);
    EXPECT_FALSE(asPackage->hasTable("_ckTypeTable"));
}

// The largest resident size the test program has had, in MB.
long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Sound files with a few bytes changed, found by fuzzing: the library allocates without end
// while it reads the column properties of one, and reads through a null pointer in the page
// map of the other. The file is read by the reader helper, under limits.
TEST(JetTables, ALibraryThatBlowsUpOrCrashesIsStoppedAndReported)
{
    const struct
    {
        const char *fixture;
        std::vector<std::pair<qsizetype, char>> patch;
    } cases[]{
        {"DateTestDatabase.mdb", {{150162, 0}}},
        {"nwind.mdb",
         {{24590, 0}, {24591, 0}, {24592, 0}, {24593, 0}, {24594, 0}, {24595, 0}, {38550, 11}}},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        QFile sound(accessFixture(c.fixture));
        ASSERT_TRUE(sound.open(QIODevice::ReadOnly)) << c.fixture;
        QByteArray bytes = sound.readAll();
        for (const auto &[offset, value] : c.patch)
            bytes[offset] = value;
        const QString path = dir.filePath(QString::fromLatin1(c.fixture));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        out.close();

        const long before = peakMegabytes();
        QString error;
        EXPECT_FALSE(TableSource::open(path, &error)) << c.fixture;
        EXPECT_TRUE(error.startsWith(QStringLiteral("无法读取数据库文件（文件可能已损坏）")))
            << error.toStdString();
        EXPECT_LT(peakMegabytes() - before, 100) << c.fixture;
    }

#ifndef __SANITIZE_ADDRESS__ // the sanitizer's helper runs without an address-space limit
    // A budget too small for a sound file ends the same way, not in a crash.
    QString error;
    ReaderProcess::Limits tiny;
    tiny.addressBytes = qint64(16) << 20;
    EXPECT_FALSE(JetTableSource::open(accessFixture("DateTestDatabase.mdb"), &error, {}, tiny));
    EXPECT_FALSE(error.isEmpty());
#endif
}
