#include "app/ChartWindow.h"

#include "render/SkyCentre.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace dazed {
namespace {

// Runs the real window on SDL's offscreen driver (the test run sets SDL_VIDEODRIVER) for a moment.
TEST(ChartWindow, TheSkyStartsAtTheChosenCentre)
{
    setenv("DAZED_RESOURCE_DIR", DAZED_RESOURCE_DIR, 1);
    ChartOptions options;
    options.quitAfter = 0.2;
    options.centre = EquatorialPosition{5.91953, -52.6958};
    std::ostringstream err;
    ASSERT_EQ(runChartWindow(options, "dazed", err), 0) << err.str();
    // No touch moved it: the centre every frame was drawn at is the chosen one, in the single
    // precision the sky screen keeps it in.
    EXPECT_EQ(xs1, static_cast<double>(static_cast<float>(5.91953)));
    EXPECT_EQ(ys1, static_cast<double>(static_cast<float>(-52.6958)));
    unsetenv("DAZED_RESOURCE_DIR");
}

} // namespace
} // namespace dazed
