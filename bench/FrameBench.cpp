// The cost of one frame of the chart: its geometry alone (projection, culling, the calls made into
// a context that does nothing or only records), and the whole frame rasterised by Cairo, for the
// phone and tablet screens at one and two pixels per point, without and with star names.

#include "platform/graphics/RasterSurface.h"
#include "platform/graphics/RecordingContext.h"
#include "render/ChartSetup.h"
#include "render/QuartzView.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace dazed {
namespace {

std::shared_ptr<QuartzView> startView(float width, float height, int labels)
{
    return makeChartView({.width = width, .height = height, .labelMode = labels});
}

void drawInto(QuartzView& view, CGContextRef context)
{
    UIGraphicsContextScope scope(context);
    view.drawRect(view.bounds());
}

// Arguments: width, height, label mode changes.
void BM_FrameGeometryNull(benchmark::State& state)
{
    auto view = startView(static_cast<float>(state.range(0)), static_cast<float>(state.range(1)),
                          static_cast<int>(state.range(2)));
    NullContext context;
    for (auto _ : state) {
        drawInto(*view, &context);
        benchmark::DoNotOptimize(view->fields().nblines);
    }
}

void BM_FrameGeometryRecording(benchmark::State& state)
{
    auto view = startView(static_cast<float>(state.range(0)), static_cast<float>(state.range(1)),
                          static_cast<int>(state.range(2)));
    RecordingContext context;
    for (auto _ : state) {
        context.clear();
        drawInto(*view, &context);
        benchmark::DoNotOptimize(context.ops().size());
    }
}

// Arguments: width, height, scale, label mode changes.
void BM_FrameCairo(benchmark::State& state)
{
    const auto width = static_cast<float>(state.range(0));
    const auto height = static_cast<float>(state.range(1));
    auto view = startView(width, height, static_cast<int>(state.range(3)));
    RasterSurface surface(width, height, static_cast<double>(state.range(2)));
    if (!surface.ok()) {
        state.SkipWithError("cannot make the surface");
        return;
    }
    for (auto _ : state) {
        drawInto(*view, surface.context());
        benchmark::DoNotOptimize(surface.pixel(0, 0));
    }
}

// The tablet at two pixels per point with star names while the centre moves every frame, as in a
// drag: names land on new pixels and the readout text changes.
void BM_FrameCairoPanning(benchmark::State& state)
{
    auto view = startView(1024, 768, 1);
    RasterSurface surface(1024, 768, 2.0);
    float ra = 17.0f;
    for (auto _ : state) {
        ra += 0.001f;
        if (ra > 18.0f)
            ra = 17.0f;
        view->writexs(ra, 31.0f, 1024, 768);
        drawInto(*view, surface.context());
        benchmark::DoNotOptimize(surface.pixel(0, 0));
    }
}

BENCHMARK(BM_FrameGeometryNull)
    ->ArgNames({"w", "h", "labels"})
    ->Args({320, 480, 0})
    ->Args({320, 480, 1})
    ->Args({1024, 768, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameGeometryRecording)
    ->ArgNames({"w", "h", "labels"})
    ->Args({320, 480, 0})
    ->Args({320, 480, 1})
    ->Args({1024, 768, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameCairo)
    ->ArgNames({"w", "h", "scale", "labels"})
    ->ArgsProduct({{320}, {480}, {1, 2}, {0, 1}})
    ->ArgsProduct({{1024}, {768}, {1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameCairoPanning)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace dazed

BENCHMARK_MAIN();
