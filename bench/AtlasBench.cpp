// The printed atlas: the whole document (index and every chart) and one chart, drawn into PDF bytes
// as `dazed atlas` makes them, and the page scheme alone. The document's size is reported as a
// counter beside its time.

#include "app/AtlasCommand.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/image/PdfDocument.h"

#include <benchmark/benchmark.h>

namespace dazed {
namespace {

AtlasPlan planFor(std::optional<EquatorialPosition> single)
{
    AtlasPlan plan;
    plan.single = single;
    plan.path = "unused.pdf";
    return plan;
}

void makeDocument(benchmark::State& state, const AtlasPlan& plan)
{
    const PaperSize paper = paperSize(plan.settings.paper);
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto document = renderPdfDocument(paper.widthMm * kPointsPerMm, paper.heightMm * kPointsPerMm,
                                          atlasPageCount(plan), [&](int i) { drawAtlasPage(plan, i); });
        bytes = document ? document.value().size() : 0;
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_WholeAtlasPdf(benchmark::State& state)
{
    makeDocument(state, planFor(std::nullopt));
}
BENCHMARK(BM_WholeAtlasPdf)->Unit(benchmark::kMillisecond);

void BM_OneChartPdf(benchmark::State& state)
{
    makeDocument(state, planFor(EquatorialPosition{3.2, 58.0}));
}
BENCHMARK(BM_OneChartPdf)->Unit(benchmark::kMillisecond);

void BM_OneChartCallsOnly(benchmark::State& state)
{
    const AtlasPlan plan = planFor(EquatorialPosition{3.2, 58.0});
    for (auto _ : state) {
        NullContext context;
        UIGraphicsContextScope scope(&context);
        drawAtlasPage(plan, 0);
    }
}
BENCHMARK(BM_OneChartCallsOnly)->Unit(benchmark::kMillisecond);

void BM_PageScheme(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(atlasScheme(pageExtent(Paper::A4, kDefaultRadiusMm)).pages.size());
}
BENCHMARK(BM_PageScheme)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace dazed

BENCHMARK_MAIN();
