#include "catalog/Angles.h"
#include "catalog/EclipticToEquatorial.h"
#include "platform/graphics/Color.h"
#include "render/Cross.h"
#include "render/LabelText.h"
#include "render/Passes.h"
#include "render/SkyDirection.h"

#include <array>

namespace dazed {

namespace {
// The galactic centre: 17.76 h, -28.933 degrees.
constexpr double kGcAlpha = 4.649557127312894;
constexpr double kGcCosDec = 0.8751860311366464;
constexpr double kGcSinDec = -0.4837865344377466;
// The obliquity of the ecliptic is taken for this year.
constexpr double kEclipticYear = 2010.0;
constexpr int kDashes = 48;

CGPoint narrowed(SkyPoint p)
{
    return {toPoint(p.x), toPoint(p.y)};
}

// A point of ecliptic latitude 0 at `longitude` degrees.
SkyDirection eclipticPoint(double longitude)
{
    double ra = 0.0;
    double dec = 0.0;
    ecliptic_to_equatorial(kEclipticYear, longitude, 0.0, &ra, &dec);
    return directionOfHoursDegrees(degreesTimes24Over360(ra), dec);
}

// The ends of a reference curve's dashes: dash i runs from starts[i] to ends[i].
struct DashedCurve {
    std::array<SkyDirection, kDashes> starts;
    std::array<SkyDirection, kDashes> ends;
};

// Dash i runs along the ecliptic from longitude 7.5 i to 7.5 i + 3.75 degrees (half an hour and
// a quarter of an hour, in degrees). The points depend on nothing a frame changes: they are
// worked out once.
const DashedCurve& eclipticDashes()
{
    static const DashedCurve curve = [] {
        DashedCurve c;
        for (int i = 0; i < kDashes; ++i) {
            c.starts[static_cast<std::size_t>(i)] = eclipticPoint(hoursTimes360Over24(i * 0.5));
            c.ends[static_cast<std::size_t>(i)] = eclipticPoint(hoursTimes360Over24(i * 0.5 + 0.25));
        }
        return c;
    }();
    return curve;
}

// Dash j runs along declination 0 from 0.5 j hours for five minutes of right ascension.
const DashedCurve& equatorDashes()
{
    static const DashedCurve curve = [] {
        DashedCurve c;
        for (int j = 0; j < kDashes; ++j) {
            c.starts[static_cast<std::size_t>(j)] = directionOfHoursDegrees(j * 0.5, 0.0);
            c.ends[static_cast<std::size_t>(j)] = directionOfHoursDegrees(j * 0.5 + 0.08333333333333333, 0.0);
        }
        return c;
    }();
    return curve;
}

// A reference curve as kDashes dashes at width 2 in `colour`. A dash whose start is visible is
// drawn whole; each dash is its own sub-path and all are stroked together.
void strokeDashedCurve(const SkyFrame& frame, RGBAColor colour, const DashedCurve& curve)
{
    CGContextRef c = frame.context;
    CGContextSetRGBStrokeColor(c, colour.red, colour.green, colour.blue, colour.alpha);
    CGContextSetLineWidth(c, 2.0f);
    CGContextBeginPath(c);
    for (std::size_t i = 0; i < curve.starts.size(); ++i) {
        SkyPoint projected;
        if (!projectVisible(frame, curve.starts[i], projected))
            continue;
        const CGPoint a = narrowed(projected);
        const CGPoint b = narrowed(projectDirection(frame, curve.ends[i]));
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
    strokeDashedCurve(frame, {0.4f, 0, 0, 1}, eclipticDashes());
}

void equatorCurve(const SkyFrame& frame)
{
    strokeDashedCurve(frame, {0, 0.6f, 0, 1}, equatorDashes());
}

} // namespace dazed
