// Address recognition: one typical pasted block (goal under 2 ms, so a list of 500 blocks
// recognises in about a second), and the longest text the window takes.
#include "parties/AddressRecognizer.h"

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

// 1,024 characters, the memo's limit: the work grows with the text, never explodes.
void BM_RecognizeFullMemo(benchmark::State &state)
{
    recognizeText(state, kBlock.repeated(20).left(1024));
}

void BM_Recognize500Blocks(benchmark::State &state)
{
    for (auto _ : state)
        for (int i = 0; i < 500; ++i)
            benchmark::DoNotOptimize(
                recognizeAddress(normalizeAddressText(kBlock, {}), AddressRecognitionOptions()));
}

} // namespace

BENCHMARK(BM_RecognizeTypicalBlock)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecognizeFullMemo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recognize500Blocks)->Unit(benchmark::kMillisecond);
