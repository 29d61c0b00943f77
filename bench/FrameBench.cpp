// The cost of one frame of the chart: its geometry alone (projection, culling, the calls made into
// a context that does nothing or only records), and the whole frame rasterised by Cairo, for the
// phone and tablet screens at one and two pixels per point in each label mode. Beside them, the
// floor of each raster size (clearing and copying that many ARGB pixels, the least any frame of
// that size costs) and the PNG export of a tablet frame. scripts/bench runs them all and prints
// each raster frame's ratio to its floor. The frame as the window draws it by day and at night is
// measured beside them too.

#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/image/Image.h"
#include "platform/graphics/image/ImageContext.h"
#include "platform/graphics/image/ImageExport.h"
#include "platform/graphics/image/RasterSurface.h"
#include "render/ChartSetup.h"
#include "render/QuartzView.h"
#include "sky/SolarSystem.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace dazed {
namespace {

std::shared_ptr<QuartzView> startView(float width, float height, int labels, float ra = 17.0f,
                                      float dec = 31.0f)
{
    return makeChartView({.width = width, .height = height, .ra = ra, .dec = dec, .labelMode = labels});
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

// The phone frame with star names at several centres: right ascension (hours) and declination
// (degrees, tenths), both poles included.
void BM_FrameGeometryCentre(benchmark::State& state)
{
    const auto ra = static_cast<float>(state.range(0));
    const auto dec = static_cast<float>(state.range(1)) / 10.0f;
    auto view = startView(320, 480, 1, ra, dec);
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

// Draws the view's frame straight into a raster of its size at `scale`, once an iteration.
void drawWholeFrames(benchmark::State& state, QuartzView& view, double scale)
{
    const CGRect bounds = view.bounds();
    RasterSurface surface(bounds.size.width, bounds.size.height, scale);
    if (!surface.ok()) {
        state.SkipWithError("cannot make the surface");
        return;
    }
    for (auto _ : state) {
        drawInto(view, surface.context());
        benchmark::DoNotOptimize(surface.pixel(0, 0));
    }
}

// Arguments: width, height, scale, label mode changes.
void BM_FrameCairo(benchmark::State& state)
{
    const auto width = static_cast<float>(state.range(0));
    const auto height = static_cast<float>(state.range(1));
    auto view = startView(width, height, static_cast<int>(state.range(3)));
    drawWholeFrames(state, *view, static_cast<double>(state.range(2)));
}

// The view's frame recorded and then rasterised in bands on every core, as exports and the
// window's backing store draw them, at `scale` pixels per point.
void drawBandedFrames(benchmark::State& state, QuartzView& view, double scale)
{
    const CGRect bounds = view.bounds();
    RasterSurface surface(bounds.size.width, bounds.size.height, scale);
    if (!surface.ok()) {
        state.SkipWithError("cannot make the surface");
        return;
    }
    RecordingContext recording;
    for (auto _ : state) {
        recording.clear();
        drawInto(view, &recording);
        surface.drawRecorded(recording.ops());
        benchmark::DoNotOptimize(surface.pixel(0, 0));
    }
}

void BM_FrameCairoBanded(benchmark::State& state)
{
    auto view = startView(static_cast<float>(state.range(0)), static_cast<float>(state.range(1)),
                          static_cast<int>(state.range(3)));
    drawBandedFrames(state, *view, static_cast<double>(state.range(2)));
}

// The phone frame at two pixels per point with star names, drawn in bands, at several centres
// (right ascension in hours, declination in tenths of a degree): where the constellation figures
// and bright stars crowd into one part of the screen, one band has more to draw than the other.
void BM_FrameCairoBandedCentre(benchmark::State& state)
{
    auto view = startView(320, 480, 1, static_cast<float>(state.range(0)),
                          static_cast<float>(state.range(1)) / 10.0f);
    drawBandedFrames(state, *view, 2.0);
}

// The phone frame at two pixels per point with a place's sky and without it, at the same centre:
// Sagittarius from Paris just after sunset on 2026 Dec 12, where the horizon crosses the view,
// the ground fills half of it and the Sun and a young Moon are in view (the most the layer draws
// on a phone). Arguments: the layer off or on, one thread or in bands.
void BM_FrameSkyLayer(benchmark::State& state)
{
    auto view = startView(320, 480, 0, 19.0f, -27.6f);
    if (state.range(0) != 0) {
        const auto sky = computeSkySnapshot({48.85, 2.35, 35.0}, {2026, 12, 12, 16, 45, 0.0}, 60);
        if (!sky) {
            state.SkipWithError("no sky for the place and time");
            return;
        }
        view->setSkySnapshot(sky);
    }
    if (state.range(1) != 0) {
        drawBandedFrames(state, *view, 2.0);
        return;
    }
    drawWholeFrames(state, *view, 2.0);
}

// Working out a place's sky (horizon, Sun, Moon, planets), as the window does at start, on a key
// and once a minute: never per frame.
void BM_SkySnapshot(benchmark::State& state)
{
    for (auto _ : state) {
        auto sky = computeSkySnapshot({48.85, 2.35, 35.0}, {2026, 12, 12, 16, 45, 0.0}, 60);
        benchmark::DoNotOptimize(sky);
    }
}

// The phone and tablet frames with star names as the window draws the sky: recorded, then made in
// bands straight into the screen's image, by day and at night. Night mode draws every colour in
// its night form as it goes, so the two should cost the same. Arguments: width, height (points),
// scale, night (0 or 1).
void BM_FrameInTint(benchmark::State& state)
{
    const auto width = static_cast<float>(state.range(0));
    const auto height = static_cast<float>(state.range(1));
    auto view = startView(width, height, 1);
    auto screen = Image::create({width, height}, static_cast<float>(state.range(2)));
    screen->setTint(state.range(3) != 0 ? ScreenTint::Night : ScreenTint::Day);
    RecordingContext recording;
    for (auto _ : state) {
        recording.clear();
        drawInto(*view, &recording);
        drawRecorded(*screen, {}, ImageContext::Clear::Black, recording.ops(), view->bounds());
        benchmark::DoNotOptimize(screen->pixelAt(0, 0));
    }
}

// Clearing a frame's pixels and copying them once, as a frame shown on screen needs at least.
// Arguments: width, height (points), scale.
void BM_ClearCopyFloor(benchmark::State& state)
{
    const auto pixels =
        static_cast<std::size_t>(std::lround(static_cast<double>(state.range(0) * state.range(2)) *
                                             static_cast<double>(state.range(1) * state.range(2))));
    std::vector<std::uint32_t> frame(pixels);
    std::vector<std::uint32_t> screen(pixels);
    for (auto _ : state) {
        std::memset(frame.data(), 0, pixels * sizeof(std::uint32_t));
        benchmark::ClobberMemory();
        std::memcpy(screen.data(), frame.data(), pixels * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(pixels * sizeof(std::uint32_t)));
}

// A tablet frame at two pixels per point with star names, drawn and encoded as PNG bytes, as
// `dazed render --device tablet --scale 2 --labels 1 -o chart.png` does before writing the file.
void BM_PngExport(benchmark::State& state)
{
    auto view = startView(1024, 768, 1);
    std::size_t size = 0;
    for (auto _ : state) {
        auto png =
            renderImage(ImageFormat::Png, CGSize{1024, 768}, 2.0, [&] { view->drawRect(view->bounds()); });
        if (!png) {
            state.SkipWithError(png.error().message.c_str());
            return;
        }
        size = png.value().size();
        benchmark::DoNotOptimize(png.value().data());
    }
    state.counters["bytes"] = static_cast<double>(size);
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
BENCHMARK(BM_FrameGeometryCentre)
    ->ArgNames({"ra", "dec10"})
    ->Args({17, 310})
    ->Args({6, 0})
    ->Args({0, 900})
    ->Args({12, -900})
    ->Args({5, -600})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameGeometryRecording)
    ->ArgNames({"w", "h", "labels"})
    ->Args({320, 480, 0})
    ->Args({320, 480, 1})
    ->Args({1024, 768, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameCairo)
    ->ArgNames({"w", "h", "scale", "labels"})
    ->ArgsProduct({{320}, {480}, {1, 2}, {0, 1, 2}})
    ->ArgsProduct({{1024}, {768}, {1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameCairoBanded)
    ->ArgNames({"w", "h", "scale", "labels"})
    ->ArgsProduct({{320}, {480}, {1, 2}, {0, 1, 2}})
    ->ArgsProduct({{1024}, {768}, {1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameInTint)
    ->ArgNames({"w", "h", "scale", "night"})
    ->ArgsProduct({{320}, {480}, {1, 2}, {0, 1}})
    ->ArgsProduct({{1024}, {768}, {1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameCairoBandedCentre)
    ->ArgNames({"ra", "dec10"})
    ->Args({17, 310})
    ->Args({6, 310})
    ->Args({20, 0})
    ->Args({18, 0})
    ->Args({12, 0})
    ->Args({5, -600})
    ->Args({12, -600})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameSkyLayer)
    ->ArgNames({"sky", "banded"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkySnapshot)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClearCopyFloor)
    ->ArgNames({"w", "h", "scale"})
    ->ArgsProduct({{320}, {480}, {1, 2}})
    ->ArgsProduct({{1024}, {768}, {1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameCairoPanning)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngExport)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace dazed

BENCHMARK_MAIN();
