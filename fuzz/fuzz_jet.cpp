// Feeds arbitrary bytes, as an Access file, to the reader of older databases and packages:
// it must refuse or read them, never crash.
#include "data/JetTableSource.h"

#include <QTemporaryFile>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QTemporaryFile file;
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.flush();
    QString error;
    const auto source = JetTableSource::open(file.fileName(), &error);
    if (!source)
        return 0;
    for (const QString &table : source->tableNames()) {
        const QStringList columns = source->columnNames(table);
        source->forEachRow(
            table, std::nullopt,
            [&](const SourceRow &row) {
                for (const QString &c : columns)
                    row.value(c);
                return true;
            },
            &error);
    }
    return 0;
}
