#pragma once

// The sky layer's own state in the window: the place (the last one given in this run), the moment
// (fixed, or following the clock) and whether the layer is shown, with the rules the keys apply
// to it. Plain values and functions: the controller turns the state into a snapshot and sends it.

#include "sky/SkySnapshot.h"

#include <chrono>
#include <optional>

namespace dazed {

struct SkyLayerState {
    std::optional<GeographicPlace> place; // none: no place was ever given, the layer cannot show
    std::optional<UtcTime> fixedTime;     // none: the chart follows the clock
    int utcOffsetMinutes{0};              // for the readout's local time
    bool shown{false};
};

// The moment the layer shows: the fixed time, or the clock's.
UtcTime layerMoment(const SkyLayerState& state, std::chrono::system_clock::time_point now);

// T: shows or hides the layer. Without a place it stays hidden; the result says whether it
// changed.
bool toggleLayer(SkyLayerState& state);

// [ ] { }: moves the moment by `step` from the one shown and fixes it there. A step that would
// leave the years the models cover (or a layer without a place) changes nothing; the result says
// whether it moved.
bool stepLayerTime(SkyLayerState& state, std::chrono::minutes step,
                   std::chrono::system_clock::time_point now);

// N: follows the clock again. The result says whether the state changed.
bool followClock(SkyLayerState& state);

// How long to sleep until the clock shows the next whole minute (0 < result <= 60 s): following
// the clock, the chart is worked out again once a minute, on the minute.
std::chrono::milliseconds untilNextMinute(std::chrono::system_clock::time_point now);

} // namespace dazed
