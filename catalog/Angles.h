#pragma once

// Angles on the sky and the sphere maths shared by the catalogue, the renderer, the tools and the
// tests: pi, conversions between hours, degrees and radians, unit vectors and angular separation.
//
// Each conversion is named after its expression, read left to right as C++ evaluates it:
// hoursTimesPiOver12(h) is (h * pi) / 12, never h * (pi / 12). Different orders round differently
// in the last bit, and the chart's coordinates are drawn from these values, so each caller uses
// the one whose order its results were made with; the renderer's and the catalogue's tables
// depend on that bit for bit.

#include <cmath>
#include <numbers>

namespace dazed {

inline constexpr double kPi = std::numbers::pi;
static_assert(kPi == 3.141592653589793);

// 180 / pi rounded to double: the ecliptic transform divides and multiplies by it directly.
inline constexpr double kDegreesPerRadian = 180.0 / kPi;
static_assert(kDegreesPerRadian == 57.29577951308232);

// Hours of right ascension to radians: (h * pi) / 12.
inline double hoursTimesPiOver12(double hours)
{
    return hours * kPi / 12.0;
}

// Degrees to radians: (d * pi) / 180.
inline double degreesTimesPiOver180(double degrees)
{
    return degrees * kPi / 180.0;
}

// Radians to hours of right ascension: (r * 12) / pi.
inline double radiansTimes12OverPi(double radians)
{
    return radians * 12.0 / kPi;
}

// Radians to degrees: (r * 180) / pi.
inline double radiansTimes180OverPi(double radians)
{
    return radians * 180.0 / kPi;
}

// Degrees to radians by one division by kDegreesPerRadian, as the ecliptic transform converts.
inline double degreesOverDegreesPerRadian(double degrees)
{
    return degrees / kDegreesPerRadian;
}

// Radians to degrees by one multiplication by kDegreesPerRadian.
inline double radiansTimesDegreesPerRadian(double radians)
{
    return radians * kDegreesPerRadian;
}

// Hours of right ascension to degrees: (h * 360) / 24.
inline double hoursTimes360Over24(double hours)
{
    return hours * 360.0 / 24.0;
}

// Degrees of right ascension to hours: (d * 24) / 360.
inline double degreesTimes24Over360(double degrees)
{
    return degrees * 24.0 / 360.0;
}

// Degrees of right ascension to hours by one division by 15.
inline double degreesOver15(double degrees)
{
    return degrees / 15.0;
}

// A direction as a point on the unit sphere: x towards right ascension 0 on the equator, y
// towards 6 h, z towards the north pole.
struct UnitVector {
    double x{0.0};
    double y{0.0};
    double z{1.0};
};

// The direction of right ascension and declination, both in radians.
inline UnitVector unitVector(double raRadians, double decRadians)
{
    return {std::cos(decRadians) * std::cos(raRadians), std::cos(decRadians) * std::sin(raRadians),
            std::sin(decRadians)};
}

// The angle between two directions in radians, 0..pi. atan2 of the cross product's length and the
// dot product stays accurate at every distance, arcseconds included, where acos of the dot
// product loses its precision.
inline double separation(const UnitVector& a, const UnitVector& b)
{
    const double cx = a.y * b.z - a.z * b.y;
    const double cy = a.z * b.x - a.x * b.z;
    const double cz = a.x * b.y - a.y * b.x;
    const double dot = a.x * b.x + a.y * b.y + a.z * b.z;
    return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), dot);
}

// The angle between two directions given as right ascension and declination in radians.
inline double separation(double ra1, double dec1, double ra2, double dec2)
{
    return separation(unitVector(ra1, dec1), unitVector(ra2, dec2));
}

} // namespace dazed
