// Address recognition: one typical pasted block (goal under 1 ms), every block of the test set
// in turn, the longest text the window takes, and the division table's one-time load.
#include "parties/AddressRecognizer.h"
#include "parties/RegionIndex.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>

namespace {

const QString kBlock =
    QStringLiteral("收货人：王小明，手机：13912345678，电话：0571-87654321-806，"
                   "地址：浙江省杭州市西湖区文三路388号钱江科技大厦1203室，邮编：310012");

void recognizeText(benchmark::State &state, const QString &text)
{
    const std::vector<TextReplacement> own{{QStringLiteral("收件"), QStringLiteral("收货")}};
    AddressRecognitionOptions options;
    options.containProvinceCity = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(recognizeAddress(normalizeAddressText(text, own), options));
}

void BM_RecognizeTypicalBlock(benchmark::State &state)
{
    recognizeText(state, kBlock);
}

QStringList fixtureBlocks()
{
    QFile file(QStringLiteral(LANYAN_SOURCE_DIR "/tests/parties/fixtures/address_blocks.jsonl"));
    QStringList texts;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                texts << QJsonDocument::fromJson(line).object()[QStringLiteral("text")].toString();
    return texts;
}

// Shop pages, one-line lists, labelled forms: the time per block over the whole set.
void BM_RecognizeEachTestSetBlock(benchmark::State &state)
{
    const QStringList texts = fixtureBlocks();
    if (texts.isEmpty()) {
        state.SkipWithError("no test set");
        return;
    }
    for (auto _ : state)
        for (const QString &t : texts)
            benchmark::DoNotOptimize(recognizeAddress(normalizeAddressText(t, {}), {}));
    state.SetItemsProcessed(state.iterations() * texts.size());
}

// 1,024 characters, the memo's limit: the work grows with the text, never explodes.
void BM_RecognizeFullMemo(benchmark::State &state)
{
    recognizeText(state, kBlock.repeated(20).left(1024));
}

// What the first recognition of a run pays once.
void BM_LoadDivisionTable(benchmark::State &state)
{
    QFile file(QStringLiteral(":/regions/divisions.tsv"));
    file.open(QIODevice::ReadOnly);
    const QString table = QString::fromUtf8(file.readAll());
    for (auto _ : state)
        benchmark::DoNotOptimize(RegionIndex(table).size());
}

} // namespace

BENCHMARK(BM_RecognizeTypicalBlock)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecognizeEachTestSetBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecognizeFullMemo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDivisionTable)->Unit(benchmark::kMillisecond);
