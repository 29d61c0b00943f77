#include "sky/SolarSystem.h"

#include "sky/TimeScales.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>

namespace dazed {

const char* bodyName(SolarSystemBody body)
{
    switch (body) {
    case SolarSystemBody::Sun:
        return "Sun";
    case SolarSystemBody::Moon:
        return "Moon";
    case SolarSystemBody::Mercury:
        return "Mercury";
    case SolarSystemBody::Venus:
        return "Venus";
    case SolarSystemBody::Mars:
        return "Mars";
    case SolarSystemBody::Jupiter:
        return "Jupiter";
    case SolarSystemBody::Saturn:
        return "Saturn";
    case SolarSystemBody::Uranus:
        return "Uranus";
    case SolarSystemBody::Neptune:
        return "Neptune";
    }
    return "";
}

bool isWithinModels(const UtcTime& time)
{
    return isRealUtc(time) && time.year >= kFirstModelYear && time.year <= kLastModelYear;
}

std::string modelCoverageProblem(const UtcTime& time)
{
    if (!isRealUtc(time))
        return "is not a real date and time in UTC";
    if (time.year < kFirstModelYear || time.year > kLastModelYear)
        return "lies outside " + std::to_string(kFirstModelYear) + " to " + std::to_string(kLastModelYear) +
               ", the years the Sun, Moon and planet models cover";
    return {};
}

namespace {

// Radii in kilometres: the Sun's (959.63 arcseconds at 1 au) and the Moon's mean radius.
constexpr double kSunRadiusKm = 695990.0;
constexpr double kMoonRadiusKm = 1737.4;
// Saturn's north pole (IAU), J2000: the rings lie in its equator.
constexpr double kSaturnPoleRaDegrees = 40.589;
constexpr double kSaturnPoleDecDegrees = 83.537;
// Nominal magnitudes of the Sun and of the full Moon at mean distance, only to order the discs.
constexpr double kSunMagnitude = -26.7;
constexpr double kFullMoonMagnitude = -12.7;

struct Vec {
    double x{0}, y{0}, z{0};
};
Vec operator-(Vec a, Vec b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator+(Vec a, Vec b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator*(double k, Vec a)
{
    return {k * a.x, k * a.y, k * a.z};
}
double dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec cross(Vec a, Vec b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(Vec a)
{
    return std::sqrt(dot(a, a));
}
Vec unit(Vec a)
{
    const double l = length(a);
    return l > 0 ? (1.0 / l) * a : Vec{};
}
Vec fromArray(const double p[3])
{
    return {p[0], p[1], p[2]};
}
UnitVector toUnit(Vec a)
{
    const Vec u = unit(a);
    return {u.x, u.y, u.z};
}
double angleBetween(Vec a, Vec b)
{
    return std::atan2(length(cross(a, b)), dot(a, b));
}

// Light time over `au` astronomical units, in days.
double lightDays(double au)
{
    return au * ERFA_AULT / ERFA_DAYSEC;
}

// The Earth's and the Sun's barycentric positions (au, ICRS axes) and velocities (au/day) at TT
// (tt1 + tt2).
struct EarthAndSun {
    Vec earth;
    Vec sun;
    Vec earthVelocity;
    Vec sunVelocity;

    // Where the Sun was `days` earlier, for the light time of a body. The Sun's barycentric
    // motion (about 13 m/s) bends over Jupiter's period of twelve years: over the four hours
    // light takes from Neptune, taking it as straight misplaces the Sun by a few tens of metres, a
    // millionth of an arcsecond seen from here. One eraEpv00 call, the costliest model here, then
    // serves every body instead of one for each light-time step.
    [[nodiscard]] Vec sunBefore(double days) const { return sun - days * sunVelocity; }
};
EarthAndSun earthAndSun(double tt1, double tt2)
{
    double heliocentric[2][3];
    double barycentric[2][3];
    // Status 1 only says the date lies beyond 1900-2100; callers keep within it.
    eraEpv00(tt1, tt2, heliocentric, barycentric);
    const Vec earth = fromArray(barycentric[0]);
    const Vec earthVelocity = fromArray(barycentric[1]);
    return {earth, earth - fromArray(heliocentric[0]), earthVelocity,
            earthVelocity - fromArray(heliocentric[1])};
}

// Position angle (radians, north through east, 0..2 pi) at `from` of the great circle towards
// `towards`, with north towards the J2000 pole.
double positionAngle(Vec from, Vec towards)
{
    const Vec f = unit(from);
    const Vec pole{0, 0, 1};
    Vec north = pole - dot(pole, f) * f;
    if (length(north) < 1e-12)
        north = Vec{1, 0, 0} - dot(Vec{1, 0, 0}, f) * f; // at a pole any meridian will do
    north = unit(north);
    const Vec east = cross(north, f);
    const double angle = std::atan2(dot(towards, east), dot(towards, north));
    return eraAnp(angle);
}

// Apparent magnitude from the body's distances to the Sun and the observer (au) and the phase
// angle (degrees): the formulae in use since 1984 (Astronomical Almanac; Meeus chapter 41).
double planetMagnitude(SolarSystemBody body, double r, double delta, double i, Vec saturnToEarth,
                       Vec saturnToSun)
{
    const double distance = 5.0 * std::log10(r * delta);
    switch (body) {
    case SolarSystemBody::Mercury:
        return -0.42 + distance + 0.0380 * i - 0.000273 * i * i + 0.000002 * i * i * i;
    case SolarSystemBody::Venus:
        return -4.40 + distance + 0.0009 * i + 0.000239 * i * i - 0.00000065 * i * i * i;
    case SolarSystemBody::Mars:
        return -1.52 + distance + 0.016 * i;
    case SolarSystemBody::Jupiter:
        return -9.40 + distance + 0.005 * i;
    case SolarSystemBody::Saturn: {
        // The rings: B is the Earth's Saturnicentric latitude above the ring plane, dU the
        // difference of the Sun's and the Earth's Saturnicentric longitudes in that plane.
        double pole[3];
        eraS2c(kSaturnPoleRaDegrees * ERFA_DD2R, kSaturnPoleDecDegrees * ERFA_DD2R, pole);
        const Vec p = fromArray(pole);
        const Vec e = unit(saturnToEarth);
        const Vec s = unit(saturnToSun);
        const double sinB = dot(p, e);
        const double dU = angleBetween(e - dot(p, e) * p, s - dot(p, s) * p) * ERFA_DR2D;
        return -8.88 + distance + 0.044 * dU - 2.60 * std::abs(sinB) + 1.25 * sinB * sinB;
    }
    case SolarSystemBody::Uranus:
        return -7.19 + distance;
    case SolarSystemBody::Neptune:
        return -6.87 + distance;
    default:
        return 0.0;
    }
}

// The observer's geocentric position (au, GCRS axes) at the moment.
Vec observerPosition(const GeographicPlace& place, const TimeScales& t)
{
    double pv[2][3];
    eraPvtob(place.longitudeDegrees * ERFA_DD2R, place.latitudeDegrees * ERFA_DD2R, place.heightMetres, 0.0,
             0.0, 0.0, eraEra00(t.ut11, t.ut12), pv);
    double celestialToIntermediate[3][3];
    eraC2i06a(t.tt1, t.tt2, celestialToIntermediate);
    double gcrs[3];
    eraTrxp(celestialToIntermediate, pv[0], gcrs);
    return (1.0 / ERFA_DAU) * fromArray(gcrs);
}

bool finitePlace(const GeographicPlace& place)
{
    return std::isfinite(place.latitudeDegrees) && std::isfinite(place.longitudeDegrees) &&
           std::isfinite(place.heightMetres);
}

} // namespace

std::optional<HorizonFrame> horizonFrame(const GeographicPlace& place, const UtcTime& time)
{
    if (!isWithinModels(time) || !finitePlace(place))
        return std::nullopt;
    const auto scales = timeScalesOf(time);
    const auto zenith = zenithJ2000(place, time);
    if (!scales || !zenith)
        return std::nullopt;
    double z[3];
    eraS2c(hoursTimesPiOver12(zenith->rightAscensionHours), degreesTimesPiOver180(zenith->declinationDegrees),
           z);
    const Vec up = fromArray(z);
    // The true pole of date (and its equinox) in J2000: the third (first) row of the matrix that
    // takes J2000 to the true frame of date.
    double npb[3][3];
    eraPnm06a(scales->tt1, scales->tt2, npb);
    const Vec pole = fromArray(npb[2]);
    Vec north = pole - dot(pole, up) * up;
    if (length(north) < 1e-9) {
        const Vec equinox = fromArray(npb[0]);
        north = equinox - dot(equinox, up) * up;
    }
    north = unit(north);
    const Vec east = cross(north, up);
    return HorizonFrame{toUnit(up), toUnit(north), toUnit(east)};
}

std::optional<SkySnapshot> computeSkySnapshot(const GeographicPlace& place, const UtcTime& time,
                                              int utcOffsetMinutes)
{
    const auto horizon = horizonFrame(place, time);
    const auto t = timeScalesOf(time);
    if (!horizon || !t)
        return std::nullopt;
    SkySnapshot sky;
    sky.place = place;
    sky.time = time;
    sky.utcOffsetMinutes = utcOffsetMinutes;
    sky.horizon = *horizon;

    const EarthAndSun now = earthAndSun(t->tt1, t->tt2);
    // The place, barycentric: every body is seen from here.
    const Vec observer = now.earth + observerPosition(place, *t);

    // The Sun where its light left it.
    Vec sunSeen = now.sun - observer;
    for (int i = 0; i < 2; ++i)
        sunSeen = now.sunBefore(lightDays(length(sunSeen))) - observer;
    {
        BodyView& sun = sky.bodies[static_cast<std::size_t>(SolarSystemBody::Sun)];
        sun.body = SolarSystemBody::Sun;
        sun.direction = toUnit(sunSeen);
        sun.distanceAu = length(sunSeen);
        sun.angularDiameterDegrees =
            2.0 * std::asin(kSunRadiusKm / (sun.distanceAu * ERFA_DAU / 1000.0)) * ERFA_DR2D;
        sun.magnitude = kSunMagnitude;
    }

    // The Moon, geocentric from its model. Like the planets it is taken where it was when its
    // light left it, and the Earth's barycentric motion over that light time counts too (about
    // 20 arcseconds at the Moon's distance): this is the place that annual aberration would move
    // to the apparent one, as it would the stars'. Its phase angle is at the Moon between the Sun
    // and the place.
    {
        double pv[2][3];
        eraMoon98(t->tt1, t->tt2, pv);
        const Vec geocentric = fromArray(pv[0]);
        const Vec velocity = fromArray(pv[1]) + now.earthVelocity;
        const Vec observerFromGeocentre = observer - now.earth;
        Vec seen = geocentric - observerFromGeocentre;
        seen = (geocentric - lightDays(length(seen)) * velocity) - observerFromGeocentre;
        BodyView& moon = sky.bodies[static_cast<std::size_t>(SolarSystemBody::Moon)];
        moon.body = SolarSystemBody::Moon;
        moon.direction = toUnit(seen);
        moon.distanceAu = length(seen);
        moon.angularDiameterDegrees =
            2.0 * std::asin(kMoonRadiusKm / (moon.distanceAu * ERFA_DAU / 1000.0)) * ERFA_DR2D;
        const Vec moonToSun = sunSeen - seen;
        const double phase = angleBetween(moonToSun, -1.0 * seen);
        moon.illuminatedFraction = (1.0 + std::cos(phase)) / 2.0;
        moon.brightLimbAngleDegrees = positionAngle(seen, unit(sunSeen)) * ERFA_DR2D;
        moon.magnitude = kFullMoonMagnitude;
    }

    // The planets, heliocentric from their model, where they were when their light left them.
    constexpr SolarSystemBody kPlanets[] = {
        SolarSystemBody::Mercury, SolarSystemBody::Venus,  SolarSystemBody::Mars,   SolarSystemBody::Jupiter,
        SolarSystemBody::Saturn,  SolarSystemBody::Uranus, SolarSystemBody::Neptune};
    constexpr int kModelNumber[] = {1, 2, 4, 5, 6, 7, 8};
    for (std::size_t k = 0; k < std::size(kPlanets); ++k) {
        double lightTime = 0.0;
        Vec heliocentric, seen, sunThen;
        for (int i = 0; i < 3; ++i) {
            double pv[2][3];
            eraPlan94(t->tt1, t->tt2 - lightTime, kModelNumber[k], pv);
            heliocentric = fromArray(pv[0]);
            sunThen = now.sunBefore(lightTime);
            seen = sunThen + heliocentric - observer;
            lightTime = lightDays(length(seen));
        }
        BodyView& planet = sky.bodies[static_cast<std::size_t>(kPlanets[k])];
        planet.body = kPlanets[k];
        planet.direction = toUnit(seen);
        planet.distanceAu = length(seen);
        const Vec planetToSun = -1.0 * heliocentric;
        const Vec planetToObserver = -1.0 * seen;
        const double phase = angleBetween(planetToSun, planetToObserver);
        planet.illuminatedFraction = (1.0 + std::cos(phase)) / 2.0;
        planet.brightLimbAngleDegrees = positionAngle(seen, unit(sunSeen)) * ERFA_DR2D;
        planet.magnitude = planetMagnitude(kPlanets[k], length(heliocentric), planet.distanceAu,
                                           phase * ERFA_DR2D, planetToObserver, planetToSun);
    }
    return sky;
}

} // namespace dazed
