#pragma once

// The gnomonic projection onto the plane tangent to the unit sphere at a chart's centre, in the
// unit-vector form the printed atlas uses: the standard coordinates xi (towards the east, that is
// growing right ascension) and eta (towards the north), in units of the sphere's radius, so that
// a point rho from the centre lies tan rho from it. A printed page multiplies them by its scale R
// (millimetres per radian at the centre) and puts east on the left.

#include "catalog/Angles.h"

#include <optional>

namespace dazed {

// The standard coordinates of a point of the tangent plane: xi east, eta north, in radians of the
// sphere at the centre (tangent units).
struct PlanePoint {
    double xi{0.0};
    double eta{0.0};
};

// The centre of a tangent plane and its two axes, all unit vectors, mutually perpendicular: east
// along growing right ascension, north towards the north pole. At a pole, "north" is the direction
// of the centre's right ascension + 12 h (north pole) or of its right ascension (south pole), which
// is what the axes tend to as the centre approaches that pole along its meridian.
struct TangentBasis {
    UnitVector centre;
    UnitVector east;
    UnitVector north;
};

// The basis at right ascension and declination in radians.
TangentBasis tangentBasis(double raRadians, double decRadians);

inline double dot(const UnitVector& a, const UnitVector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The image of direction `d` (any non-zero vector), or none when it lies on the far hemisphere or
// on the horizon 90 degrees out, which have no image. NaN components give none.
std::optional<PlanePoint> gnomonic(const TangentBasis& basis, const UnitVector& d);

// The direction whose image is `p`: a unit vector.
UnitVector inverseGnomonic(const TangentBasis& basis, PlanePoint p);

} // namespace dazed
