#include <benchmark/benchmark.h>

#include <string>

#include "text/transcode.h"

namespace {

// A 28-character article name as it is prepared for the "PR" frame: packed into font text,
// then turned into register text.
void BM_PrepareArticleName(benchmark::State& state) {
    const std::string name = "Njegoseva Ljuta Dzem Djak 1k";
    static_assert(sizeof("Njegoseva Ljuta Dzem Djak 1k") == 29);
    for (auto _ : state) {
        std::string text = qov::FontToRegister(qov::ConvertDigraphs(name, false));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_PrepareArticleName);

void BM_UnpackArticleName(benchmark::State& state) {
    const std::string name = "Wego{eva Quta Xem \\ak 1kg  ";
    for (auto _ : state) {
        std::string text = qov::ConvertDigraphs(qov::RegisterToFont(name), true);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_UnpackArticleName);

}  // namespace

BENCHMARK_MAIN();
