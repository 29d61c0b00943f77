#include "sky/Zenith.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>
#include <string>

namespace dazed {
namespace {

struct Case {
    const char* where;
    GeographicPlace place;
    UtcTime time;
};

// Both hemispheres, both sides of Greenwich, the high Arctic, the date line, a pole, a leap
// second and dates far from J2000.
const Case kCases[] = {
    {"Paris, winter evening", {48.8566, 2.3522}, {2026, 12, 8, 21, 30, 0.0}},
    {"Sydney, winter noon", {-33.8688, 151.2093}, {2026, 6, 21, 2, 0, 0.0}},
    {"Longyearbyen, equinox midnight", {78.2232, 15.6267}, {2025, 3, 20, 0, 0, 0.0}},
    {"Ushuaia", {-54.8019, -68.3030}, {2031, 1, 15, 4, 17, 23.25}},
    {"on the date line", {12.0, 180.0}, {2000, 1, 1, 12, 0, 0.0}},
    {"west of the date line", {-5.0, -180.0}, {1995, 7, 4, 18, 45, 10.0}},
    {"Honolulu, leap second", {21.3069, -157.8583}, {2016, 12, 31, 23, 59, 60.5}},
    {"South Pole", {-90.0, 0.0}, {2040, 9, 1, 6, 0, 0.0}},
    {"Quito", {-0.1807, -78.4678}, {2049, 12, 31, 23, 59, 59.0}},
};

double separationDegrees(double ra1, double dec1, double ra2, double dec2)
{
    double a[3], b[3];
    eraS2c(ra1, dec1, a);
    eraS2c(ra2, dec2, b);
    return eraSepp(a, b) * ERFA_DR2D;
}

// The same moment as two-part Julian dates, for the reference computations.
struct Dates {
    double utc1, utc2, tt1, tt2, ut11, ut12;
};

Dates datesOf(const UtcTime& t)
{
    Dates d{};
    double tai1 = 0, tai2 = 0;
    EXPECT_GE(eraDtf2d("UTC", t.year, t.month, t.day, t.hour, t.minute, t.second, &d.utc1, &d.utc2), 0);
    EXPECT_GE(eraUtctai(d.utc1, d.utc2, &tai1, &tai2), 0);
    EXPECT_EQ(eraTaitt(tai1, tai2, &d.tt1, &d.tt2), 0);
    EXPECT_GE(eraUtcut1(d.utc1, d.utc2, 0.0, &d.ut11, &d.ut12), 0);
    return d;
}

TEST(Zenith, AgreesWithErfasObservedToAstrometricTransformOfTheZenith)
{
    // ERFA's own chain from observed to ICRS astrometric place: zenith distance 0, no refraction
    // (pressure 0), sea level, no polar motion, DUT1 0. It also takes out annual and diurnal
    // aberration and light bending, which the chart's zenith leaves in: together under 0.006
    // degrees.
    for (const Case& c : kCases) {
        const auto zenith = zenithJ2000(c.place, c.time);
        ASSERT_TRUE(zenith) << c.where;
        const Dates d = datesOf(c.time);
        double ra = 0, dec = 0;
        ASSERT_GE(eraAtoc13("A", 0.0, 0.0, d.utc1, d.utc2, 0.0, c.place.longitudeDegrees * ERFA_DD2R,
                            c.place.latitudeDegrees * ERFA_DD2R, 0.0, 0.0, 0.0, 0.0, 15.0, 0.5, 0.55, &ra,
                            &dec),
                  0)
            << c.where;
        const double separation = separationDegrees(zenith->rightAscensionHours * 15.0 * ERFA_DD2R,
                                                    zenith->declinationDegrees * ERFA_DD2R, ra, dec);
        EXPECT_LT(separation, 0.01) << c.where;
        EXPECT_GE(zenith->rightAscensionHours, 0.0) << c.where;
        EXPECT_LT(zenith->rightAscensionHours, 24.0) << c.where;
    }
}

TEST(Zenith, AgreesWithTheCioBasedEarthRotationRoute)
{
    // A second route with no sidereal time in it: the terrestrial zenith vector taken through the
    // celestial-to-terrestrial matrix (Earth rotation angle, CIO, IAU 2006/2000A) back to the
    // GCRS. Both omit aberration, so they agree to well under a milliarcsecond.
    for (const Case& c : kCases) {
        const auto zenith = zenithJ2000(c.place, c.time);
        ASSERT_TRUE(zenith) << c.where;
        const Dates d = datesOf(c.time);
        double celestialToTerrestrial[3][3];
        eraC2t06a(d.tt1, d.tt2, d.ut11, d.ut12, 0.0, 0.0, celestialToTerrestrial);
        double terrestrial[3], celestial[3];
        eraS2c(c.place.longitudeDegrees * ERFA_DD2R, c.place.latitudeDegrees * ERFA_DD2R, terrestrial);
        eraTrxp(celestialToTerrestrial, terrestrial, celestial);
        double ra = 0, dec = 0;
        eraC2s(celestial, &ra, &dec);
        const double separation = separationDegrees(zenith->rightAscensionHours * 15.0 * ERFA_DD2R,
                                                    zenith->declinationDegrees * ERFA_DD2R, ra, dec);
        EXPECT_LT(separation * 3600.0, 0.001) << c.where;
    }
}

TEST(Zenith, PropertiesThatHoldWithoutAReference)
{
    const GeographicPlace greenwich{51.4769, 0.0};
    const UtcTime t{2026, 12, 8, 21, 30, 0.0};
    const auto here = zenithJ2000(greenwich, t);
    ASSERT_TRUE(here);

    // Zeniths are turned into J2000 by a rotation, which keeps angles: at one moment, two places
    // on one parallel are as far apart on the sky as on the globe.
    auto degreesApart = [](const EquatorialPosition& a, const EquatorialPosition& b) {
        return separationDegrees(a.rightAscensionHours * 15 * ERFA_DD2R, a.declinationDegrees * ERFA_DD2R,
                                 b.rightAscensionHours * 15 * ERFA_DD2R, b.declinationDegrees * ERFA_DD2R);
    };
    auto alongParallel = [&](double longitudeDegrees) {
        const double phi = greenwich.latitudeDegrees * ERFA_DD2R;
        const double cosine = std::sin(phi) * std::sin(phi) +
                              std::cos(phi) * std::cos(phi) * std::cos(longitudeDegrees * ERFA_DD2R);
        return std::acos(cosine) * ERFA_DR2D;
    };
    const auto east = zenithJ2000({greenwich.latitudeDegrees, 15.0}, t);
    ASSERT_TRUE(east);
    EXPECT_NEAR(degreesApart(*here, *east), alongParallel(15.0), 1e-9);
    // And eastwards it is: a later right ascension.
    EXPECT_GT(std::remainder(east->rightAscensionHours - here->rightAscensionHours, 24.0), 0.9);

    // A solar day is 1.00273791 sidereal days: a day later the zenith has turned 236.555 s of
    // sidereal time (0.98565 degrees) further along the parallel, give or take a day of precession
    // and nutation (well under an arcsecond).
    const auto nextSolarDay = zenithJ2000(greenwich, {2026, 12, 9, 21, 30, 0.0});
    ASSERT_TRUE(nextSolarDay);
    EXPECT_NEAR(degreesApart(*here, *nextSolarDay), alongParallel(236.555 / 240.0), 1.0 / 3600);

    // The J2000 declination of the zenith differs from the latitude only by precession since
    // 2000 (about 0.14 degrees by 2026) and nutation.
    EXPECT_NEAR(here->declinationDegrees, greenwich.latitudeDegrees, 0.5);

    // Leaving DUT1 (under 0.9 s) out moves the zenith by less than 0.004 degrees.
    const auto later = zenithJ2000(greenwich, {2026, 12, 8, 21, 30, 0.9});
    ASSERT_TRUE(later);
    EXPECT_LT(degreesApart(*here, *later), 0.004);
}

TEST(Zenith, ATimeErfaDoesNotTakeGivesNothing)
{
    EXPECT_FALSE(zenithJ2000({0, 0}, {2026, 2, 30, 12, 0, 0.0}));
    EXPECT_FALSE(zenithJ2000({0, 0}, {2026, 12, 8, 21, 30, 60.0})); // no leap second that day
}

} // namespace
} // namespace dazed
