// Draws the phone frame (or any size) a fixed number of times after a few frames of warming up,
// for counting instructions with callgrind, which the other developers' builds on this machine do
// not disturb the way they disturb a timed benchmark. Only the frames drawn inside profiledFrames
// are counted when callgrind is told to collect there:
//
//     valgrind --tool=callgrind --toggle-collect='dazed::profiledFrames(*)'
//         build/dev/bench/frame_profile --sky --frames 10   (one command line)
//
// and the program's total, divided by the frames, is one frame's cost (callgrind_annotate
// --inclusive=yes breaks it down by pass). In bands the helper threads draw outside that
// function: run it for two frame counts with --separate-threads=no and without the toggle, and
// take the difference.
//
// Options: --sky (a place's sky: Paris just after sunset on 2026 Dec 12, as BM_FrameSkyLayer),
// --banded (recorded and drawn in bands, as the window draws), --frames N (10), --size W H
// (points, 320 480), --labels L (0), --centre RA DEC (hours, degrees; 19 -27.6), --scale S (2).

#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/image/RasterSurface.h"
#include "render/ChartSetup.h"
#include "render/QuartzView.h"
#include "sky/SolarSystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace dazed {

enum class Drawing { Whole, Banded };

struct ProfiledView {
    std::shared_ptr<QuartzView> view;
    RasterSurface surface;
    RecordingContext recording;
    Drawing drawing;
};

void drawFrame(ProfiledView& p)
{
    if (p.drawing == Drawing::Banded) {
        p.recording.clear();
        {
            UIGraphicsContextScope scope(&p.recording);
            p.view->drawRect(p.view->bounds());
        }
        p.surface.drawRecorded(p.recording.ops());
        return;
    }
    UIGraphicsContextScope scope(p.surface.context());
    p.view->drawRect(p.view->bounds());
}

// Kept out of line so that callgrind can be told to count only here.
[[gnu::noinline]] void profiledFrames(ProfiledView& p, int frames)
{
    for (int i = 0; i < frames; ++i)
        drawFrame(p);
}

} // namespace dazed

int main(int argc, char** argv)
{
    using namespace dazed;
    bool sky = false;
    Drawing drawing = Drawing::Whole;
    int frames = 10;
    int labels = 0;
    float width = 320.0f, height = 480.0f, ra = 19.0f, dec = -27.6f;
    double scale = 2.0;
    for (int i = 1; i < argc; ++i) {
        const auto more = [&](int n) {
            return i + n < argc;
        };
        if (!std::strcmp(argv[i], "--sky")) {
            sky = true;
        } else if (!std::strcmp(argv[i], "--banded")) {
            drawing = Drawing::Banded;
        } else if (!std::strcmp(argv[i], "--frames") && more(1)) {
            frames = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--labels") && more(1)) {
            labels = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--scale") && more(1)) {
            scale = std::atof(argv[++i]);
        } else if (!std::strcmp(argv[i], "--size") && more(2)) {
            width = static_cast<float>(std::atof(argv[++i]));
            height = static_cast<float>(std::atof(argv[++i]));
        } else if (!std::strcmp(argv[i], "--centre") && more(2)) {
            ra = static_cast<float>(std::atof(argv[++i]));
            dec = static_cast<float>(std::atof(argv[++i]));
        } else {
            std::fprintf(stderr, "frame_profile: unknown or incomplete option %s\n", argv[i]);
            return 2;
        }
    }
    if (frames < 1 || labels < 0 || labels > 2 || !(scale > 0.0) || !(width > 0.0f) || !(height > 0.0f)) {
        std::fprintf(stderr, "frame_profile: frames at least 1, labels 0 to 2, positive sizes and scale\n");
        return 2;
    }
    ProfiledView p{
        makeChartView({.width = width, .height = height, .ra = ra, .dec = dec, .labelMode = labels}),
        RasterSurface(width, height, scale), RecordingContext{}, drawing};
    if (!p.surface.ok()) {
        std::fprintf(stderr, "frame_profile: cannot make the surface\n");
        return 1;
    }
    if (sky)
        p.view->setSkySnapshot(computeSkySnapshot({48.85, 2.35, 35.0}, {2026, 12, 12, 16, 45, 0.0}, 60));
    // Glyphs outlined and text composed for the first time, and Cairo's caches filled, belong to
    // the first frames only.
    for (int i = 0; i < 3; ++i)
        drawFrame(p);
    profiledFrames(p, frames);
    std::printf("%d frames drawn\n", frames);
    return 0;
}
