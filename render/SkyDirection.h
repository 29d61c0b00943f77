#pragma once

// What the projection needs of a fixed sky position that does not depend on the view centre,
// worked out once per process instead of once per frame: its right ascension in radians, the sine
// and cosine of its declination, and its unit vector. The unit vector lets a pass pass over a
// position far outside its limit with one dot product, without the cos(delta alpha) the exact
// test needs; whatever is near or inside the limit still takes the exact test, so what is drawn is
// the same to the last bit.

#include "catalog/Angles.h"
#include "render/SkyFrame.h"

namespace dazed {

struct SkyDirection {
    double alpha{0.0}; // right ascension, radians
    double sinDec{0.0};
    double cosDec{1.0};
    UnitVector unit;
};

// A position given in hours and degrees, converted as the projection converts it
// ((h * pi) / 12, (d * pi) / 180, then sin and cos of the declination).
SkyDirection directionOfHoursDegrees(double hours, double degrees);

// A catalogue position whose declination's sine and cosine come from its table.
SkyDirection directionOfTable(float alphaRadians, float sinDec, float cosDec);

// The unit vector and the exact cos rho differ by rounding, a few units of 1e-16; this margin
// is far wider, so nothing the exact test could keep is ever passed over.
inline constexpr double kSurelyOutsideMargin = 1e-7;

// True only when the position is certainly farther from the view centre than the angle whose
// cosine is `cosLimit`. A NaN centre never passes anything over: the exact test decides.
inline bool surelyOutside(const SkyFrame& f, const UnitVector& u, double cosLimit)
{
    const double dot = f.centreUnit.x * u.x + f.centreUnit.y * u.y + f.centreUnit.z * u.z;
    return dot < cosLimit - kSurelyOutsideMargin;
}

// projectVisibleHoursDegrees for a prepared position: the same test and the same result.
bool projectVisible(const SkyFrame& f, const SkyDirection& d, SkyPoint& out);

// projectHoursDegrees for a prepared position.
SkyPoint projectDirection(const SkyFrame& f, const SkyDirection& d);

} // namespace dazed
