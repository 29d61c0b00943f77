#pragma once

// Opens the chart window: registers the application's classes under the names the main interface
// descriptions use, and hands the process to the application loop until the window closes.

#include "app/Cli.h"
#include "app/InfoLinks.h"
#include "app/RootViewController.h"
#include "navigation/SkyLayerState.h"
#include "platform/graphics/ScreenTint.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace dazed {

// What the window reports of the changes it makes to what is remembered between runs.
struct WindowObservers {
    std::function<void(const SkyLayerState&)> skyLayerChanged; // T, the menu
    std::function<void(bool)> nightModeChanged;                // R, the menu
};

// Registers the delegates and the root controller with the class registry. The root controller
// opens `links` from its information page, and its sky starts at `centre` when one is given, with
// the sky of `sky`'s place when one is given (shown or not as it says), in night mode when `tint`
// says so. `observers` hear each change the window makes to what is remembered between runs.
// `placeQuestion` is how T and the menu ask the system for a place when none is known (none: they
// do not ask).
void registerApplicationClasses(const std::optional<InfoLinks>& links,
                                const std::optional<EquatorialPosition>& centre = std::nullopt,
                                const std::optional<SkyChoice>& sky = std::nullopt,
                                ScreenTint tint = ScreenTint::Day, WindowObservers observers = {},
                                RootViewController::PlaceQuestion placeQuestion = {});

// Runs the window; the process's exit status. Without a display it says so in one line on `err`,
// pointing to `dazed render`, and returns 1. With a settings file, the layer and the place start as
// it remembers them unless the command line says otherwise, and changes are written back; with
// --place auto the system is asked first (for at most the options' timeout).
int runChartWindow(const ChartOptions& options, const std::string& programName, std::ostream& err);

} // namespace dazed
