#pragma once

// How the window's start meets the remembered settings: the command line wins over the file and is
// remembered; what it does not say comes from the file. Plain functions over values.

#include "app/AutoPlace.h"
#include "app/CentreChoice.h"
#include "app/Settings.h"
#include "navigation/SkyLayerState.h"

#include <chrono>
#include <optional>
#include <string>

namespace dazed {

// The sky layer the window starts with: the command line's place (shown); else the remembered
// place, shown or hidden as it was left and following the clock (the clock's offset at `now`);
// none without a place, or when the clock is beyond the years the models cover.
std::optional<SkyChoice> startingSky(const std::optional<SkyChoice>& commandLine, const Settings& remembered,
                                     std::chrono::system_clock::time_point now);

// The screen and the tint the window opens with. What the command line gives (`deviceGiven`: its
// --device was given; `nightGiven`: --night) wins and is remembered in `remembered`; what it does
// not give comes from the settings, and a plain run opens on the phone's screen by day.
struct StartingLook {
    DeviceMode device{DeviceMode::Phone};
    bool nightMode{false};
    Settings remembered;
};
StartingLook startingLook(std::optional<DeviceMode> deviceGiven, bool nightGiven, Settings remembered);

// The settings once the window has started: a place given on the command line replaces the
// remembered one and shows its sky.
Settings rememberStart(Settings remembered, const std::optional<SkyChoice>& commandLine);

// The settings after the window's layer changed (T, the menu): its place and whether it shows.
Settings rememberLayer(Settings remembered, const SkyLayerState& layer);

// The centre and sky of `--place auto` once the place is known (`found`): as --place with that
// place; without one, as the other options alone (--at, --overhead). A one-line message when
// that fails, else the two.
struct WindowPlace {
    std::optional<EquatorialPosition> centre;
    std::optional<SkyChoice> sky;
};
std::variant<WindowPlace, std::string> resolveSystemPlace(const CentreChoice& choice,
                                                          const std::optional<GeographicPlace>& found,
                                                          std::chrono::system_clock::time_point now);

} // namespace dazed
