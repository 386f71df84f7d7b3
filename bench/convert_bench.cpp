// GB -> Big5 through the language library (TTranslator, and TCodeConverter's variant walk)
// against plain iconv CP936 -> CP950 on the same bytes, measured in one run. iconv alone
// changes only the encoding (simplified characters Big5 lacks become '?'); the library also
// swaps simplified for traditional characters, which is the cost shown here.
#include <benchmark/benchmark.h>

#include <memory>

#include "lang/code_converter.h"
#include "lang/translator.h"
#include "platform/text/codepage.h"
#include "platform/variant/variant.h"

namespace {

using vel::Variant;

// A report-like paragraph: Chinese text, figures and line breaks.
const char* kParagraph =
    "国家统计局发布的库存报表显示，本月仓库A01的物料编号为MAT-2024-0815的期末数量为1234.56，"
    "单位成本为78.90元。后来发现头发制品的发货单据有误，需要重新核对并于下周一前提交。\n"
    "料号、品名、规格、仓库、批号、期初数量、本期入库、本期出库、期末数量、金额合计。\n";

const std::string& TenMegabytes() {
    static const std::string text = [] {
        std::string gb = vel::CN(kParagraph);
        std::string out;
        out.reserve(10u << 20);
        while (out.size() + gb.size() <= (10u << 20)) out += gb;
        return out;
    }();
    return text;
}

// 100 000 short texts, as a result set of item names comes back from the server.
const Variant& HundredThousandTexts() {
    static const Variant array = [] {
        const char* names[] = {"钢板", "不锈钢螺丝", "电源适配器", "包装纸箱", "铝合金型材", "打印机墨盒", "A级原料", "成品仓"};
        Variant a = Variant::Array(0, 99999);
        auto& items = a.ArrayData().items;
        for (size_t i = 0; i < items.size(); ++i)
            items[i] = Variant(vel::CN(names[i % 8]) + std::to_string(i));
        return a;
    }();
    return array;
}

int64_t ArrayBytes(const Variant& array) {
    int64_t n = 0;
    for (const auto& item : array.ArrayData().items) n += static_cast<int64_t>(item.ToString().size());
    return n;
}

// A converter for a Big5 screen over a GB database, with the real library.
std::unique_ptr<vel::TCodeConverter> Big5Converter() {
    auto converter = std::make_unique<vel::TCodeConverter>(nullptr);
    vel::CodePageSettings s;
    s.uiCodePage = "950";
    s.screenMode = 2;
    s.dataMode = 2;
    converter->ApplySettings(s);
    return converter;
}

void BM_TextTranslator(benchmark::State& state) {
    vel::TTranslator translator;
    const std::string& text = TenMegabytes();
    for (auto _ : state) benchmark::DoNotOptimize(translator.ConvertGBToBig5(text));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TextTranslator)->Unit(benchmark::kMillisecond);

void BM_TextConverter(benchmark::State& state) {
    auto converter = Big5Converter();
    const std::string& text = TenMegabytes();
    for (auto _ : state) benchmark::DoNotOptimize(converter->GBToBig5Text(text));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TextConverter)->Unit(benchmark::kMillisecond);

void BM_TextRawIconv(benchmark::State& state) {
    const std::string& text = TenMegabytes();
    for (auto _ : state) benchmark::DoNotOptimize(vel::ConvertCodePage(text, vel::kCodePageGB, vel::kCodePageBig5));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TextRawIconv)->Unit(benchmark::kMillisecond);

// iconv where nothing misses: the library's Big5 output back to GB, encodings only.
void BM_TextRawIconvNoMisses(benchmark::State& state) {
    const std::string big5 = vel::TTranslator().ConvertGBToBig5(TenMegabytes());
    for (auto _ : state) benchmark::DoNotOptimize(vel::ConvertCodePage(big5, vel::kCodePageBig5, vel::kCodePageGB));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(big5.size()));
}
BENCHMARK(BM_TextRawIconvNoMisses)->Unit(benchmark::kMillisecond);

void BM_ArrayConvertVariant(benchmark::State& state) {
    auto converter = Big5Converter();
    const Variant& array = HundredThousandTexts();
    for (auto _ : state) benchmark::DoNotOptimize(converter->ConvertVariant(vel::kGBToBig5, array));
    state.SetBytesProcessed(state.iterations() * ArrayBytes(array));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(array.ArrayData().items.size()));
}
BENCHMARK(BM_ArrayConvertVariant)->Unit(benchmark::kMillisecond);

// The same elements through iconv one by one, copied into a new array as ConvertVariant does.
void BM_ArrayRawIconv(benchmark::State& state) {
    const Variant& array = HundredThousandTexts();
    for (auto _ : state) {
        Variant copy = array;
        for (auto& item : copy.ArrayData().items)
            item = Variant(vel::ConvertCodePage(item.ToString(), vel::kCodePageGB, vel::kCodePageBig5));
        benchmark::DoNotOptimize(copy);
    }
    state.SetBytesProcessed(state.iterations() * ArrayBytes(array));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(array.ArrayData().items.size()));
}
BENCHMARK(BM_ArrayRawIconv)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
