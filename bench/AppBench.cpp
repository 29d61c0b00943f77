// The whole app on the headless host, with the app's own classes as `dazed` registers them: the
// first frame of a tablet at two pixels per point (time and peak memory), and a storm of 1,000
// one-finger moves delivered through the real event loop, and the flip to the information page and
// back (how long each of its frames takes to draw, and the peak memory through it).
//
// The headless host's clock is fake, so the display's refresh is modelled: a 1 kHz input device
// delivers about 16.7 moves between two refreshes of a 60 Hz display, and the loop handles every
// event waiting and then draws once per step. Each batch is injected, the fake clock advanced by one
// refresh, and the loop stepped once.

#include "app/ChartWindow.h"
#include "app/SettingsStore.h"
#include "app/WindowStart.h"
#include "platform/ProcessStats.h"
#include "platform/ui/ApplicationLoop.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/HeadlessHost.h"
#include "platform/ui/UIViewAnimation.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace dazed {
namespace {

constexpr double kRefresh = 1.0 / 60.0;
constexpr int kMoves = 1000;
constexpr double kMovesPerSecond = 1000.0;

std::unique_ptr<ApplicationLoop> launchTablet(HeadlessHost& host)
{
    // As the window does: the screen is drawn into pixels the host lends, and not copied.
    host.setLendsPixels(true);
    host.setKeepsPresented(false);
    registerApplicationClasses(std::nullopt);
    LaunchOptions options;
    options.family = DeviceFamily::Tablet;
    auto launched = ApplicationLoop::launch(host, options, ClassRegistry::shared());
    if (!launched)
        return nullptr;
    return std::move(launched).value();
}

// A tablet at two pixels per point on the headless host, with the app launched in it. The loop
// goes before the host it draws through.
struct LaunchedTablet {
    HeadlessHost host{2.0f};
    std::unique_ptr<ApplicationLoop> loop;
    int presentedAtLaunch{0};
};

// The app launched as launchTablet does, outside the benchmark's timing; or null, with the
// benchmark marked failed and its timing left paused.
std::unique_ptr<LaunchedTablet> launchTabletUntimed(benchmark::State& state)
{
    state.PauseTiming();
    auto app = std::make_unique<LaunchedTablet>();
    app->loop = launchTablet(app->host);
    if (!app->loop) {
        state.SkipWithError("the app did not launch");
        return nullptr;
    }
    app->presentedAtLaunch = app->host.presentCount();
    state.ResumeTiming();
    return app;
}

void BM_FirstFrameTablet2x(benchmark::State& state)
{
    for (auto _ : state) {
        HeadlessHost host(2.0f);
        auto loop = launchTablet(host);
        if (!loop || host.presentCount() != 1) {
            state.SkipWithError("the app did not launch");
            return;
        }
    }
    state.counters["peak_rss_MiB"] = static_cast<double>(peakResidentKibibytes()) / 1024.0;
}

// The first frame as a run with remembered settings makes it: the settings file read and parsed, a
// remembered place's sky (shown) worked out and drawn over the chart.
void BM_FirstFrameTablet2xWithRememberedSettings(benchmark::State& state)
{
    std::string folder = (std::filesystem::temp_directory_path() / "dazed-bench-settings-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string path = folder + "/settings.json";
    Settings remembered;
    remembered.layerShown = true;
    remembered.place = GeographicPlace{48.85, 2.35, 35};
    {
        SettingsStore store(path, [](const std::string&) {});
        store.load();
        store.save(remembered);
    }
    for (auto _ : state) {
        SettingsStore store(path, [&state](const std::string& line) { state.SkipWithError(line.c_str()); });
        const auto sky = startingSky(std::nullopt, store.load(), std::chrono::system_clock::now());
        if (!sky || !sky->shown) {
            state.SkipWithError("the remembered place was not read");
            break;
        }
        HeadlessHost host(2.0f);
        host.setLendsPixels(true);
        host.setKeepsPresented(false);
        registerApplicationClasses(std::nullopt, std::nullopt, sky);
        LaunchOptions options;
        options.family = DeviceFamily::Tablet;
        auto launched = ApplicationLoop::launch(host, options, ClassRegistry::shared());
        if (!launched || host.presentCount() != 1) {
            state.SkipWithError("the app did not launch");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}

void BM_DragStorm(benchmark::State& state)
{
    double frames = 0;
    double refreshes = 0;
    double lastMoveMs = 0;
    // How long every batch took from its last move to its frame presented, over every storm: the
    // last move alone is one sample, at the mercy of whatever else the machine does just then.
    std::vector<double> stepMs;
    for (auto _ : state) {
        const auto app = launchTabletUntimed(state);
        if (!app)
            return;
        HeadlessHost& host = app->host;
        const auto& loop = app->loop;
        const CGSize screen = host.screenSize();
        const CGPoint start{screen.width * 0.5f, screen.height * 0.5f};

        host.inject(TouchInput{{{1, UITouchPhase::Began, start}}});
        loop->step();
        int sent = 0;
        int batches = 0;
        auto lastBatchSent = std::chrono::steady_clock::now();
        while (sent < kMoves) {
            ++batches;
            const int due =
                std::min(kMoves, static_cast<int>(std::lround(batches * kRefresh * kMovesPerSecond)));
            for (; sent < due; ++sent) {
                // Half a point a move: a slow drag across a third of the screen in a second.
                const CGPoint p{start.x + 0.25f * static_cast<float>(sent % 400),
                                start.y + 0.1f * static_cast<float>(sent % 300)};
                host.inject(TouchInput{{{1, UITouchPhase::Moved, p}}});
            }
            host.advance(kRefresh);
            lastBatchSent = std::chrono::steady_clock::now();
            loop->step();
            stepMs.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - lastBatchSent)
                    .count());
        }
        const auto lastShown = std::chrono::steady_clock::now();

        state.PauseTiming();
        frames = host.presentCount() - app->presentedAtLaunch;
        refreshes = batches + 1; // the batches and the touch's beginning
        lastMoveMs = std::chrono::duration<double, std::milli>(lastShown - lastBatchSent).count();
        host.inject(TouchInput{{{1, UITouchPhase::Ended, start}}});
        loop->step();
        app->loop.reset();
        state.ResumeTiming();
    }
    state.counters["frames"] = frames;
    state.counters["refreshes"] = refreshes;
    state.counters["last_move_ms"] = lastMoveMs;
    // A drag shows a new readout at every frame: what is kept of it must not grow with the drag.
    state.counters["peak_rss_MiB"] = static_cast<double>(peakResidentKibibytes()) / 1024.0;
    if (!stepMs.empty()) {
        std::sort(stepMs.begin(), stepMs.end());
        state.counters["move_to_frame_median_ms"] = stepMs[stepMs.size() / 2];
        state.counters["move_to_frame_p90_ms"] = stepMs[stepMs.size() * 9 / 10];
    }
}

// The flip to the information page and back, a frame a refresh: how long each frame takes to draw
// (each side is drawn again from its calls, a band of columns at a time, for every frame).
void BM_FlipTablet2x(benchmark::State& state)
{
    std::vector<double> frameMs;
    double frames = 0;
    for (auto _ : state) {
        const auto app = launchTabletUntimed(state);
        if (!app)
            return;
        for (int flip = 0; flip < 2; ++flip) {
            app->host.inject(KeyInput{UIKey::fromCharacter('i')});
            // The key's step draws the first frame; each step after it waits (on the fake clock)
            // for the next refresh and draws one frame, until the flip is over.
            bool more = true;
            do {
                more = UIViewAnimation::shared().isAnimating();
                const int presented = app->host.presentCount();
                const auto start = std::chrono::steady_clock::now();
                app->loop->step();
                if (app->host.presentCount() > presented)
                    frameMs.push_back(
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                            .count());
            } while (more);
        }
        state.PauseTiming();
        frames = app->host.presentCount() - app->presentedAtLaunch;
        app->loop.reset();
        state.ResumeTiming();
    }
    state.counters["frames"] = frames;
    if (!frameMs.empty()) {
        std::sort(frameMs.begin(), frameMs.end());
        state.counters["frame_median_ms"] = frameMs[frameMs.size() / 2];
        state.counters["frame_p90_ms"] = frameMs[frameMs.size() * 9 / 10];
        state.counters["frame_max_ms"] = frameMs.back();
    }
    state.counters["peak_rss_MiB"] = static_cast<double>(peakResidentKibibytes()) / 1024.0;
}

BENCHMARK(BM_FirstFrameTablet2x)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstFrameTablet2xWithRememberedSettings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragStorm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FlipTablet2x)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace dazed

BENCHMARK_MAIN();
