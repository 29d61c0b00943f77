#pragma once

// How a chart view is set up before its first frame, shared by `dazed render`, the tests and the
// benchmarks: the view is made the size of the screen and told, through its own commands, the
// centre, the zoom and how many times the label mode was advanced.

#include <memory>

namespace dazed {

class QuartzView;

struct ChartSetup {
    float width{320};  // points
    float height{480}; // points
    float ra{17.0f};   // centre's right ascension, hours
    float dec{31.0f};  // centre's declination, degrees
    double zoom{1.0};
    int labelMode{0}; // label mode changes from a new view: 0, 1 or 2
};

// An opaque view of the set-up's size that has received writexs, setEch and writeStarNames
// (labelMode times), in that order, and so needs display.
std::shared_ptr<QuartzView> makeChartView(const ChartSetup& setup);

} // namespace dazed
