#include "catalog/EclipticToEquatorial.h"
#include "render/QuartzView.h"
#include "render/SkyFrame.h"

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

// A point of ecliptic latitude 0 at `longitude` degrees, as right ascension (hours) and
// declination (degrees).
void eclipticPoint(double longitude, double& hours, double& degrees)
{
    double ra = 0.0;
    ecliptic_to_equatorial(kEclipticYear, longitude, 0.0, &ra, &degrees);
    hours = degreesTimes24Over360(ra);
}
} // namespace

void QuartzView::galacticCentreMark(const SkyFrame& frame)
{
    CGContextRef c = frame.context;
    CGContextSetRGBFillColor(c, 0, 0.5f, 0, 1);
    CGContextSetLineWidth(c, 0);
    const double deltaAlpha = kGcAlpha - hoursTimesPiOver12(xs1);
    const double cosDa = std::cos(deltaAlpha);
    const double cosRho = cosDistance(frame, cosDa, kGcSinDec, kGcCosDec);
    if (!closerThan(cosRho, kLabelLimit, kLabelCosLimit))
        return;
    const SkyPoint p = project(frame, std::sin(deltaAlpha), cosDa, kGcSinDec, kGcCosDec, cosRho);
    drawText(c, toPoint(p.x - 10.0), toPoint(p.y - 8.0), "GC");
    // The cross is stroked in the blue of the frame set-up.
    CGContextSetLineWidth(c, 1.0f);
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, toPoint(p.x - 5.0), toPoint(p.y));
    CGContextAddLineToPoint(c, toPoint(p.x + 5.0), toPoint(p.y));
    CGContextMoveToPoint(c, toPoint(p.x), toPoint(p.y - 5.0));
    CGContextAddLineToPoint(c, toPoint(p.x), toPoint(p.y + 5.0));
    CGContextStrokePath(c);
}

void QuartzView::eclipticCurve(const SkyFrame& frame)
{
    CGContextRef c = frame.context;
    CGContextSetRGBStrokeColor(c, 0.4f, 0, 0, 1);
    CGContextSetLineWidth(c, 2.0f);
    CGContextBeginPath(c);
    // Dash i runs along the ecliptic from longitude 7.5 i to 7.5 i + 3.75 degrees. A dash whose
    // start is visible is drawn whole; each is its own sub-path, all stroked together.
    for (int i = 0; i < kDashes; ++i) {
        double h1 = 0.0;
        double d1 = 0.0;
        eclipticPoint(hoursTimes360Over24(i * 0.5), h1, d1);
        SkyPoint start;
        if (!projectVisibleHoursDegrees(frame, xs1, h1, d1, start))
            continue;
        double h2 = 0.0;
        double d2 = 0.0;
        eclipticPoint(hoursTimes360Over24(i * 0.5 + 0.25), h2, d2);
        const CGPoint a = narrowed(start);
        const CGPoint b = narrowed(projectHoursDegrees(frame, xs1, h2, d2));
        CGContextMoveToPoint(c, a.x, a.y);
        CGContextAddLineToPoint(c, b.x, b.y);
    }
    CGContextStrokePath(c);
}

void QuartzView::equatorCurve(const SkyFrame& frame)
{
    CGContextRef c = frame.context;
    CGContextSetRGBStrokeColor(c, 0, 0.6f, 0, 1);
    CGContextSetLineWidth(c, 2.0f);
    CGContextBeginPath(c);
    // Dash j runs along declination 0 from 0.5 j hours for five minutes of right ascension.
    for (int j = 0; j < kDashes; ++j) {
        const double h1 = j * 0.5;
        SkyPoint start;
        if (!projectVisibleHoursDegrees(frame, xs1, h1, 0.0, start))
            continue;
        const CGPoint a = narrowed(start);
        const CGPoint b = narrowed(projectHoursDegrees(frame, xs1, h1 + 0.08333333333333333, 0.0));
        CGContextMoveToPoint(c, a.x, a.y);
        CGContextAddLineToPoint(c, b.x, b.y);
    }
    CGContextStrokePath(c);
}

} // namespace dazed
