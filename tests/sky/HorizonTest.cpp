#include "sky/SolarSystem.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

namespace dazed {
namespace {

// The horizon is checked against ERFA's complete chain from observed to astrometric place
// (eraAtoc13), which the chart does not use: it takes out annual and diurnal aberration and the
// Sun's light bending, and works through the CIO and the Earth rotation angle. No refraction
// (pressure 0): the horizon drawn is the geometric one, altitude 0 without the air's lift.
constexpr double kTolerance = 0.05; // degrees

UnitVector observedToJ2000(double azimuthDegrees, double altitudeDegrees, const GeographicPlace& place,
                           const UtcTime& t)
{
    double utc1 = 0, utc2 = 0;
    EXPECT_GE(eraDtf2d("UTC", t.year, t.month, t.day, t.hour, t.minute, t.second, &utc1, &utc2), 0);
    double ra = 0, dec = 0;
    EXPECT_GE(eraAtoc13("A", azimuthDegrees * ERFA_DD2R, (90.0 - altitudeDegrees) * ERFA_DD2R, utc1, utc2,
                        0.0, place.longitudeDegrees * ERFA_DD2R, place.latitudeDegrees * ERFA_DD2R,
                        place.heightMetres, 0.0, 0.0, 0.0, 0.0, 0.0, 0.55, &ra, &dec),
              0);
    return unitVector(ra, dec);
}

double degreesBetween(const UnitVector& a, const UnitVector& b)
{
    return separation(a, b) * ERFA_DR2D;
}

// The altitude (degrees) of a J2000 direction above the horizon of `frame`.
double altitudeOf(const UnitVector& u, const HorizonFrame& frame)
{
    const double s = u.x * frame.zenith.x + u.y * frame.zenith.y + u.z * frame.zenith.z;
    return std::asin(std::clamp(s, -1.0, 1.0)) * ERFA_DR2D;
}

struct Case {
    const char* where;
    GeographicPlace place;
    UtcTime time;
};

const Case kCases[] = {
    {"Paris", {48.8566, 2.3522, 35.0}, {2026, 12, 9, 21, 30, 0.0}},
    {"Sydney", {-33.8688, 151.2093, 58.0}, {2026, 6, 21, 2, 0, 0.0}},
    {"on the date line", {12.0, 180.0, 0.0}, {1950, 1, 1, 12, 0, 0.0}},
    {"west of the date line", {-5.0, -180.0, 0.0}, {2099, 7, 4, 18, 45, 10.0}},
    {"North Pole", {90.0, 0.0, 0.0}, {2026, 3, 20, 12, 0, 0.0}},
    {"South Pole", {-90.0, 45.0, 2835.0}, {2040, 9, 1, 6, 0, 0.0}},
};

TEST(Horizon, WhatThePlaceSeesAtAltitudeZeroLiesOnTheHorizon)
{
    for (const Case& c : kCases) {
        const auto frame = horizonFrame(c.place, c.time);
        ASSERT_TRUE(frame) << c.where;
        for (double azimuth = 0.0; azimuth < 360.0; azimuth += 15.0)
            EXPECT_NEAR(altitudeOf(observedToJ2000(azimuth, 0.0, c.place, c.time), *frame), 0.0, kTolerance)
                << c.where << " azimuth " << azimuth;
        EXPECT_NEAR(altitudeOf(observedToJ2000(0.0, 90.0, c.place, c.time), *frame), 90.0, kTolerance)
            << c.where;
    }
}

TEST(Horizon, TheCardinalPointsLieWhereThePlaceSeesThem)
{
    for (const Case& c : kCases) {
        if (std::abs(c.place.latitudeDegrees) == 90.0)
            continue; // no north at a pole; see below
        const auto frame = horizonFrame(c.place, c.time);
        ASSERT_TRUE(frame) << c.where;
        EXPECT_LT(degreesBetween(frame->north, observedToJ2000(0.0, 0.0, c.place, c.time)), kTolerance)
            << c.where;
        EXPECT_LT(degreesBetween(frame->east, observedToJ2000(90.0, 0.0, c.place, c.time)), kTolerance)
            << c.where;
    }
}

TEST(Horizon, AtAPoleTheHorizonIsTheEquatorOfDate)
{
    for (const double latitude : {90.0, -90.0}) {
        const UtcTime t{2026, 3, 20, 12, 0, 0.0};
        const auto frame = horizonFrame({latitude, 0.0, 0.0}, t);
        ASSERT_TRUE(frame);
        // The pole of date, from ERFA's precession-nutation matrix (its third row in J2000).
        double utc1 = 0, utc2 = 0, tai1 = 0, tai2 = 0, tt1 = 0, tt2 = 0;
        eraDtf2d("UTC", t.year, t.month, t.day, t.hour, t.minute, t.second, &utc1, &utc2);
        eraUtctai(utc1, utc2, &tai1, &tai2);
        eraTaitt(tai1, tai2, &tt1, &tt2);
        double npb[3][3];
        eraPnm06a(tt1, tt2, npb);
        const UnitVector pole{npb[2][0], npb[2][1], npb[2][2]};
        EXPECT_NEAR(altitudeOf(pole, *frame), latitude, kTolerance);
        // The north and east points still stand a quarter turn apart on the horizon.
        EXPECT_NEAR(degreesBetween(frame->north, frame->east), 90.0, 1e-9);
        EXPECT_NEAR(altitudeOf(frame->north, *frame), 0.0, 1e-9);
    }
}

TEST(Horizon, IsRefusedForATimeOutsideTheModelsOrAPlaceNotFinite)
{
    EXPECT_FALSE(horizonFrame({0, 0, 0}, {1899, 12, 31, 12, 0, 0.0}));
    EXPECT_FALSE(horizonFrame({NAN, 0, 0}, {2026, 12, 9, 0, 0, 0.0}));
    EXPECT_TRUE(horizonFrame({0, 180.0, 0}, {2026, 12, 9, 0, 0, 0.0}));
}

} // namespace
} // namespace dazed
