#pragma once

// A command line from fuzz bytes: one argument per line ('\n'), after the given leading words.
// Only parsed and checked (parseCli): nothing is drawn, no window opens and no file is written.

#include "FuzzTarget.h"
#include "app/Cli.h"
#include "sky/SolarSystem.h"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace dazed::fuzz {

inline void parseCommandLine(std::vector<std::string> args, std::string_view text)
{
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const auto end = text.find('\n', start);
        args.emplace_back(
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    std::ostringstream out, err;
    const CliCommand command = parseCli(args, out, err);
    if (const auto* status = std::get_if<int>(&command)) {
        require(*status == 0 || *status == 2, "a command line that runs nothing exits with 0 or 2");
        if (*status == 2) {
            const std::string message = err.str();
            require(!message.empty() && message.find('\n') == message.size() - 1,
                    "a refused command line gets exactly one line on stderr");
        }
    } else {
        require(err.str().empty(), "an accepted command line reports nothing");
    }
    if (const auto* chart = std::get_if<ChartOptions>(&command)) {
        require(std::isfinite(chart->quitAfter) && chart->quitAfter >= 0.0,
                "the window waits a finite number of seconds, if any");
        require(chart->device == "phone" || chart->device == "tablet" || chart->device == "fit",
                "the device is one the window knows");
        if (chart->sky) {
            const GeographicPlace& p = chart->sky->place;
            require(std::isfinite(p.latitudeDegrees) && std::abs(p.latitudeDegrees) <= 90.0 &&
                        std::isfinite(p.longitudeDegrees) && std::abs(p.longitudeDegrees) <= 180.0 &&
                        std::isfinite(p.heightMetres),
                    "a place's sky is of a place on Earth");
            require(!chart->sky->time || isWithinModels(*chart->sky->time),
                    "a fixed time is one the models cover");
        }
    }
    if (const auto* plan = std::get_if<RenderPlan>(&command)) {
        require(plan->zoom >= 0.9 && plan->zoom <= 3.0, "the zoom is within the chart's limits");
        require(plan->scale > 0.0 && plan->scale <= 8.0, "the scale is within its limits");
        require(plan->dec >= -90.0f && plan->dec <= 90.0f, "the declination is on the sky");
        require(!plan->path.empty(), "there is a file to write");
        if (plan->sky) {
            const UnitVector z = plan->sky->horizon.zenith;
            require(std::abs(std::hypot(z.x, z.y, z.z) - 1.0) < 1e-9, "a place's zenith is a direction");
        }
    }
    if (const auto* atlas = std::get_if<AtlasPlan>(&command)) {
        const AtlasSettings& s = atlas->settings;
        require(std::isfinite(s.radiusMm) && s.radiusMm >= kMinimumRadiusMm &&
                    s.radiusMm <= largestRadiusMm(s.paper),
                "the scale fits the paper");
        require(extentHoldsMargin(pageExtent(s.paper, s.radiusMm)),
                "an accepted scale leaves room for the margin");
        require(s.limitMagnitude <= kFaintestLimit && s.gridDegrees >= 1.0 && s.gridDegrees <= 90.0,
                "the limit and grid are within their ranges");
        if (atlas->single)
            require(atlas->single->declinationDegrees >= -90.0 && atlas->single->declinationDegrees <= 90.0 &&
                        atlas->single->rightAscensionHours >= 0.0 &&
                        atlas->single->rightAscensionHours < 24.0,
                    "a single chart's centre is on the sky");
        require(!atlas->path.empty(), "there is a file to write");
    }
}

} // namespace dazed::fuzz
