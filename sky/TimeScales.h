#pragma once

// A moment of UTC as the two-part Julian dates ERFA's models take.

#include "sky/UtcTime.h"

#include <optional>

namespace dazed {

// Two-part Julian dates (days): terrestrial time, which the ephemerides take (TDB differs from it by
// under 2 ms), and UT1, taken as UTC (they differ by under 0.9 s).
struct TimeScales {
    double tt1{0}, tt2{0};
    double ut11{0}, ut12{0};
};

// Nothing for fields that do not name a moment of UTC (see isRealUtc).
std::optional<TimeScales> timeScalesOf(const UtcTime& time);

} // namespace dazed
