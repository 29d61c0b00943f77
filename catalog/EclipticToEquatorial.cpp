#include "catalog/EclipticToEquatorial.h"

#include "catalog/Angles.h"

#include <cmath>

namespace dazed {

double obliquity_degrees(double t)
{
    // Nested form of 23.452294 - 0.0130125 T - 0.00000164 T^2 + 0.0000005 T^3.
    return ((0.0000005 * t - 0.00000164) * t - 0.0130125) * t + 23.452294;
}

void ecliptic_to_equatorial(double year, double longitude, double latitude, double* rightAscension,
                            double* declination)
{
    const double t = (year - 1900.0) / 100.0;
    const double eps = degreesOverDegreesPerRadian(obliquity_degrees(t));

    // Spherical triangle: ecliptic pole, equatorial pole and the point.
    const double a = degreesOverDegreesPerRadian(90.0 - latitude);  // point to ecliptic pole
    const double b = degreesOverDegreesPerRadian(90.0 - longitude); // angle at the ecliptic pole

    const double sinA = std::sin(a);
    const double cosA = std::cos(a);
    const double sinB = std::sin(b);
    const double cosB = std::cos(b);
    const double sinEps = std::sin(eps);
    const double cosEps = std::cos(eps);

    // The sine of the third side from half-angles keeps full precision near the poles, where a
    // sine recovered from the cosine would lose it.
    const double u = std::cos(b / 2.0) * std::sin(a - eps);
    const double v = std::sin(b / 2.0) * std::sin(a + eps);
    const double w = sinA * sinEps * sinB;
    const double s = std::sqrt(u * u + v * v + w * w);
    const double k = cosA * cosEps + sinA * sinEps * cosB;
    const double c = std::atan2(s, k); // point to equatorial pole, 0..pi

    const double p = std::atan2(sinA * sinB, cosA * sinEps - cosEps * sinA * cosB);

    // The ecliptic pole lies at right ascension 270 degrees. The raw value lies in -270..+90.
    double ra = radiansTimesDegreesPerRadian(p) - 90.0;
    *rightAscension = ra;
    if (ra >= 360.0) {
        while (ra >= 360.0)
            ra -= 360.0;
        *rightAscension = ra;
    }
    if (ra < 0.0) {
        while (ra < 0.0)
            ra += 360.0;
        *rightAscension = ra;
    }
    *declination = 90.0 - radiansTimesDegreesPerRadian(c);
}

} // namespace dazed
