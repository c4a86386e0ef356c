// A Config.ini of 100,000 keys: reading it (as every start does), and changing one key, which
// writes the whole file once.
#include "base/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kKeys = 100'000;

QString writeBigIni(const QTemporaryDir &dir)
{
    QByteArray text;
    for (int i = 0; i < kKeys; ++i) {
        if (i % 1000 == 0)
            text += "[Section" + QByteArray::number(i / 1000) + "]\r\n";
        text += "Key" + QByteArray::number(i) + "=Value " + QByteArray::number(i) + "\r\n";
    }
    const QString path = dir.filePath("Config.ini");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

void BM_ReadIniOf100kKeys(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeBigIni(dir);
    for (auto _ : state) {
        IniFile ini(path);
        benchmark::DoNotOptimize(ini.readString("section99", "key99999"));
    }
}
BENCHMARK(BM_ReadIniOf100kKeys)->Unit(benchmark::kMillisecond);

void BM_WriteOneKeyOf100k(benchmark::State &state)
{
    QTemporaryDir dir;
    IniFile ini(writeBigIni(dir));
    int n = 0;
    for (auto _ : state)
        ini.writeInteger("Section50", "Key50000", ++n);
}
BENCHMARK(BM_WriteOneKeyOf100k)->Unit(benchmark::kMillisecond);

void BM_LookUpEachOf100kKeys(benchmark::State &state)
{
    QTemporaryDir dir;
    const IniFile ini(writeBigIni(dir));
    for (auto _ : state)
        for (int i = 0; i < kKeys; i += 97)
            benchmark::DoNotOptimize(ini.readString(QStringLiteral("Section%1").arg(i / 1000),
                                                    QStringLiteral("key%1").arg(i)));
}
BENCHMARK(BM_LookUpEachOf100kKeys)->Unit(benchmark::kMillisecond);

} // namespace
