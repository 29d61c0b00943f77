#include "catalog/Angles.h"
#include "catalog/EclipticToEquatorial.h"
#include "platform/graphics/Color.h"
#include "render/Cross.h"
#include "render/LabelText.h"
#include "render/Passes.h"

namespace dazed {

namespace {
// The galactic centre: 17.76 h, -28.933 degrees.
constexpr double kGcAlpha = 4.649557127312894;
constexpr double kGcCosDec = 0.8751860311366464;
constexpr double kGcSinDec = -0.4837865344377466;
// The obliquity of the ecliptic is taken for this year.
constexpr double kEclipticYear = 2010.0;
constexpr int kDashes = 48;

// A position on the sky: right ascension in hours, declination in degrees.
struct HoursDegrees {
    double hours{0.0};
    double degrees{0.0};
};

CGPoint narrowed(SkyPoint p)
{
    return {toPoint(p.x), toPoint(p.y)};
}

// A point of ecliptic latitude 0 at `longitude` degrees.
HoursDegrees eclipticPoint(double longitude)
{
    double ra = 0.0;
    HoursDegrees p;
    ecliptic_to_equatorial(kEclipticYear, longitude, 0.0, &ra, &p.degrees);
    p.hours = degreesTimes24Over360(ra);
    return p;
}

// A reference curve as kDashes dashes at width 2 in `colour`: dash i runs from start(i) to end(i).
// A dash whose start is visible is drawn whole, its end computed only then; each dash is its own
// sub-path and all are stroked together.
void strokeDashedCurve(const SkyFrame& frame, RGBAColor colour, HoursDegrees (*start)(int),
                       HoursDegrees (*end)(int))
{
    CGContextRef c = frame.context;
    CGContextSetRGBStrokeColor(c, colour.red, colour.green, colour.blue, colour.alpha);
    CGContextSetLineWidth(c, 2.0f);
    CGContextBeginPath(c);
    for (int i = 0; i < kDashes; ++i) {
        const HoursDegrees from = start(i);
        SkyPoint projected;
        if (!projectVisibleHoursDegrees(frame, from.hours, from.degrees, projected))
            continue;
        const HoursDegrees to = end(i);
        const CGPoint a = narrowed(projected);
        const CGPoint b = narrowed(projectHoursDegrees(frame, to.hours, to.degrees));
        CGContextMoveToPoint(c, a.x, a.y);
        CGContextAddLineToPoint(c, b.x, b.y);
    }
    CGContextStrokePath(c);
}
} // namespace

void galacticCentreMark(const SkyFrame& frame)
{
    CGContextRef c = frame.context;
    CGContextSetRGBFillColor(c, 0, 0.5f, 0, 1);
    CGContextSetLineWidth(c, 0);
    const double deltaAlpha = kGcAlpha - frame.alpha0;
    const double cosDa = std::cos(deltaAlpha);
    const double cosRho = cosDistance(frame, cosDa, kGcSinDec, kGcCosDec);
    if (!closerThan(cosRho, kLabelLimit, kLabelCosLimit))
        return;
    const SkyPoint p = project(frame, std::sin(deltaAlpha), cosDa, kGcSinDec, kGcCosDec, cosRho);
    showText(c, frame.family, kSmallTextSize, toPoint(p.x - 10.0), toPoint(p.y - 8.0), "GC");
    // The cross is stroked in the blue of the frame set-up.
    CGContextSetLineWidth(c, 1.0f);
    strokeCross(c, crossAround(p, 5.0));
}

void eclipticCurve(const SkyFrame& frame)
{
    // Dash i runs along the ecliptic from longitude 7.5 i to 7.5 i + 3.75 degrees (half an hour
    // and a quarter of an hour, in degrees).
    strokeDashedCurve(
        frame, {0.4f, 0, 0, 1}, [](int i) { return eclipticPoint(hoursTimes360Over24(i * 0.5)); },
        [](int i) { return eclipticPoint(hoursTimes360Over24(i * 0.5 + 0.25)); });
}

void equatorCurve(const SkyFrame& frame)
{
    // Dash j runs along declination 0 from 0.5 j hours for five minutes of right ascension.
    strokeDashedCurve(
        frame, {0, 0.6f, 0, 1},
        [](int j) {
            return HoursDegrees{j * 0.5, 0.0};
        },
        [](int j) {
            return HoursDegrees{j * 0.5 + 0.08333333333333333, 0.0};
        });
}

} // namespace dazed
