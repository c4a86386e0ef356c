// Arbitrary bytes as a binary workbook (xls, xlw, et), read as the reader helper reads them.
// The library reads from a path, so each input is written to one file of this process first.
#include "reader/WorkbookDump.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QDir::tempPath() + QStringLiteral("/fuzz-xls-%1.xls").arg(getpid());
    static const QString output = path + QStringLiteral(".out");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    bool refused = false;
    WorkbookDump::write(
        path, output, 0, [](qint64, qint64) {}, &refused);
    return 0;
}
