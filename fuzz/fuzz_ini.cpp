// Arbitrary bytes as an INI file: every section and key reads, and a value written reads back.
#include "base/IniFile.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QDir::tempPath() + QStringLiteral("/fuzz-ini-%1.ini").arg(getpid());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    IniFile ini(path);
    for (const QString &section : ini.sections()) {
        for (const QString &key : ini.keys(section)) {
            ini.readString(section, key);
            ini.readInteger(section, key, 0);
        }
    }
    if (ini.writeString(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("值 1"))) {
        ini.reload();
        if (ini.readString(QStringLiteral("Fuzz"), QStringLiteral("Key")) != u"值 1")
            abort();
    }
    return 0;
}
