#include "render/TangentPlane.h"

#include <cmath>

namespace dazed {

TangentBasis tangentBasis(double raRadians, double decRadians)
{
    const double sa = std::sin(raRadians);
    const double ca = std::cos(raRadians);
    const double sd = std::sin(decRadians);
    const double cd = std::cos(decRadians);
    return {{cd * ca, cd * sa, sd}, {-sa, ca, 0.0}, {-sd * ca, -sd * sa, cd}};
}

std::optional<PlanePoint> gnomonic(const TangentBasis& basis, const UnitVector& d)
{
    const double along = dot(basis.centre, d);
    // Written as a negated comparison so that a NaN has no image either.
    if (!(along > 0.0))
        return std::nullopt;
    return PlanePoint{dot(basis.east, d) / along, dot(basis.north, d) / along};
}

UnitVector inverseGnomonic(const TangentBasis& basis, PlanePoint p)
{
    const double x = basis.centre.x + p.xi * basis.east.x + p.eta * basis.north.x;
    const double y = basis.centre.y + p.xi * basis.east.y + p.eta * basis.north.y;
    const double z = basis.centre.z + p.xi * basis.east.z + p.eta * basis.north.z;
    const double length = std::sqrt(x * x + y * y + z * z);
    return {x / length, y / length, z / length};
}

} // namespace dazed
