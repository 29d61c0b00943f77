#include "sky/SolarSystem.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>
#include <initializer_list>

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

// The other planets. Meeus's chapters 17 to 20 take their planets' places from an ephemeris of
// apparent places at 0h TD; they are converted as the Sun's and Venus's above. TT - UTC: TAI - UTC
// was 17 s in 1978, 20 s from 1981 July 1, 26 s from 1991 January 1 and 29 s from 1994 July 1.
//
// Every planet is held to 1'. eraPlan94 states its largest heliocentric longitude errors over
// 1800-2050 as 4" (Mercury), 17" (Mars), 71" (Jupiter), 81" (Saturn), 86" (Uranus) and 11"
// (Neptune); seen from the Earth an error grows by the ratio of the planet's distance from the Sun
// to its distance from us (up to 1.25 for Jupiter at opposition), so at other dates Jupiter,
// Saturn and Uranus may stray up to about 1.5' by the model's own account.

// An apparent place of Meeus's at 0h TD of Julian date `jd`, and that moment in UTC.
struct ApparentPlace {
    UtcTime time;
    double jd;
    double raDegrees;
    double decDegrees;
};

void expectWithinAnArcminute(SolarSystemBody body, std::initializer_list<ApparentPlace> places)
{
    for (const ApparentPlace& p : places)
        EXPECT_LT(separationDegrees(astrometricFromApparent(p.raDegrees, p.decDegrees, p.jd),
                                    skyAt(kGreenwich, p.time)[body].direction),
                  kArcminute)
            << bodyName(body) << " at JD " << p.jd;
}

TEST(SolarSystem, MercuryMatchesMeeusExample18a)
{
    // 1991 Aug 5.0 and 9.0 TD: alpha 10h24m30.125s, delta +6 deg 26' 32.05"; alpha 10h24m41.185s,
    // delta +5 deg 37' 48.45".
    expectWithinAnArcminute(
        SolarSystemBody::Mercury,
        {{{1991, 8, 4, 23, 59, 1.816}, 2448473.5, hmsDegrees(10, 24, 30.125), dmsDegrees(1, 6, 26, 32.05)},
         {{1991, 8, 8, 23, 59, 1.816}, 2448477.5, hmsDegrees(10, 24, 41.185), dmsDegrees(1, 5, 37, 48.45)}});
}

TEST(SolarSystem, MarsMatchesMeeusExample19a)
{
    // 1994 Sep 29.0 and Oct 3.0 TD: alpha 118.98067 deg, delta +21.68417 deg; alpha 121.41475 deg,
    // delta +21.29761 deg.
    expectWithinAnArcminute(SolarSystemBody::Mars,
                            {{{1994, 9, 28, 23, 58, 58.816}, 2449624.5, 118.98067, 21.68417},
                             {{1994, 10, 2, 23, 58, 58.816}, 2449628.5, 121.41475, 21.29761}});
}

TEST(SolarSystem, JupiterAndSaturnMatchMeeusExample20a)
{
    // 1981 Sep 11.0 TD, Jupiter and Saturn close together in Virgo: Jupiter alpha 12h52m05.21s,
    // delta -4 deg 22' 26.2"; Saturn alpha 12h39m28.11s, delta -1 deg 50' 03.7".
    const UtcTime t{1981, 9, 10, 23, 59, 7.816};
    expectWithinAnArcminute(SolarSystemBody::Jupiter,
                            {{t, 2444858.5, hmsDegrees(12, 52, 5.21), dmsDegrees(-1, 4, 22, 26.2)}});
    expectWithinAnArcminute(SolarSystemBody::Saturn,
                            {{t, 2444858.5, hmsDegrees(12, 39, 28.11), dmsDegrees(-1, 1, 50, 3.7)}});
}

TEST(SolarSystem, SaturnMatchesMeeusChapter17Exercise)
{
    // 1978 Sep 13.0 and 15.0 TD (the exercise on the least separation of Mercury and Saturn):
    // alpha 10h33m29.64s, delta +10 deg 40' 13.2"; alpha 10h34m26.22s, delta +10 deg 34' 53.9".
    expectWithinAnArcminute(
        SolarSystemBody::Saturn,
        {{{1978, 9, 12, 23, 59, 10.816}, 2443764.5, hmsDegrees(10, 33, 29.64), dmsDegrees(1, 10, 40, 13.2)},
         {{1978, 9, 14, 23, 59, 10.816}, 2443766.5, hmsDegrees(10, 34, 26.22), dmsDegrees(1, 10, 34, 53.9)}});
}

// Uranus and Neptune have no worked example in Meeus. Their places here are astrometric, from the
// Earth's centre, in the ICRS (the J2000 frame to 0.02"), computed with the US Naval Observatory's
// NOVAS from JPL's DE405 and published with the test suite of the Skyfield library
// (skyfield/tests/test_against_novas.py): already the chart's kind of place, so nothing is converted
// but the time. The place's parallax is under 0.5" at these distances. TT - UTC: TAI - UTC was 25 s
// in 1990, 32 s in 2000 and 35 s from 2012 July 1.
Direction astrometricJ2000(double raHours, double decDegrees)
{
    Direction r;
    eraS2c(raHours * 15.0 * ERFA_DD2R, decDegrees * ERFA_DD2R, r.v);
    return r;
}

struct NovasPlace {
    UtcTime time;
    double raHours;
    double decDegrees;
};

TEST(SolarSystem, UranusMatchesNovasWithDe405)
{
    // JD 2448031.5, 2451545.0 and 2456164.5 TT: 1990 May 20.0, 2000 Jan 1.5 and 2012 Aug 25.0.
    const NovasPlace places[] = {{{1990, 5, 19, 23, 59, 2.816}, 18.668551452013403, -23.437331340689155},
                                 {{2000, 1, 1, 11, 58, 55.816}, 21.16558686754142, -17.018831731314233},
                                 {{2012, 8, 24, 23, 58, 52.816}, 0.48916431485643164, 2.3565095329111823}};
    for (const NovasPlace& p : places)
        EXPECT_LT(separationDegrees(astrometricJ2000(p.raHours, p.decDegrees),
                                    skyAt(kGreenwich, p.time)[SolarSystemBody::Uranus].direction),
                  kArcminute)
            << p.time.year;
}

TEST(SolarSystem, NeptuneMatchesNovasWithDe405)
{
    const NovasPlace places[] = {{{1990, 5, 19, 23, 59, 2.816}, 19.03623522579387, -21.792864018500975},
                                 {{2000, 1, 1, 11, 58, 55.816}, 20.362841834121518, -19.212425239376326},
                                 {{2012, 8, 24, 23, 58, 52.816}, 22.252468120719442, -11.504657215501586}};
    for (const NovasPlace& p : places)
        EXPECT_LT(separationDegrees(astrometricJ2000(p.raHours, p.decDegrees),
                                    skyAt(kGreenwich, p.time)[SolarSystemBody::Neptune].direction),
                  kArcminute)
            << p.time.year;
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
