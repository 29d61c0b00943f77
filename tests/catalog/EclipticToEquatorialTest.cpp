#include "catalog/EclipticToEquatorial.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

constexpr double kTolerance = 1e-9; // degrees
constexpr double kObliquity2010 = 23.437978931099998;

struct Equatorial {
    double ra;
    double dec;
};

Equatorial convert(double longitude, double latitude, double year = 2010.0)
{
    Equatorial e{-1.0, -1.0};
    ecliptic_to_equatorial(year, longitude, latitude, &e.ra, &e.dec);
    return e;
}

TEST(Obliquity, NestedPolynomial)
{
    EXPECT_DOUBLE_EQ(obliquity_degrees(1.1), kObliquity2010);
    EXPECT_NEAR(obliquity_degrees(1.0), 23.43928036, 1e-12);
    EXPECT_EQ(obliquity_degrees(0.0), 23.452294);
    // The cubic coefficient is 0.0000005: ten centuries out it contributes exactly 0.0005.
    EXPECT_NEAR(obliquity_degrees(10.0), 23.452294 - 0.130125 - 0.000164 + 0.0005, 1e-12);
}

TEST(EclipticToEquatorial, PointsOnTheEcliptic)
{
    const struct {
        double longitude, ra, dec;
    } cases[] = {
        {0.0, 0.0, 0.0},
        {90.0, 90.0, kObliquity2010},
        {180.0, 180.0, 0.0},
        {270.0, 270.0, -kObliquity2010},
        {45.0, 42.5361069324, 16.3351849880},
    };
    for (const auto& c : cases) {
        const Equatorial e = convert(c.longitude, 0.0);
        EXPECT_NEAR(e.ra, c.ra, kTolerance) << "longitude " << c.longitude;
        EXPECT_NEAR(e.dec, c.dec, kTolerance) << "longitude " << c.longitude;
    }
    // The second end of the first ecliptic dash the chart draws.
    const Equatorial dashEnd = convert(3.75, 0.0);
    EXPECT_NEAR(dashEnd.ra, 3.4413688, 1e-7);
    EXPECT_NEAR(dashEnd.dec, 1.4906890, 1e-7);
}

TEST(EclipticToEquatorial, EclipticPoles)
{
    for (double longitude : {0.0, 33.0, 180.0, 301.5}) {
        const Equatorial north = convert(longitude, 90.0);
        EXPECT_NEAR(north.ra, 270.0, kTolerance) << "longitude " << longitude;
        EXPECT_NEAR(north.dec, 90.0 - kObliquity2010, kTolerance);
        EXPECT_NEAR(north.dec, 66.5620210689, kTolerance);
        const Equatorial south = convert(longitude, -90.0);
        EXPECT_NEAR(south.ra, 90.0, kTolerance) << "longitude " << longitude;
        EXPECT_NEAR(south.dec, -66.5620210689, kTolerance);
    }
}

TEST(EclipticToEquatorial, ResultsStayInRangeForFiniteInputs)
{
    for (double longitude = -720.0; longitude <= 720.0; longitude += 3.7) {
        for (double latitude = -90.0; latitude <= 90.0; latitude += 4.5) {
            const Equatorial e = convert(longitude, latitude);
            EXPECT_GE(e.ra, 0.0) << longitude << ", " << latitude;
            EXPECT_LE(e.ra, 360.0) << longitude << ", " << latitude;
            EXPECT_GE(e.dec, -90.0) << longitude << ", " << latitude;
            EXPECT_LE(e.dec, 90.0) << longitude << ", " << latitude;
        }
    }
}

TEST(EclipticToEquatorial, ReductionOfAValueJustBelowZero)
{
    // Just west of the equinox the raw right ascension is a hair below 0; it is carried up to
    // just under (or, by rounding, exactly) 360.
    const Equatorial e = convert(-1e-9, 0.0);
    EXPECT_GT(e.ra, 359.999999);
    EXPECT_LE(e.ra, 360.0);
    const Equatorial tiny = convert(-1e-15, 0.0);
    EXPECT_LE(tiny.ra, 360.0);
    EXPECT_TRUE(tiny.ra == 0.0 || tiny.ra > 359.999999) << tiny.ra;
}

TEST(EclipticToEquatorial, NaNInNaNOut)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Equatorial e : {convert(nan, 0.0), convert(0.0, nan), convert(10.0, 10.0, nan)}) {
        EXPECT_TRUE(std::isnan(e.ra));
        EXPECT_TRUE(std::isnan(e.dec));
    }
}

TEST(EclipticToEquatorial, WritesRightAscensionFirstThenDeclination)
{
    // With both results aimed at one variable, the later write is the one that stays.
    double both = 0.0;
    ecliptic_to_equatorial(2010.0, 90.0, 0.0, &both, &both);
    EXPECT_NEAR(both, kObliquity2010, kTolerance);
}

} // namespace
} // namespace dazed
