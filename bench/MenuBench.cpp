// The long-press menu and the list of names in the whole app on the headless host, a tablet at two
// pixels per point: how long the step that opens the menu (the hold coming due) or the list (the
// key /) takes to present its frame, against one refresh of a 60 Hz display, and how long each frame
// of the list takes while a finger drags it and while it glides on after the fling.
//
// The headless host's clock is fake: the loop sleeps to its deadlines (the hold, the glide's next
// frame) at once, and only the real time spent handling and drawing is measured.

#include "app/ChartWindow.h"
#include "app/FindNameView.h"
#include "app/RootViewController.h"
#include "platform/ui/ApplicationLoop.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/HeadlessHost.h"
#include "platform/ui/UIMenuView.h"
#include "platform/ui/UITableView.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

namespace dazed {
namespace {

constexpr double kRefresh = 1.0 / 60.0;

// The loop goes before the host it draws through.
struct Tablet {
    HeadlessHost host{2.0f};
    std::unique_ptr<ApplicationLoop> loop;

    Tablet()
    {
        // As the window does: the screen is drawn into pixels the host lends, and not copied.
        host.setLendsPixels(true);
        host.setKeepsPresented(false);
        registerApplicationClasses(std::nullopt);
        LaunchOptions options;
        options.family = DeviceFamily::Tablet;
        if (auto launched = ApplicationLoop::launch(host, options, ClassRegistry::shared()))
            loop = std::move(launched).value();
    }
    [[nodiscard]] RootViewController* root() const
    {
        return loop ? dynamic_cast<RootViewController*>(loop->interface().rootViewController.get()) : nullptr;
    }
    // Milliseconds the next step takes, and whether it presented a frame.
    double timedStep(bool* presented = nullptr)
    {
        const int before = host.presentCount();
        const auto start = std::chrono::steady_clock::now();
        loop->step();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (presented)
            *presented = host.presentCount() > before;
        return ms;
    }
};

void report(benchmark::State& state, std::vector<double> ms, const char* name)
{
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    state.counters[std::string(name) + "_median_ms"] = ms[ms.size() / 2];
    state.counters[std::string(name) + "_p90_ms"] = ms[ms.size() * 9 / 10];
    state.counters[std::string(name) + "_max_ms"] = ms.back();
}

// Times the step after `prepare` (untimed) that must open what `isOpen` looks for, and presents
// its frame, once an iteration.
template <typename Prepare, typename IsOpen>
void timeOpening(benchmark::State& state, Prepare prepare, IsOpen isOpen)
{
    std::vector<double> ms;
    for (auto _ : state) {
        state.PauseTiming();
        Tablet app;
        if (!app.root()) {
            state.SkipWithError("the app did not launch");
            return;
        }
        prepare(app);
        state.ResumeTiming();
        bool presented = false;
        const double step = app.timedStep(&presented);
        state.PauseTiming();
        if (!presented || !isOpen(*app.root())) {
            state.SkipWithError("nothing opened");
            return;
        }
        ms.push_back(step);
        app.loop.reset();
        state.ResumeTiming();
    }
    report(state, ms, "open");
}

// From the hold coming due to the menu on screen: the step that sleeps to the hold's deadline
// fires it and presents the frame with the menu.
void BM_MenuOpensTablet2x(benchmark::State& state)
{
    timeOpening(
        state,
        [](Tablet& app) {
            app.host.inject(TouchInput{{{1, UITouchPhase::Began, {384, 512}}}});
            app.loop->step();
        },
        [](RootViewController& root) { return root.menu() && root.menu()->isOpen(); });
}

// From the key / (or the menu's Find…) to the list on screen.
void BM_FindOpensTablet2x(benchmark::State& state)
{
    timeOpening(
        state, [](Tablet& app) { app.host.inject(KeyInput{UIKey::fromCharacter('/')}); },
        [](RootViewController& root) { return root.findView() && root.findView()->isOpen(); });
}

// A finger drags the list of names up, a move every refresh, and lets go at speed: every frame of
// the drag and of the glide that follows, each against the 16.7 ms of a 60 Hz refresh.
void BM_ListScrollTablet2x(benchmark::State& state)
{
    std::vector<double> dragMs;
    std::vector<double> glideMs;
    double glideFrames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Tablet app;
        if (!app.root()) {
            state.SkipWithError("the app did not launch");
            return;
        }
        app.host.inject(KeyInput{UIKey::fromCharacter('/')});
        app.loop->step();
        const auto& find = app.root()->findView();
        if (!find || !find->isOpen()) {
            state.SkipWithError("the key opened no list");
            return;
        }
        state.ResumeTiming();
        CGPoint finger{384, 900};
        app.host.inject(TouchInput{{{1, UITouchPhase::Began, finger}}});
        app.loop->step();
        for (int i = 0; i < 40; ++i) {
            finger.y -= 18; // about 1,100 points a second
            app.host.advance(kRefresh);
            app.host.inject(TouchInput{{{1, UITouchPhase::Moved, finger}}});
            bool presented = false;
            const double ms = app.timedStep(&presented);
            if (presented)
                dragMs.push_back(ms);
        }
        app.host.inject(TouchInput{{{1, UITouchPhase::Ended, finger}}});
        app.loop->step();
        int frames = 0;
        while (find->list()->isDecelerating() && frames < 1000) {
            bool presented = false;
            const double ms = app.timedStep(&presented);
            if (presented) {
                glideMs.push_back(ms);
                ++frames;
            }
        }
        state.PauseTiming();
        glideFrames = frames;
        app.loop.reset();
        state.ResumeTiming();
    }
    state.counters["glide_frames"] = glideFrames;
    report(state, dragMs, "drag_frame");
    report(state, glideMs, "glide_frame");
}

BENCHMARK(BM_MenuOpensTablet2x)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FindOpensTablet2x)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ListScrollTablet2x)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace dazed

BENCHMARK_MAIN();
