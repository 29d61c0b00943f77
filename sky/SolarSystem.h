#pragma once

// The Sun, the Moon and the planets through ERFA's models: the Earth and the Sun from eraEpv00,
// the Moon from eraMoon98 and Mercury to Neptune from eraPlan94.

#include "sky/SkySnapshot.h"

#include <optional>
#include <string>

namespace dazed {

// The years the chart's models cover: eraEpv00 is fitted to 1900-2100 and the other two models
// are at their best there too. Outside them, nothing is worked out.
inline constexpr int kFirstModelYear = 1900;
inline constexpr int kLastModelYear = 2100;

// Whether the moment is a real UTC time (isRealUtc) within the models' years.
bool isWithinModels(const UtcTime& time);

// The one-line reason a moment cannot be used ("... lies outside 1900 to 2100, the years ..."),
// or empty when it can.
std::string modelCoverageProblem(const UtcTime& time);

// The horizon's frame of `place` at `time` (J2000): the zenith of zenithJ2000 and the north point
// towards the true celestial pole of date. Nothing for a time outside the models or a place
// whose latitude or longitude is not finite.
//
// At a pole the north (or south) point is undefined: the horizon is then the equator of date and
// the north point is taken towards right ascension 0 of date, so that the four marks still fall
// a quarter turn apart.
std::optional<HorizonFrame> horizonFrame(const GeographicPlace& place, const UtcTime& time);

// Everything the chart draws for the place and the moment. Nothing for the cases horizonFrame
// refuses. `utcOffsetMinutes` is only carried to the readout.
std::optional<SkySnapshot> computeSkySnapshot(const GeographicPlace& place, const UtcTime& time,
                                              int utcOffsetMinutes);

} // namespace dazed
