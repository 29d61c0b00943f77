#pragma once

// Opens the chart window: registers the application's classes under the names the main interface
// descriptions use, and hands the process to the application loop until the window closes.

#include "app/Cli.h"
#include "app/InfoLinks.h"
#include "platform/ui/ScreenTint.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace dazed {

// Registers the delegates and the root controller with the class registry. The root controller
// opens `links` from its information page, and its sky starts at `centre` when one is given, with
// the sky of `sky`'s place shown when one is given, in night mode when `tint` says so.
void registerApplicationClasses(const std::optional<InfoLinks>& links,
                                const std::optional<EquatorialPosition>& centre = std::nullopt,
                                const std::optional<SkyChoice>& sky = std::nullopt,
                                ScreenTint tint = ScreenTint::Day);

// Runs the window; the process's exit status. Without a display it says so in one line on `err`,
// pointing to `dazed render`, and returns 1.
int runChartWindow(const ChartOptions& options, const std::string& programName, std::ostream& err);

} // namespace dazed
