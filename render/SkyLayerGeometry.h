#pragma once

// The geometry the sky layer's passes share: any direction of the sphere on the view (the
// chart's own projection, taken from a unit vector), and the horizon as the straight line it
// becomes in the gnomonic projection, with the ground on one side of it.

#include "render/SkyFrame.h"

#include <optional>

namespace dazed {

// A J2000 direction projected onto the view, in view points. Only directions in front of the
// view's tangent plane have a place on it: for the others (90 degrees or more from the centre, or
// not finite) the result is empty.
std::optional<SkyPoint> projectUnit(const SkyFrame& frame, const UnitVector& direction);

// The cosine of the angle between a direction and the view centre.
double cosFromCentre(const SkyFrame& frame, const UnitVector& direction);

// The horizon on the view: the points (x, y) with a x + b y + c = 0. Every view point stands for a
// direction in front of the tangent plane, and that direction lies below the horizon exactly
// where a x + b y + c < 0. When the zenith or the nadir is the view centre, a = b = 0: the view is
// all sky (c > 0) or all ground (c < 0). Units: a and b per point, c dimensionless.
struct ScreenHalfPlane {
    double a{0};
    double b{0};
    double c{0};
    [[nodiscard]] double at(double x, double y) const { return a * x + b * y + c; }
};
ScreenHalfPlane horizonOnView(const SkyFrame& frame, const UnitVector& zenith);

// How much of the view lies below the horizon.
enum class GroundCover { None, Part, All };
GroundCover groundCover(const SkyFrame& frame, const ScreenHalfPlane& horizon);

// The horizon's line across the view, as a segment that reaches beyond the view's rectangle on
// both sides, and the unit normal pointing to the ground. Empty when the line misses the view.
struct HorizonSegment {
    SkyPoint from;
    SkyPoint to;
    SkyPoint groundward; // unit vector, view points
};
std::optional<HorizonSegment> horizonAcrossView(const SkyFrame& frame, const ScreenHalfPlane& horizon);

} // namespace dazed
