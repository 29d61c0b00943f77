#include "app/ChartWindow.h"

#include "render/SkyCentre.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

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

// A machine without a display (a server, a container, a session over ssh) gets one line saying so
// and what to do instead, and no window is tried.
TEST(ChartWindow, WithoutADisplayItSaysSoInOneLineAndSuggestsAFile)
{
    const std::vector<std::string> names{"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"};
    std::vector<std::optional<std::string>> saved;
    for (const auto& name : names) {
        const char* value = std::getenv(name.c_str());
        saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        unsetenv(name.c_str());
    }
    setenv("DAZED_RESOURCE_DIR", DAZED_RESOURCE_DIR, 1);
    ChartOptions options;
    options.quitAfter = 0.2;
    std::ostringstream err;
    const int status = runChartWindow(options, "dazed", err);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (saved[i])
            setenv(names[i].c_str(), saved[i]->c_str(), 1);
    unsetenv("DAZED_RESOURCE_DIR");

    EXPECT_EQ(status, 1);
    const std::string said = err.str();
    EXPECT_EQ(said.find("dazed: no display"), 0u) << said;
    EXPECT_NE(said.find("dazed render -o"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

} // namespace
} // namespace dazed
