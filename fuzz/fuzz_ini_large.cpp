// The input repeated into an INI file of some hundred thousand lines, each round with keys of
// its own: large enough that a look-up or a read costing the number of keys would time the run
// out (-timeout=10). Every key reads, and a write reads back.
#include "base/IniFile.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    static const QString path =
        QDir::tempPath() + QStringLiteral("/fuzz-ini-large-%1.ini").arg(getpid());
    const QByteArray unit(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray text;
    for (int i = 0; text.size() < (4 << 20); ++i)
        text += unit + "\nkey" + QByteArray::number(i) + '=' + QByteArray::number(i) + '\n';
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(text);
    file.close();
    IniFile ini(path);
    for (const QString &section : ini.sections())
        for (const QString &key : ini.keys(section))
            if (!ini.valueExists(section, key))
                abort();
    if (ini.writeString(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral("值 1"))) {
        ini.reload();
        if (ini.readString(QStringLiteral("Fuzz"), QStringLiteral("Key")) != u"值 1")
            abort();
    }
    return 0;
}
