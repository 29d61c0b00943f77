#pragma once

// The point of the sky straight above a place on Earth at a moment, in the chart's J2000 frame.

#include "catalog/EquatorialPosition.h"
#include "sky/UtcTime.h"

#include <optional>

namespace dazed {

// A place on Earth: geodetic latitude (-90 to +90 degrees, north positive), longitude (-180 to
// +180 degrees, east positive) and height above the WGS84 ellipsoid (metres; only the Moon's
// parallax feels it).
struct GeographicPlace {
    double latitudeDegrees{0};
    double longitudeDegrees{0};
    double heightMetres{0};
};

// The zenith of `place` at `time`, as a direction in the J2000 mean equator and equinox (the
// catalogue's frame, to within the 0.02 arcsecond frame bias). Nothing for a time that ERFA does
// not take as UTC (see parseIsoTime, which refuses those).
//
// The zenith's apparent place (true equator and equinox of date) has the local apparent sidereal
// time as right ascension and the latitude as declination; the inverse of the bias-precession-
// nutation matrix of the date (IAU 2006/2000A) turns it back to J2000. UT1 is taken as UTC: the
// difference stays below 0.9 s, which moves the zenith by less than 0.004 degrees. Polar motion,
// the deflection of the vertical and annual aberration (at most 20.5 arcseconds, 0.006 degrees)
// are left out, so the result is the geometric direction overhead.
std::optional<EquatorialPosition> zenithJ2000(const GeographicPlace& place, const UtcTime& time);

} // namespace dazed
