#pragma once

// The gnomonic projection as the textbooks write it, for checking the atlas against something that
// shares none of its code: the standard coordinates from right ascension and declination by the
// spherical-trigonometry formulas (Snyder, "Map Projections: A Working Manual", the gnomonic
// projection; Calabretta and Greisen's TAN), where the atlas works with unit vectors and dot
// products. And random directions and great-circle arcs on the sphere.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <random>

namespace dazed::test {

inline constexpr double kDeg = std::numbers::pi / 180.0;

struct RaDec {
    double ra{0.0};  // radians
    double dec{0.0}; // radians
};

struct Standard {
    double xi{0.0};
    double eta{0.0};
};

// cos c = sin d0 sin d + cos d0 cos d cos(a - a0); xi = cos d sin(a - a0) / cos c;
// eta = (cos d0 sin d - sin d0 cos d cos(a - a0)) / cos c. None beyond 90 degrees.
inline std::optional<Standard> textbookGnomonic(RaDec centre, RaDec p)
{
    const double da = p.ra - centre.ra;
    const double cosC =
        std::sin(centre.dec) * std::sin(p.dec) + std::cos(centre.dec) * std::cos(p.dec) * std::cos(da);
    if (cosC <= 1e-9)
        return std::nullopt;
    return Standard{
        std::cos(p.dec) * std::sin(da) / cosC,
        (std::cos(centre.dec) * std::sin(p.dec) - std::sin(centre.dec) * std::cos(p.dec) * std::cos(da)) /
            cosC};
}

// A direction uniformly distributed over the sphere: uniform in right ascension and in sin(dec).
inline RaDec randomDirection(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> ra(0.0, 2.0 * std::numbers::pi);
    std::uniform_real_distribution<double> sinDec(-1.0, 1.0);
    return {ra(random), std::asin(sinDec(random))};
}

// The point `distance` radians from `start` along the great circle leaving it at position angle
// `bearing` (from north through east), by the spherical law of cosines (the navigators' forward
// problem).
inline RaDec travel(RaDec start, double bearing, double distance)
{
    const double sinDec = std::sin(start.dec) * std::cos(distance) +
                          std::cos(start.dec) * std::sin(distance) * std::cos(bearing);
    const double dec = std::asin(std::clamp(sinDec, -1.0, 1.0));
    const double ra = start.ra + std::atan2(std::sin(bearing) * std::sin(distance) * std::cos(start.dec),
                                            std::cos(distance) - std::sin(start.dec) * sinDec);
    return {ra, dec};
}

} // namespace dazed::test
