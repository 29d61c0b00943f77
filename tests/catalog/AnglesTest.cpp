#include "catalog/Angles.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

TEST(Angles, EachConversionRoundsAsItsNameReads)
{
    // (h * pi) / 12 and h * (pi / 12) differ in the last bit for some hours; the helper is the
    // first, exactly.
    int differing = 0;
    for (int i = 0; i <= 2400; ++i) {
        const double h = i * 0.01;
        EXPECT_EQ(hoursTimesPiOver12(h), h * kPi / 12.0) << h;
        differing += hoursTimesPiOver12(h) != h * (kPi / 12.0) ? 1 : 0;
        const double d = i * 0.075 - 90.0;
        EXPECT_EQ(degreesTimesPiOver180(d), d * kPi / 180.0) << d;
        EXPECT_EQ(degreesOverDegreesPerRadian(d), d / 57.29577951308232) << d;
        EXPECT_EQ(radiansTimesDegreesPerRadian(d), d * 57.29577951308232) << d;
    }
    EXPECT_GT(differing, 0) << "the order would not matter";
    EXPECT_EQ(radiansTimes12OverPi(kPi), 12.0);
    EXPECT_EQ(radiansTimes180OverPi(kPi / 2), 90.0);
    EXPECT_EQ(hoursTimes360Over24(6.0), 90.0);
    EXPECT_EQ(degreesTimes24Over360(270.0), 18.0);
    EXPECT_EQ(degreesOver15(45.0), 3.0);
}

TEST(Angles, UnitVectorsPointAtTheirDirections)
{
    const UnitVector pole = unitVector(1.0, kPi / 2);
    EXPECT_NEAR(pole.z, 1.0, 1e-15);
    const UnitVector sixHours = unitVector(kPi / 2, 0.0);
    EXPECT_NEAR(sixHours.x, 0.0, 1e-15);
    EXPECT_EQ(sixHours.y, 1.0);
    for (double dec : {-1.2, 0.0, 0.4}) {
        const UnitVector v = unitVector(2.5, dec);
        EXPECT_NEAR(v.x * v.x + v.y * v.y + v.z * v.z, 1.0, 1e-15);
    }
}

TEST(Angles, SeparationIsAccurateFromArcsecondsToOpposites)
{
    EXPECT_NEAR(separation(0.0, 0.0, 0.0, kPi / 2), kPi / 2, 1e-15);
    EXPECT_NEAR(separation(0.0, 0.0, kPi, 0.0), kPi, 1e-15);
    EXPECT_EQ(separation(1.0, 0.5, 1.0, 0.5), 0.0);
    // One arcsecond along the equator comes out as one arcsecond to a billionth of it, where acos
    // of the dot product would be off by a hundredth. The order of the directions does not matter.
    const double arcsecond = degreesTimesPiOver180(1.0 / 3600.0);
    EXPECT_NEAR(separation(0.3, 0.0, 0.3 + arcsecond, 0.0), arcsecond, arcsecond * 1e-9);
    EXPECT_EQ(separation(0.3, 0.2, 1.1, -0.4), separation(1.1, -0.4, 0.3, 0.2));
    // Along a meridian the separation is the difference of the declinations.
    EXPECT_NEAR(separation(2.0, -0.3, 2.0, 0.5), 0.8, 1e-15);
}

} // namespace
} // namespace dazed
