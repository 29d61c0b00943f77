#pragma once

// What the window remembers from one run to the next: night mode, whether the place's sky is shown,
// the last place and the device's screen. Never the view itself: every run opens at 17 h, +31
// degrees and zoom 1 unless the command line says otherwise.
//
// A plain value with a pure pair of functions between it and the text of the settings file:
//
//   { "nightMode": false, "layer": true,
//     "place": { "latitude": 48.85, "longitude": 2.35, "height": 35 }, "device": "phone" }
//
// Every member may be left out (its default stands); members the chart does not know are ignored.

#include "sky/Zenith.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dazed {

// The screen the window shows: a phone's, a tablet's, or the window's own size.
enum class DeviceMode { Phone, Tablet, Fit };

struct Settings {
    bool nightMode{false};
    bool layerShown{false};               // the place's sky over the chart, when there is a place
    std::optional<GeographicPlace> place; // the last place given; none: never one
    std::optional<DeviceMode> device;     // none: not chosen, the phone's screen
};

bool operator==(const Settings& a, const Settings& b);

// The settings in `text`, or a one-line message saying what is wrong: not JSON, not an object, a
// member of the wrong type, a place off the Earth (latitude -90..+90, longitude -180..+180 degrees,
// height -500..10000 metres; no NaN or infinity), an unknown device, or nesting deeper than a
// settings file ever has.
std::variant<Settings, std::string> parseSettings(std::string_view text);

// The text of a settings file holding `settings` (JSON, ending with a newline); parseSettings gives
// the same settings back, the place to the last bit.
std::string serialiseSettings(const Settings& settings);

// The device mode's name in the file and on the command line ("phone", "tablet", "fit"), and back.
std::string_view deviceModeName(DeviceMode mode);
std::optional<DeviceMode> deviceModeNamed(std::string_view name);

// The largest settings file read; the file is about a hundred bytes.
inline constexpr std::uintmax_t kMaxSettingsBytes = 16 * 1024;

} // namespace dazed
