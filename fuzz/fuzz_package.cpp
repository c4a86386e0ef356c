// Arbitrary bytes as an SQLite template package: the file is refused, or its checked tables
// read row by row within the value limits; never a crash, a hang or a memory blow-up (run with
// -rss_limit_mb=300 -timeout=10). Seeds: packages the program exported.
#include "data/SqliteTableSource.h"
#include "templates/TemplatePackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_package";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv); // the SQL driver plugin needs one
    static const QString path =
        QDir::tempPath() + QStringLiteral("/fuzz-package-%1.lyb").arg(getpid());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    QString error;
    const std::unique_ptr<SqliteTableSource> source = SqliteTableSource::open(path, &error);
    if (!source || !TemplatePackage::checkColumns(*source, &error))
        return 0;
    for (const QString &table : source->tableNames()) {
        qsizetype bytes = 0;
        source->forEachRow(
            table, std::nullopt,
            [&](const SourceRow &row) {
                for (const QString &column : source->columnNames(table))
                    bytes += row.value(column).toByteArray().size();
                return true;
            },
            &error);
    }
    return 0;
}
