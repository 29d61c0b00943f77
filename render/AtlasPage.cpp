#include "render/AtlasPage.h"

#include "catalog/Catalog.h"
#include "catalog/EclipticToEquatorial.h"
#include "render/AtlasText.h"
#include "render/CatalogueDirections.h"
#include "render/ParallelCurve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace dazed {

namespace {

// Parallels are drawn within this distance of a chart's centre: past every chart area's corner
// (at most 70 degrees out at the smallest scale).
const double kCurveCosLimit = std::cos(degreesTimesPiOver180(78.0));
// How closely the Bezier pieces follow a parallel, in millimetres on the page.
constexpr double kCurveToleranceMm = 0.002;
// Segments and lines end where they leave the chart area; ends behind this are not drawn.
const double kFrontCosLimit = std::cos(degreesTimesPiOver180(85.0));
constexpr double kDashMm = 2.0;
constexpr double kGapMm = 1.5;
constexpr double kCrossArmMm = 2.5;

CGPoint narrowed(PagePoint p)
{
    return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

// A chart's projection and chart area.
class Chart {
public:
    Chart(const AtlasSettings& chartSettings, const ChartPage& page)
        : settings(chartSettings)
        , basis(tangentBasis(hoursTimesPiOver12(page.raHours), degreesTimesPiOver180(page.decDegrees)))
        , extent(pageExtent(chartSettings.paper, chartSettings.radiusMm))
        , palette(atlasPalette(chartSettings.style))
    {
    }

    [[nodiscard]] PagePoint toPage(PlanePoint p) const
    {
        return pagePointOfPlane(settings.paper, settings.radiusMm, p);
    }
    [[nodiscard]] bool inside(PlanePoint p) const
    {
        return std::fabs(p.xi) <= extent.halfWidth && std::fabs(p.eta) <= extent.halfHeight;
    }
    // The image of a direction near enough the centre to have a finite one on the page.
    [[nodiscard]] std::optional<PlanePoint> image(const UnitVector& d) const
    {
        if (!(dot(basis.centre, d) > kFrontCosLimit))
            return std::nullopt;
        return gnomonic(basis, d);
    }

    // Cuts the line p(s) = a + s (b - a), s in [lo, hi], to the chart area (Liang and Barsky):
    // false when nothing of it is left.
    [[nodiscard]] bool clip(PlanePoint a, PlanePoint b, double& lo, double& hi) const
    {
        const double dx = b.xi - a.xi;
        const double dy = b.eta - a.eta;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {a.xi + extent.halfWidth, extent.halfWidth - a.xi, a.eta + extent.halfHeight,
                             extent.halfHeight - a.eta};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0.0) {
                if (q[i] < 0.0)
                    return false;
                continue;
            }
            const double r = q[i] / p[i];
            if (p[i] < 0.0)
                lo = std::max(lo, r);
            else
                hi = std::min(hi, r);
        }
        return lo < hi;
    }

    const AtlasSettings& settings;
    TangentBasis basis;
    PageExtent extent;
    AtlasPalette palette;
};

PlanePoint along(PlanePoint a, PlanePoint b, double s)
{
    return {a.xi + s * (b.xi - a.xi), a.eta + s * (b.eta - a.eta)};
}

// The part of a great circle (given by its plane's unit normal) on the chart area, as two points of
// the plane, optionally only where `half` . direction >= 0 (one meridian of the two halves of its
// great circle). False when the circle misses the chart area.
bool greatCircleSegment(const Chart& chart, const UnitVector& normal, const UnitVector* half,
                        PlanePoint& from, PlanePoint& to)
{
    // Points of the plane t + xi e + eta n on the circle satisfy A xi + B eta + C = 0.
    const double a = dot(normal, chart.basis.east);
    const double b = dot(normal, chart.basis.north);
    const double c = dot(normal, chart.basis.centre);
    const double norm2 = a * a + b * b;
    if (norm2 < 1e-18)
        return false; // the circle is the page's horizon
    const PlanePoint nearest{-c * a / norm2, -c * b / norm2};
    const double length = std::sqrt(norm2);
    // Far enough both ways to cross any chart area.
    const double reach = 4.0 * (chart.extent.halfWidth + chart.extent.halfHeight) + std::fabs(c) / length;
    const PlanePoint p0{nearest.xi + reach * b / length, nearest.eta - reach * a / length};
    const PlanePoint p1{nearest.xi - reach * b / length, nearest.eta + reach * a / length};
    double lo = 0.0;
    double hi = 1.0;
    if (half) {
        // half . (t + xi e + eta n) >= 0 along the line: linear in s.
        const auto value = [&](PlanePoint p) {
            return dot(*half, chart.basis.centre) + p.xi * dot(*half, chart.basis.east) +
                   p.eta * dot(*half, chart.basis.north);
        };
        const double v0 = value(p0);
        const double v1 = value(p1);
        if (v0 < 0.0 && v1 < 0.0)
            return false;
        if (v0 < 0.0)
            lo = v0 / (v0 - v1);
        else if (v1 < 0.0)
            hi = v0 / (v0 - v1);
    }
    if (!chart.clip(p0, p1, lo, hi))
        return false;
    from = along(p0, p1, lo);
    to = along(p0, p1, hi);
    return true;
}

void strokeSegment(CGContextRef c, PagePoint a, PagePoint b)
{
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, static_cast<float>(a.x), static_cast<float>(a.y));
    CGContextAddLineToPoint(c, static_cast<float>(b.x), static_cast<float>(b.y));
    CGContextStrokePath(c);
}

UnitVector cross(const UnitVector& a, const UnitVector& b)
{
    const UnitVector v{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const double length = std::sqrt(dot(v, v));
    return {v.x / length, v.y / length, v.z / length};
}

double declinationOf(const Chart& chart, PlanePoint p)
{
    return std::asin(std::clamp(inverseGnomonic(chart.basis, p).z, -1.0, 1.0));
}

// Cuts a meridian's segment (of right ascension `ra`, radians) to declinations within +-limit:
// along a meridian's image the declination changes monotonically, and the point at the limit is
// the image of (ra, limit). False when nothing is left.
bool trimToDeclination(const Chart& chart, double ra, double limit, PlanePoint& a, PlanePoint& b)
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

bool onFrameEdge(const Chart& chart, PlanePoint p)
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
void gridLabel(CGContextRef c, const Chart& chart, PlanePoint p, const std::string& text)
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
void strokeNearPieces(CGContextRef c, const Chart& chart, const CurvePath& path)
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

void gridPass(CGContextRef c, const Chart& chart)
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

UnitVector eclipticPoint(double longitude)
{
    double ra = 0.0;
    double dec = 0.0;
    // The J2000 ecliptic, as the catalogue's positions are J2000.
    ecliptic_to_equatorial(2000.0, longitude, 0.0, &ra, &dec);
    return unitVector(degreesTimesPiOver180(ra), degreesTimesPiOver180(dec));
}

void referencePass(CGContextRef c, const Chart& chart)
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

void figurePass(CGContextRef c, const Chart& chart)
{
    std::vector<CGPoint> points;
    for (int i = 0; i < kLineCount; ++i) {
        const float* r = linesrd + static_cast<std::ptrdiff_t>(i) * kLineStride;
        const auto a = chart.image(unitVector(r[0], r[1]));
        const auto b = chart.image(unitVector(r[2], r[3]));
        if (!a || !b)
            continue;
        double lo = 0.0;
        double hi = 1.0;
        if (!chart.clip(*a, *b, lo, hi))
            continue;
        points.push_back(narrowed(chart.toPage(along(*a, *b, lo))));
        points.push_back(narrowed(chart.toPage(along(*a, *b, hi))));
    }
    setStroke(c, chart.palette.figures);
    CGContextSetLineWidth(c, chart.palette.figureWidth);
    if (!points.empty())
        CGContextStrokeLineSegments(c, points.data(), points.size());
}

struct PlacedStar {
    PagePoint at;
    double diameterPt{0.0};
};

std::vector<PlacedStar> placeStars(const Chart& chart)
{
    std::vector<PlacedStar> stars;
    const auto units = catalogueDirections().stars;
    for (int i = 0; i < kStarCount; ++i) {
        const float* star = starrd + static_cast<std::ptrdiff_t>(i) * kStarStride;
        if (!(double{star[2]} <= chart.settings.limitMagnitude))
            continue;
        const auto p = chart.image(units[static_cast<std::size_t>(i)]);
        if (!p || !chart.inside(*p))
            continue;
        stars.push_back({chart.toPage(*p), starDiameterMm(star[2]) * kPointsPerMm});
    }
    return stars;
}

void fillDisc(CGContextRef c, PagePoint at, double diameter)
{
    CGContextFillEllipseInRect(c, CGRectMake(static_cast<float>(at.x - diameter / 2.0),
                                             static_cast<float>(at.y - diameter / 2.0),
                                             static_cast<float>(diameter), static_cast<float>(diameter)));
}

void starPass(CGContextRef c, const Chart& chart, const std::vector<PlacedStar>& stars)
{
    // A rim of paper around each disc keeps lines from running into it.
    setFill(c, chart.palette.paper);
    for (const PlacedStar& s : stars)
        fillDisc(c, s.at, s.diameterPt + 0.5 * kPointsPerMm);
    setFill(c, chart.palette.stars);
    for (const PlacedStar& s : stars)
        fillDisc(c, s.at, s.diameterPt);
}

void namePass(CGContextRef c, const Chart& chart)
{
    const auto& directions = catalogueDirections();
    for (int i = 0; i < kConstellationCount; ++i) {
        const char* name = nameConst[i * 2 + 1];
        if (std::strspn(name, " ") == std::strlen(name))
            continue; // the table's blank row
        const auto p = chart.image(directions.labels[static_cast<std::size_t>(i)].unit);
        if (!p || !chart.inside(*p))
            continue;
        const PagePoint at = chart.toPage(*p);
        pageText(c, chart.palette.constellationNames, 7.5f, at.x, at.y, name, TextAnchor::Centre);
    }
    for (int i = 0; i < kStarNameCount; ++i) {
        const float* row = starNamesP + static_cast<std::ptrdiff_t>(i) * kStarNameStride;
        if (!(double{row[2]} <= chart.settings.limitMagnitude))
            continue;
        const auto p = chart.image(directions.starNames[static_cast<std::size_t>(i)].unit);
        if (!p || !chart.inside(*p))
            continue;
        const PagePoint at = chart.toPage(*p);
        const double offset = (starDiameterMm(row[2]) / 2.0 + 0.8) * kPointsPerMm;
        pageText(c, chart.palette.starNames, 6.0f, at.x + offset, at.y + 2.0, starNames[i]);
    }
}

// Paper over everything outside the chart area, then its border.
void marginPass(CGContextRef c, const Chart& chart)
{
    const PaperSize paper = paperSize(chart.settings.paper);
    const ChartArea area = chartArea(chart.settings.paper);
    const double w = paper.widthMm * kPointsPerMm;
    const double h = paper.heightMm * kPointsPerMm;
    const PagePoint topLeft = pagePointOfMm(chart.settings.paper, -area.halfWidthMm, area.halfHeightMm);
    const PagePoint bottomRight = pagePointOfMm(chart.settings.paper, area.halfWidthMm, -area.halfHeightMm);
    setFill(c, chart.palette.paper);
    const auto rect = [&](double x0, double y0, double x1, double y1) {
        CGContextFillRect(c, CGRectMake(static_cast<float>(x0), static_cast<float>(y0),
                                        static_cast<float>(x1 - x0), static_cast<float>(y1 - y0)));
    };
    rect(0, 0, w, topLeft.y);
    rect(0, bottomRight.y, w, h);
    rect(0, topLeft.y, topLeft.x, bottomRight.y);
    rect(bottomRight.x, topLeft.y, w, bottomRight.y);
    setStroke(c, chart.palette.text);
    CGContextSetLineWidth(c, 0.6f);
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, static_cast<float>(topLeft.x), static_cast<float>(topLeft.y));
    CGContextAddLineToPoint(c, static_cast<float>(bottomRight.x), static_cast<float>(topLeft.y));
    CGContextAddLineToPoint(c, static_cast<float>(bottomRight.x), static_cast<float>(bottomRight.y));
    CGContextAddLineToPoint(c, static_cast<float>(topLeft.x), static_cast<float>(bottomRight.y));
    CGContextAddLineToPoint(c, static_cast<float>(topLeft.x), static_cast<float>(topLeft.y));
    CGContextStrokePath(c);
}

void crossPass(CGContextRef c, const Chart& chart)
{
    const ReferenceCrosses r = referenceCrosses(chart.settings.paper);
    setStroke(c, chart.palette.text);
    CGContextSetLineWidth(c, 0.3f);
    const double at[5][2] = {{0, 0}, {-r.xMm, r.yMm}, {r.xMm, r.yMm}, {-r.xMm, -r.yMm}, {r.xMm, -r.yMm}};
    std::vector<CGPoint> points;
    for (const auto& p : at) {
        points.push_back(narrowed(pagePointOfMm(chart.settings.paper, p[0] - kCrossArmMm, p[1])));
        points.push_back(narrowed(pagePointOfMm(chart.settings.paper, p[0] + kCrossArmMm, p[1])));
        points.push_back(narrowed(pagePointOfMm(chart.settings.paper, p[0], p[1] - kCrossArmMm)));
        points.push_back(narrowed(pagePointOfMm(chart.settings.paper, p[0], p[1] + kCrossArmMm)));
    }
    CGContextStrokeLineSegments(c, points.data(), points.size());
}

std::string number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The header, the neighbours' numbers, the magnitude key and the footer.
void marginTextPass(CGContextRef c, const Chart& chart, const ChartPage& page)
{
    const Paper paper = chart.settings.paper;
    const PaperSize size = paperSize(paper);
    const ChartArea area = chartArea(paper);
    const Rgb ink = chart.palette.text;
    const double mm = kPointsPerMm;
    const double right = size.widthMm * mm - kSideMarginMm * mm;
    const double left = kSideMarginMm * mm;
    const double headerY = 10.0 * mm;

    if (page.number > 0)
        pageText(c, ink, 13.0f, left, headerY,
                 "Chart " + std::to_string(page.number) + " of " + std::to_string(page.count));
    else
        pageText(c, ink, 13.0f, left, headerY, "Gnomonic chart");
    const std::string centre = "RA " + hoursText(page.raHours) + "   Dec " + degreesText(page.decDegrees) +
                               "   R = " + number(chart.settings.radiusMm, 2) + " mm";
    pageText(c, ink, 10.0f, right, headerY, centre, TextAnchor::Right);

    // The neighbours, each at the edge it lies beyond.
    const PagePoint middle = pagePointOfMm(paper, 0, 0);
    const double top = middle.y - area.halfHeightMm * mm;
    const double bottom = middle.y + area.halfHeightMm * mm;
    if (page.neighbours.top)
        pageText(c, ink, 9.0f, middle.x, top - 2.0 * mm, "^ " + std::to_string(page.neighbours.top),
                 TextAnchor::Centre);
    if (page.neighbours.bottom)
        pageText(c, ink, 9.0f, middle.x, bottom + 5.0 * mm, "v " + std::to_string(page.neighbours.bottom),
                 TextAnchor::Centre);
    if (page.neighbours.left) {
        pageText(c, ink, 9.0f, left / 2.0, middle.y - 2.0 * mm, "<", TextAnchor::Centre);
        pageText(c, ink, 9.0f, left / 2.0, middle.y + 2.0 * mm, std::to_string(page.neighbours.left),
                 TextAnchor::Centre);
    }
    if (page.neighbours.right) {
        const double x = size.widthMm * mm - left / 2.0;
        pageText(c, ink, 9.0f, x, middle.y - 2.0 * mm, ">", TextAnchor::Centre);
        pageText(c, ink, 9.0f, x, middle.y + 2.0 * mm, std::to_string(page.neighbours.right),
                 TextAnchor::Centre);
    }

    // The magnitude key: a disc for each whole magnitude the chart shows.
    const double keyY = size.heightMm * mm - 8.0 * mm;
    double x = left;
    pageText(c, ink, 8.0f, x, keyY + 1.0 * mm, "mag");
    x += 9.0 * mm;
    for (int m = -1; m <= 5 && m <= chart.settings.limitMagnitude; ++m) {
        const double d = starDiameterMm(m) * mm;
        setFill(c, chart.palette.stars);
        fillDisc(c, {x + d / 2.0, keyY}, d);
        pageText(c, ink, 8.0f, x + d + 1.0 * mm, keyY + 1.0 * mm, std::to_string(m));
        x += d + 7.0 * mm;
    }
    const ReferenceCrosses r = referenceCrosses(paper);
    const std::string footer = "gnomonic, J2000   grid " + number(chart.settings.gridDegrees, 0) +
                               "\xA1   crosses at 0 and \xB1" + number(r.xMm, 0) + ", \xB1" +
                               number(r.yMm, 0) + " mm";
    pageText(c, ink, 8.0f, right, keyY + 1.0 * mm, footer, TextAnchor::Right);
}

} // namespace

ReferenceCrosses referenceCrosses(Paper paper)
{
    const ChartArea area = chartArea(paper);
    return {std::floor((area.halfWidthMm - 5.0) / 10.0) * 10.0,
            std::floor((area.halfHeightMm - 5.0) / 10.0) * 10.0};
}

double starDiameterMm(double magnitude)
{
    return 0.45 + 0.45 * std::max(0.0, 5.0 - magnitude);
}

std::string hoursText(double hours)
{
    double h = std::fmod(hours, 24.0);
    if (h < 0.0)
        h += 24.0;
    long minutes = std::lround(h * 60.0) % (24 * 60);
    char text[32];
    std::snprintf(text, sizeof text, "%ldh %02ldm", minutes / 60, minutes % 60);
    return text;
}

std::string degreesText(double degrees)
{
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f\xA1", degrees);
    return text;
}

void drawChartPage(CGContextRef context, const AtlasSettings& settings, const ChartPage& page)
{
    const Chart chart(settings, page);
    const PaperSize paper = paperSize(settings.paper);
    setFill(context, chart.palette.paper);
    CGContextFillRect(context, CGRectMake(0, 0, static_cast<float>(paper.widthMm * kPointsPerMm),
                                          static_cast<float>(paper.heightMm * kPointsPerMm)));
    gridPass(context, chart);
    referencePass(context, chart);
    figurePass(context, chart);
    starPass(context, chart, placeStars(chart));
    namePass(context, chart);
    marginPass(context, chart);
    crossPass(context, chart);
    marginTextPass(context, chart, page);
}

} // namespace dazed
