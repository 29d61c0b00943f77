#include "catalog/EclipticToEquatorial.h"
#include "render/AtlasChart.h"
#include "render/AtlasText.h"
#include "render/ParallelCurve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace dazed {

namespace {

// Parallels are drawn within this distance of a chart's centre: past every chart area's corner
// (at most 70 degrees out at the smallest scale).
const double kCurveCosLimit = std::cos(degreesTimesPiOver180(78.0));
// How closely the Bezier pieces follow a parallel, in millimetres on the page.
constexpr double kCurveToleranceMm = 0.002;
// The ecliptic's dashes.
constexpr double kDashMm = 2.0;
constexpr double kGapMm = 1.5;

UnitVector cross(const UnitVector& a, const UnitVector& b)
{
    const UnitVector v{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const double length = std::sqrt(dot(v, v));
    return {v.x / length, v.y / length, v.z / length};
}

double declinationOf(const AtlasChart& chart, PlanePoint p)
{
    return std::asin(std::clamp(inverseGnomonic(chart.basis, p).z, -1.0, 1.0));
}

// Cuts a meridian's segment (of right ascension `ra`, radians) to declinations within +-limit:
// along a meridian's image the declination changes monotonically, and the point at the limit is
// the image of (ra, limit). False when nothing is left.
bool trimToDeclination(const AtlasChart& chart, double ra, double limit, PlanePoint& a, PlanePoint& b)
{
    for (const double sign : {1.0, -1.0}) {
        const bool aBeyond = sign * declinationOf(chart, a) > limit;
        const bool bBeyond = sign * declinationOf(chart, b) > limit;
        if (aBeyond && bBeyond)
            return false;
        if (!aBeyond && !bBeyond)
            continue;
        const auto edge = gnomonic(chart.basis, unitVector(ra, sign * limit));
        if (!edge)
            return false;
        (aBeyond ? a : b) = *edge;
    }
    return true;
}

bool onFrameEdge(const AtlasChart& chart, PlanePoint p)
{
    const double slack = 1e-9;
    return std::fabs(std::fabs(p.xi) - chart.extent.halfWidth) < slack ||
           std::fabs(std::fabs(p.eta) - chart.extent.halfHeight) < slack;
}

std::string gridHoursText(double degrees)
{
    const long minutes = std::lround(degrees * 4.0); // 1 degree is 4 minutes of time
    char text[32];
    if (minutes % 60 == 0)
        std::snprintf(text, sizeof text, "%ldh", minutes / 60);
    else
        std::snprintf(text, sizeof text, "%ldh%02ldm", minutes / 60, minutes % 60);
    return text;
}

std::string gridDegreesText(double degrees)
{
    char text[32];
    if (std::fabs(degrees - std::round(degrees)) < 1e-9)
        std::snprintf(text, sizeof text, "%+.0f\xA1", degrees);
    else
        std::snprintf(text, sizeof text, "%+.1f\xA1", degrees);
    return text;
}

// A grid label a little inside the chart area from `p`, centred on it.
void gridLabel(CGContextRef c, const AtlasChart& chart, PlanePoint p, const std::string& text)
{
    PagePoint at = chart.toPage(p);
    const PagePoint middle = chart.toPage({0.0, 0.0});
    const double inset = 2.0 * kPointsPerMm;
    // Towards the middle of the page from whichever edge the point lies on.
    if (std::fabs(std::fabs(p.eta) - chart.extent.halfHeight) < 1e-9)
        at.y += at.y > middle.y ? -inset : inset + 4.0;
    else
        at.x += at.x > middle.x ? -inset - 6.0 : inset + 6.0;
    pageText(c, chart.palette.constellationNames, 5.5f, at.x, at.y, text, TextAnchor::Centre);
}

// Strokes the pieces of a parallel whose control polygons reach the chart area (a piece lies in
// the hull of its four points), each run of them as one sub-path; the margins cover what overhangs.
void strokeNearPieces(CGContextRef c, const AtlasChart& chart, const CurvePath& path)
{
    const double w = chart.extent.halfWidth;
    const double h = chart.extent.halfHeight;
    const auto reaches = [&](PlanePoint a, const CubicPiece& piece) {
        const PlanePoint points[4] = {a, piece.control1, piece.control2, piece.end};
        double minXi = points[0].xi, maxXi = points[0].xi, minEta = points[0].eta, maxEta = points[0].eta;
        for (const PlanePoint& p : points) {
            minXi = std::min(minXi, p.xi);
            maxXi = std::max(maxXi, p.xi);
            minEta = std::min(minEta, p.eta);
            maxEta = std::max(maxEta, p.eta);
        }
        return maxXi >= -w && minXi <= w && maxEta >= -h && minEta <= h;
    };
    CGContextBeginPath(c);
    PlanePoint from = path.start;
    bool open = false;
    for (const CubicPiece& piece : path.pieces) {
        if (reaches(from, piece)) {
            if (!open) {
                const PagePoint s = chart.toPage(from);
                CGContextMoveToPoint(c, static_cast<float>(s.x), static_cast<float>(s.y));
                open = true;
            }
            const PagePoint c1 = chart.toPage(piece.control1);
            const PagePoint c2 = chart.toPage(piece.control2);
            const PagePoint e = chart.toPage(piece.end);
            CGContextAddCurveToPoint(c, static_cast<float>(c1.x), static_cast<float>(c1.y),
                                     static_cast<float>(c2.x), static_cast<float>(c2.y),
                                     static_cast<float>(e.x), static_cast<float>(e.y));
        } else {
            open = false;
        }
        from = piece.end;
    }
    CGContextStrokePath(c);
}

UnitVector eclipticPoint(double longitude)
{
    double ra = 0.0;
    double dec = 0.0;
    // The J2000 ecliptic, as the catalogue's positions are J2000.
    ecliptic_to_equatorial(2000.0, longitude, 0.0, &ra, &dec);
    return unitVector(degreesTimesPiOver180(ra), degreesTimesPiOver180(dec));
}

} // namespace

void atlasGridPass(CGContextRef c, const AtlasChart& chart)
{
    const double step = chart.settings.gridDegrees;
    const int meridians = static_cast<int>(std::ceil(360.0 / step - 1e-9));
    // Only every third hour circle runs on to the pole, where they would crowd.
    const double crowdLimit = degreesTimesPiOver180(90.0 - step);
    struct Label {
        PlanePoint at;
        std::string text;
    };
    std::vector<Label> labels;
    setStroke(c, chart.palette.grid);
    CGContextSetLineWidth(c, chart.palette.gridWidth);
    // Hour circles: straight lines through the pole's image.
    for (int k = 0; k < meridians; ++k) {
        const double degrees = k * step;
        const double r = degreesTimesPiOver180(degrees);
        const UnitVector normal{-std::sin(r), std::cos(r), 0.0};
        const UnitVector half{std::cos(r), std::sin(r), 0.0};
        PlanePoint a;
        PlanePoint b;
        if (!greatCircleSegment(chart, normal, &half, a, b))
            continue;
        if (k % 3 != 0 && !trimToDeclination(chart, r, crowdLimit, a, b))
            continue;
        strokeSegment(c, chart.toPage(a), chart.toPage(b));
        // Labelled where it meets the frame farthest from the pole.
        const bool aEdge = onFrameEdge(chart, a);
        const bool bEdge = onFrameEdge(chart, b);
        if (aEdge || bEdge) {
            const bool useA =
                aEdge && (!bEdge || std::fabs(declinationOf(chart, a)) < std::fabs(declinationOf(chart, b)));
            labels.push_back({useA ? a : b, gridHoursText(degrees)});
        }
    }
    // Parallels: conics, as Bezier pieces.
    const double tolerance = kCurveToleranceMm / chart.settings.radiusMm;
    const int parallels = static_cast<int>(std::ceil(90.0 / step - 1e-9));
    for (int k = 1 - parallels; k < parallels; ++k) {
        const double dec = k * step;
        if (k == 0)
            continue; // the equator is drawn on its own
        // Labelled where it crosses the page's own meridian, when that is on the chart.
        if (const auto on =
                gnomonic(chart.basis, unitVector(std::atan2(chart.basis.centre.y, chart.basis.centre.x),
                                                 degreesTimesPiOver180(dec)));
            on && chart.inside(*on) && std::fabs(on->eta) < chart.extent.halfHeight * 0.97)
            labels.push_back({*on, gridDegreesText(dec)});
        const auto paths = parallelCurve(chart.basis, degreesTimesPiOver180(dec), kCurveCosLimit, tolerance);
        for (const CurvePath& path : paths)
            strokeNearPieces(c, chart, path);
    }
    for (const Label& label : labels) {
        if (onFrameEdge(chart, label.at))
            gridLabel(c, chart, label.at, label.text);
        else {
            const PagePoint at = chart.toPage(label.at);
            pageText(c, chart.palette.constellationNames, 5.5f, at.x + 1.0 * kPointsPerMm,
                     at.y - 0.8 * kPointsPerMm, label.text);
        }
    }
}

void atlasReferencePass(CGContextRef c, const AtlasChart& chart)
{
    CGContextSetLineWidth(c, chart.palette.referenceWidth);
    PlanePoint a;
    PlanePoint b;
    // The equator, solid.
    setStroke(c, chart.palette.equator);
    if (greatCircleSegment(chart, {0.0, 0.0, 1.0}, nullptr, a, b))
        strokeSegment(c, chart.toPage(a), chart.toPage(b));
    // The ecliptic, dashed.
    setStroke(c, chart.palette.ecliptic);
    if (greatCircleSegment(chart, cross(eclipticPoint(0.0), eclipticPoint(90.0)), nullptr, a, b)) {
        const PagePoint pa = chart.toPage(a);
        const PagePoint pb = chart.toPage(b);
        const double length = std::hypot(pb.x - pa.x, pb.y - pa.y);
        const double dash = kDashMm * kPointsPerMm;
        const double period = (kDashMm + kGapMm) * kPointsPerMm;
        std::vector<CGPoint> points;
        for (double s = 0.0; s < length; s += period) {
            const double e = std::min(length, s + dash);
            points.push_back(
                narrowed({pa.x + (pb.x - pa.x) * s / length, pa.y + (pb.y - pa.y) * s / length}));
            points.push_back(
                narrowed({pa.x + (pb.x - pa.x) * e / length, pa.y + (pb.y - pa.y) * e / length}));
        }
        CGContextStrokeLineSegments(c, points.data(), points.size());
    }
}

} // namespace dazed
