// Feeds arbitrary bytes, as an Access file, to the copy made through mdbtools: it must refuse
// or copy them, never crash. The library's unbounded allocations on some damaged files are
// expected here (run with -rss_limit_mb): the program makes this copy in its reader helper,
// under limits.
#include "reader/JetDump.h"

#include <QTemporaryDir>
#include <QTemporaryFile>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QTemporaryFile file;
    QTemporaryDir dir;
    if (!file.open() || !dir.isValid())
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.flush();
    QString error;
    JetDump::write(
        file.fileName(), dir.path(), [](qint64, qint64) {}, &error);
    return 0;
}
