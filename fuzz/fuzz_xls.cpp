// Arbitrary bytes as a binary workbook (xls, xlw, et). The library reads from a path, so each
// input is written to one file of this process first.
#include "ReadAll.h"
#include "data/spreadsheet/BiffReader.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QDir::tempPath() + QStringLiteral("/fuzz-xls-%1.xls").arg(getpid());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    BiffReader reader(path);
    readAll(reader);
    return 0;
}
