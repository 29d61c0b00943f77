#include "sky/SolarSystem.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

namespace dazed {
namespace {

// Worked examples from J. Meeus, "Astronomical Algorithms" (2nd edition, 1998). Meeus gives
// apparent places: true equator and equinox of date, with nutation, and with annual aberration
// for the Sun and planets; his Moon (chapter 47) carries no aberration term (its light time and
// aberration nearly cancel), so it is the Moon's geometric direction of date. The chart shows
// astrometric places in the J2000 frame, the catalogue stars' kind. The conversions used here:
//   1. Meeus's "TD" is TT. TT - UTC = 32.184 s + (TAI - UTC), and TAI - UTC was 26 s before
//      1992 July 1 and 27 s after, so 1992 Apr 12.0 TD is 1992-04-11 23:59:01.816 UTC, and
//      1992 Oct 13.0 and Dec 20.0 TD are 23:59:00.816 UTC on the day before.
//   2. Of date to J2000: the transpose of the bias-precession-nutation matrix of the date
//      (IAU 2006/2000A, eraPnm06a) turns a direction of date back to the J2000 frame.
//   3. Apparent to astrometric: annual aberration is taken out to first order,
//      p = p' - v/c + (p'.v/c) p', v the Earth's barycentric velocity (eraEpv00). For the Sun
//      and planets this undoes Meeus's aberration; for the Moon it removes the Earth's motion
//      over the light time, as the chart does for every body.
// The chart's bodies are seen from a place (topocentric), Meeus's from the Earth's centre: the
// Sun's and Venus's parallaxes (under 10 arcseconds here) are inside the tolerance; the Moon's is
// applied to Meeus's place with his chapter 40 formulae.
constexpr double kArcminute = 1.0 / 60.0;

struct Direction {
    double v[3]{0, 0, 1};
};

double hmsDegrees(double h, double m, double s)
{
    return (h + m / 60.0 + s / 3600.0) * 15.0;
}

double dmsDegrees(int sign, double d, double m, double s)
{
    return sign * (d + m / 60.0 + s / 3600.0);
}

// Meeus's apparent place (degrees) at Julian date `jd` (TT) as an astrometric J2000 direction.
Direction astrometricFromApparent(double raDegrees, double decDegrees, double jd)
{
    double ofDate[3];
    eraS2c(raDegrees * ERFA_DD2R, decDegrees * ERFA_DD2R, ofDate);
    double npb[3][3];
    eraPnm06a(ERFA_DJ00, jd - ERFA_DJ00, npb);
    Direction r;
    eraTrxp(npb, ofDate, r.v);
    double heliocentric[2][3], barycentric[2][3];
    eraEpv00(ERFA_DJ00, jd - ERFA_DJ00, heliocentric, barycentric);
    double beta[3];
    for (int i = 0; i < 3; ++i)
        beta[i] = barycentric[1][i] * ERFA_AULT / ERFA_DAYSEC; // v / c
    const double along = eraPdp(r.v, beta);
    for (int i = 0; i < 3; ++i)
        r.v[i] = r.v[i] - beta[i] + along * r.v[i];
    double modulus = 0;
    eraPn(r.v, &modulus, r.v);
    return r;
}

double separationDegrees(const Direction& a, const UnitVector& b)
{
    double av[3] = {a.v[0], a.v[1], a.v[2]};
    double bv[3] = {b.x, b.y, b.z};
    return eraSepp(av, bv) * ERFA_DR2D;
}

// Mean sidereal time at Greenwich (degrees) at Julian date `jdUt` (UT), Meeus (12.4).
double meanSiderealDegrees(double jdUt)
{
    const double t = (jdUt - 2451545.0) / 36525.0;
    return std::fmod(280.46061837 + 360.98564736629 * (jdUt - 2451545.0) + 0.000387933 * t * t -
                         t * t * t / 38710000.0,
                     360.0);
}

// Meeus chapter 40: a geocentric place (degrees) of a body of equatorial horizontal parallax
// `parallaxDegrees`, seen from `place`, with the hour angle from the sidereal time at Greenwich.
void topocentricMeeus(double& ra, double& dec, double parallaxDegrees, const GeographicPlace& place,
                      double siderealDegrees)
{
    const double phi = place.latitudeDegrees * ERFA_DD2R;
    const double u = std::atan(0.99664719 * std::tan(phi));
    const double heightRatio = place.heightMetres / 6378140.0;
    const double rhoSin = 0.99664719 * std::sin(u) + heightRatio * std::sin(phi);
    const double rhoCos = std::cos(u) + heightRatio * std::cos(phi);
    const double sinPi = std::sin(parallaxDegrees * ERFA_DD2R);
    const double h = (siderealDegrees + place.longitudeDegrees - ra) * ERFA_DD2R;
    const double d = dec * ERFA_DD2R;
    const double dAlpha =
        std::atan2(-rhoCos * sinPi * std::sin(h), std::cos(d) - rhoCos * sinPi * std::cos(h));
    const double dPrime = std::atan2((std::sin(d) - rhoSin * sinPi) * std::cos(dAlpha),
                                     std::cos(d) - rhoCos * sinPi * std::cos(h));
    ra += dAlpha * ERFA_DR2D;
    dec = dPrime * ERFA_DR2D;
}

SkySnapshot skyAt(const GeographicPlace& place, const UtcTime& time)
{
    const auto sky = computeSkySnapshot(place, time, 0);
    EXPECT_TRUE(sky.has_value());
    return sky.value_or(SkySnapshot{});
}

const GeographicPlace kGreenwich{51.4779, -0.0015, 46.0};

TEST(SolarSystem, SunMatchesMeeusExample25b)
{
    // 1992 Oct 13.0 TD: alpha 13h13m30.749s, delta -7 deg 47' 01.74", R 0.99760853 au.
    const double jd = 2448908.5;
    const auto sky = skyAt(kGreenwich, {1992, 10, 12, 23, 59, 0.816});
    const Direction meeus =
        astrometricFromApparent(hmsDegrees(13, 13, 30.749), dmsDegrees(-1, 7, 47, 1.74), jd);
    EXPECT_LT(separationDegrees(meeus, sky[SolarSystemBody::Sun].direction), kArcminute);
    EXPECT_NEAR(sky[SolarSystemBody::Sun].distanceAu, 0.99760853, 1e-4);
    // Meeus chapter 55: the Sun's semidiameter is 959.63" / R.
    EXPECT_NEAR(sky[SolarSystemBody::Sun].angularDiameterDegrees * 3600.0, 2.0 * 959.63 / 0.99760853, 1.0);
}

TEST(SolarSystem, VenusMatchesMeeusExamples33aAnd41a)
{
    // 1992 Dec 20.0 TD: alpha 21h04m41.454s, delta -18 deg 53' 16.84" (example 33.a, the
    // full-theory values); distance 0.910947 au, corrected for light time, and illuminated
    // fraction 0.647 (example 41.a). The place moves the distance by under 4.3e-5 au, the
    // Earth's radius.
    const double jd = 2448976.5;
    const auto sky = skyAt(kGreenwich, {1992, 12, 19, 23, 59, 0.816});
    const Direction meeus =
        astrometricFromApparent(hmsDegrees(21, 4, 41.454), dmsDegrees(-1, 18, 53, 16.84), jd);
    const BodyView& venus = sky[SolarSystemBody::Venus];
    EXPECT_LT(separationDegrees(meeus, venus.direction), kArcminute);
    EXPECT_NEAR(venus.distanceAu, 0.910947, 1e-4);
    EXPECT_NEAR(venus.illuminatedFraction, 0.647, 0.003);
}

// 1992 Apr 12.0 TD (Meeus example 47.a): alpha 134.688470 deg, delta +13.768368 deg, distance
// 368409.7 km, equatorial horizontal parallax 0.991990 deg.
constexpr double kMoonJd = 2448724.5;
constexpr double kMoonRa = 134.688470;
constexpr double kMoonDec = 13.768368;
constexpr double kMoonParallax = 0.991990;
const UtcTime kMoonTime{1992, 4, 11, 23, 59, 1.816};
constexpr double kMoonJdUt = 2448724.5 - 58.184 / 86400.0;

TEST(SolarSystem, MoonSeenFromAPlaceMatchesMeeusExample47aWithItsParallax)
{
    // Places where the Moon stands high, low and in between: the parallax moves it by up to a
    // degree, which the comparison must see.
    const GeographicPlace places[] = {
        kGreenwich, {-33.8688, 151.2093, 58.0}, {64.1466, -21.9426, 20.0}, {19.8207, -155.4681, 4205.0}};
    for (const GeographicPlace& place : places) {
        double ra = kMoonRa, dec = kMoonDec;
        topocentricMeeus(ra, dec, kMoonParallax, place, meanSiderealDegrees(kMoonJdUt));
        const Direction meeus = astrometricFromApparent(ra, dec, kMoonJd);
        const BodyView moon = skyAt(place, kMoonTime)[SolarSystemBody::Moon];
        EXPECT_LT(separationDegrees(meeus, moon.direction), 2.0 * kArcminute)
            << place.latitudeDegrees << "," << place.longitudeDegrees;
    }
    // The parallax is really there: Greenwich and Sydney see the Moon far more apart than the
    // tolerance.
    const auto greenwich = skyAt(places[0], kMoonTime)[SolarSystemBody::Moon].direction;
    const auto sydney = skyAt(places[1], kMoonTime)[SolarSystemBody::Moon].direction;
    EXPECT_GT(separation(greenwich, sydney) * ERFA_DR2D, 0.5);
}

// The place the Moon of example 47.a stands overhead: latitude its declination, longitude its
// right ascension less the sidereal time at Greenwich.
GeographicPlace underTheMoon()
{
    double longitude = std::fmod(kMoonRa - meanSiderealDegrees(kMoonJdUt) + 540.0, 360.0) - 180.0;
    return {kMoonDec, longitude, 0.0};
}

TEST(SolarSystem, MoonPhaseMatchesMeeusExample48a)
{
    // Illuminated fraction 0.6786 and position angle of the bright limb 285.0 deg (of date; the
    // J2000 north differs from the north of date by under 0.1 deg in 1992). Seen with the Moon
    // overhead, the place changes the phase angle by a hair only.
    const BodyView moon = skyAt(underTheMoon(), kMoonTime)[SolarSystemBody::Moon];
    EXPECT_NEAR(moon.illuminatedFraction, 0.6786, 0.002);
    EXPECT_NEAR(moon.brightLimbAngleDegrees, 285.0, 0.3);
}

TEST(SolarSystem, MoonSizeMatchesMeeusChapter55)
{
    // Geocentric semidiameter 358473400" / 368409.7 km; seen overhead it is larger by the factor
    // 1 + sin(h) sin(parallax), h the altitude (90 deg here).
    const double geocentric = 358473400.0 / 368409.7;
    const double overhead = geocentric * (1.0 + std::sin(kMoonParallax * ERFA_DD2R));
    const BodyView moon = skyAt(underTheMoon(), kMoonTime)[SolarSystemBody::Moon];
    EXPECT_NEAR(moon.angularDiameterDegrees * 3600.0 / 2.0, overhead, 2.0);
}

TEST(SolarSystem, MoonIsDarkAtNewMoonAndWhollyLitAtFullMoon)
{
    // New Moon of 1977 Feb 18, 3h37m42s TD (Meeus example 49.a; an annular eclipse of the Sun
    // that day, so the Moon stood right in front of it): TAI - UTC was 16 s, so 03:36:54 UTC.
    const BodyView newMoon = skyAt(kGreenwich, {1977, 2, 18, 3, 36, 54.0})[SolarSystemBody::Moon];
    EXPECT_LT(newMoon.illuminatedFraction, 0.001);
    // Full Moon of 2000 Jan 21, 04:40 UT, in the middle of a total eclipse of the Moon.
    const BodyView fullMoon = skyAt(kGreenwich, {2000, 1, 21, 4, 40, 0.0})[SolarSystemBody::Moon];
    EXPECT_GT(fullMoon.illuminatedFraction, 0.999);
}

TEST(SolarSystem, PlanetMagnitudesMatchPublishedOppositionFigures)
{
    // Mars at its closest opposition in 60,000 years, 2003 Aug 28: magnitude -2.9 (Astronomical
    // Almanac 2003). Jupiter at opposition 2022 Sep 26: magnitude -2.9 (Astronomical Almanac 2022).
    EXPECT_NEAR(skyAt(kGreenwich, {2003, 8, 28, 0, 0, 0.0})[SolarSystemBody::Mars].magnitude, -2.9, 0.1);
    EXPECT_NEAR(skyAt(kGreenwich, {2022, 9, 26, 0, 0, 0.0})[SolarSystemBody::Jupiter].magnitude, -2.9, 0.1);
}

TEST(SolarSystem, WorksAtTheModelsLimitsAndRefusesBeyondThem)
{
    EXPECT_TRUE(computeSkySnapshot(kGreenwich, {1900, 1, 1, 0, 0, 0.0}, 0));
    EXPECT_TRUE(computeSkySnapshot(kGreenwich, {2100, 12, 31, 23, 59, 59.0}, 0));
    EXPECT_FALSE(computeSkySnapshot(kGreenwich, {1899, 12, 31, 23, 59, 59.0}, 0));
    EXPECT_FALSE(computeSkySnapshot(kGreenwich, {2101, 1, 1, 0, 0, 0.0}, 0));
    EXPECT_TRUE(modelCoverageProblem({1900, 1, 1, 0, 0, 0.0}).empty());
    EXPECT_NE(modelCoverageProblem({2101, 1, 1, 0, 0, 0.0}).find("1900 to 2100"), std::string::npos);
    // A date that does not exist is refused, not worked out.
    EXPECT_FALSE(computeSkySnapshot(kGreenwich, {2026, 2, 30, 0, 0, 0.0}, 0));
}

TEST(SolarSystem, RefusesAPlaceThatIsNotFinite)
{
    const UtcTime t{2026, 12, 9, 21, 30, 0.0};
    EXPECT_FALSE(computeSkySnapshot({std::nan(""), 0.0, 0.0}, t, 0));
    EXPECT_FALSE(computeSkySnapshot({0.0, INFINITY, 0.0}, t, 0));
    EXPECT_FALSE(computeSkySnapshot({0.0, 0.0, -INFINITY}, t, 0));
}

TEST(SolarSystem, EveryResultAtTheModelsEdgesIsAUnitDirection)
{
    for (const UtcTime& t : {UtcTime{1900, 1, 1, 0, 0, 0.0}, UtcTime{2100, 12, 31, 23, 59, 59.0}}) {
        const auto sky = skyAt({-90.0, 180.0, 0.0}, t);
        for (const BodyView& b : sky.bodies) {
            EXPECT_NEAR(std::hypot(b.direction.x, b.direction.y, b.direction.z), 1.0, 1e-12)
                << bodyName(b.body);
            EXPECT_TRUE(std::isfinite(b.magnitude)) << bodyName(b.body);
            EXPECT_GE(b.illuminatedFraction, 0.0);
            EXPECT_LE(b.illuminatedFraction, 1.0);
        }
    }
}

} // namespace
} // namespace dazed
