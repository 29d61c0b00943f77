#pragma once

// The line under the readout's panel when the chart shows a place's sky: the local date and time
// and the place, "2026-12-09 21:30 +01:00  48.85\xA1N 2.35\xA1E" (the degree sign in the chart's
// single-byte text encoding, 0xA1).

#include "sky/SkySnapshot.h"

#include <string>

namespace dazed {

// The moment in the snapshot's local time (UTC moved by its offset, the minute truncated) and the
// place in degrees to two decimals, north/south and east/west. A latitude or longitude of 0 is
// written N or E.
std::string formatPlaceReadout(const SkySnapshot& sky);

} // namespace dazed
