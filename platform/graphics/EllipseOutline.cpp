#include "platform/graphics/EllipseOutline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>

namespace dazed {

namespace {
constexpr double kPi = std::numbers::pi;

// Cairo's fixed point rounds to the nearest 1/256, ties to even.
std::int32_t toFixed(double v)
{
    return static_cast<std::int32_t>(std::nearbyint(v * 256.0));
}

double toDouble(std::int32_t fixed)
{
    return fixed / 256.0;
}

// How far a Bézier arc of `angle` radians strays from the unit circle.
double arcError(double angle)
{
    return 2.0 / 27.0 * std::pow(std::sin(angle / 4), 6) / std::pow(std::cos(angle / 4), 2);
}

// The widest arc of the unit circle one Bézier curve may span within `tolerance`: pi over the
// smallest whole number that is close enough, read from a table of the errors for pi/1 to pi/11
// and worked out beyond it. The table's figures are Cairo's own, so that the choice falls the same
// way at its edges.
double widestArc(double tolerance)
{
    struct Entry {
        double angle;
        double error;
    };
    static constexpr std::array<Entry, 11> table{{
        {kPi / 1.0, 0.0185185185185185036127},
        {kPi / 2.0, 0.000272567143730179811158},
        {kPi / 3.0, 2.38647043651461047433e-05},
        {kPi / 4.0, 4.2455377443222443279e-06},
        {kPi / 5.0, 1.11281001494389081528e-06},
        {kPi / 6.0, 3.72662000942734705475e-07},
        {kPi / 7.0, 1.47783685574284411325e-07},
        {kPi / 8.0, 6.63240432022601149057e-08},
        {kPi / 9.0, 3.2715520137536980553e-08},
        {kPi / 10.0, 1.73863223499021216974e-08},
        {kPi / 11.0, 9.81410988043554039085e-09},
    }};
    for (const Entry& e : table)
        if (e.error < tolerance)
            return e.angle;
    // Past the table the search starts at pi/13, as Cairo's does.
    for (int i = static_cast<int>(table.size()) + 2;; ++i) {
        const double angle = kPi / i;
        if (!(arcError(angle) > tolerance) || i > 1 << 20)
            return angle;
    }
}

// The longest axis of the unit circle after scaling by (a, d): Cairo reckons the arc's error in
// the units of the transformation's major axis.
double majorAxis(double a, double d)
{
    // Within a 1/256 of a unit determinant the transformation counts as not scaling at all.
    const double det = a * d - 0.0 * 0.0;
    if (std::fabs(det * det - 1.0) < 1.0 / 256.0)
        return 1.0;
    const double i = a * a;
    const double j = d * d;
    return std::sqrt(0.5 * (i + j) + std::hypot(0.5 * (i - j), 0.0));
}

struct Knots {
    FixedPoint a;
    FixedPoint b;
    FixedPoint c;
    FixedPoint d;
};

FixedPoint midway(FixedPoint p, FixedPoint q)
{
    return {p.x + ((q.x - p.x) >> 1), p.y + ((q.y - p.y) >> 1)};
}

// The square of the farthest a curve's inner control points lie from the chord between its ends.
double chordErrorSquared(const Knots& k)
{
    double bdx = toDouble(k.b.x - k.a.x);
    double bdy = toDouble(k.b.y - k.a.y);
    double cdx = toDouble(k.c.x - k.a.x);
    double cdy = toDouble(k.c.y - k.a.y);
    if (k.a != k.d) {
        const double dx = toDouble(k.d.x - k.a.x);
        const double dy = toDouble(k.d.y - k.a.y);
        const double v = dx * dx + dy * dy;
        const auto towardChord = [&](double& px, double& py) {
            const double u = px * dx + py * dy;
            if (u <= 0) {
                return;
            }
            if (u >= v) {
                px -= dx;
                py -= dy;
            } else {
                px -= u / v * dx;
                py -= u / v * dy;
            }
        };
        towardChord(bdx, bdy);
        towardChord(cdx, cdy);
    }
    return std::max(bdx * bdx + bdy * bdy, cdx * cdx + cdy * cdy);
}

// Halves the curve until each piece is flat within the tolerance, adding each piece's start.
void flatten(Knots s, double toleranceSquared, std::vector<FixedPoint>& out, int depth = 0)
{
    // Coordinates that halve to nothing settle within 32 halvings; the depth limit only guards
    // against a curve that is never flat enough.
    if (depth > 40 || chordErrorSquared(s) < toleranceSquared) {
        if (out.back() != s.a)
            out.push_back(s.a);
        return;
    }
    const FixedPoint ab = midway(s.a, s.b);
    const FixedPoint bc = midway(s.b, s.c);
    const FixedPoint cd = midway(s.c, s.d);
    const FixedPoint abbc = midway(ab, bc);
    const FixedPoint bccd = midway(bc, cd);
    const FixedPoint middle = midway(abbc, bccd);
    flatten({s.a, ab, abbc, middle}, toleranceSquared, out, depth + 1);
    flatten({middle, bccd, cd, s.d}, toleranceSquared, out, depth + 1);
}

// Flattened curves remembered per thread by the shape of their control points. A chart's discs
// come in a few sizes, and the curves of one size differ only in where rounding put their points
// (a unit either way), so a few hundred shapes recur frame after frame. Halving a curve is
// unchanged by moving it a whole number of fixed units, so the points are kept relative to the
// curve's start.
class FlatteningMemo {
public:
    // Appends to `out` (whose last point is the curve's start) what flatten() would.
    void append(const Knots& k, double toleranceSquared, std::vector<FixedPoint>& out)
    {
        const FixedPoint b{k.b.x - k.a.x, k.b.y - k.a.y};
        const FixedPoint c{k.c.x - k.a.x, k.c.y - k.a.y};
        const FixedPoint d{k.d.x - k.a.x, k.d.y - k.a.y};
        const auto mix = [](std::uint32_t h, std::int32_t v) {
            return (h ^ static_cast<std::uint32_t>(v)) * 0x01000193u;
        };
        std::uint32_t hash = 0x811c9dc5u;
        for (std::int32_t v : {b.x, b.y, c.x, c.y, d.x, d.y})
            hash = mix(hash, v);
        // Mixed down so that the slot depends on every bit: the shapes differ in their lowest.
        hash ^= hash >> 15;
        hash *= 0x2c1b3c6du;
        hash ^= hash >> 12;
        hash *= 0x297a2d39u;
        hash ^= hash >> 15;
        Entry& e = m_entries[hash % m_entries.size()];
        if (!(e.count > 0 && e.b == b && e.c == c && e.d == d && e.toleranceSquared == toleranceSquared)) {
            const std::size_t start = out.size();
            flatten(k, toleranceSquared, out);
            const std::size_t added = out.size() - start;
            if (added == 0 || added > e.points.size())
                return;
            e = Entry{b, c, d, toleranceSquared, static_cast<std::uint8_t>(added), {}};
            for (std::size_t i = 0; i < added; ++i)
                e.points[i] = {out[start + i].x - k.a.x, out[start + i].y - k.a.y};
            return;
        }
        for (std::size_t i = 0; i < e.count; ++i)
            out.push_back({e.points[i].x + k.a.x, e.points[i].y + k.a.y});
    }

private:
    struct Entry {
        FixedPoint b;
        FixedPoint c;
        FixedPoint d;
        double toleranceSquared{0.0};
        std::uint8_t count{0}; // 0 while unused
        std::array<FixedPoint, 24> points;
    };
    std::array<Entry, 512> m_entries{};
};

thread_local FlatteningMemo flatteningMemo;

struct UnitPoint {
    double x;
    double y;
};

struct OutlineBuilder {
    const DeviceMapping& m;
    double halfWidth;
    double halfHeight;
    double centreX;
    double centreY;
    double toleranceSquared;
    std::vector<FixedPoint>& out;

    // A point of the unit circle's user space, through the ellipse's matrix and the surface's.
    // Each product and sum is taken in the order Cairo takes it: the terms multiplied by zero
    // are kept, since adding them can change the sign of a zero.
    FixedPoint device(double ux, double uy) const
    {
        const double x = (halfWidth * ux + 0.0 * uy) + centreX;
        const double y = (0.0 * ux + halfHeight * uy) + centreY;
        return {toFixed((m.sx * x + 0.0 * y) + m.dx), toFixed((0.0 * x + m.sy * y) + m.dy)};
    }

    void lineTo(FixedPoint p) { out.push_back(p); }

    void curveTo(FixedPoint b, FixedPoint c, FixedPoint d)
    {
        const FixedPoint a = out.back();
        // A curve without a tangent at one of its ends is a straight line to its end.
        if ((a == b && c == d) || (b == c && c == d)) {
            lineTo(d);
            return;
        }
        flatteningMemo.append({a, b, c, d}, toleranceSquared, out);
        out.push_back(d);
    }

    // Each half turn of the unit circle: the line to its start, then each curve's two control
    // points and end.
    void halfTurns(std::span<const UnitPoint> points)
    {
        const std::size_t perHalf = points.size() / 2;
        for (std::size_t half = 0; half < 2; ++half) {
            const std::span<const UnitPoint> p = points.subspan(half * perHalf, perHalf);
            lineTo(device(p[0].x, p[0].y));
            for (std::size_t i = 1; i + 2 < p.size(); i += 3)
                curveTo(device(p[i].x, p[i].y), device(p[i + 1].x, p[i + 1].y),
                        device(p[i + 2].x, p[i + 2].y));
        }
    }
};

// One Bézier curve from angle A to angle B of the unit circle: its control points and end.
void appendArcSegment(double angleA, double angleB, std::vector<UnitPoint>& out)
{
    const double sinA = std::sin(angleA);
    const double cosA = std::cos(angleA);
    const double sinB = std::sin(angleB);
    const double cosB = std::cos(angleB);
    const double h = 4.0 / 3.0 * std::tan((angleB - angleA) / 4.0);
    out.push_back({0.0 + cosA - h * sinA, 0.0 + sinA + h * cosA});
    out.push_back({0.0 + cosB + h * sinB, 0.0 + sinB - h * cosB});
    out.push_back({0.0 + cosB, 0.0 + sinB});
}

// The arc from angleMin to angleMax (at most pi) in `segments` equal curves, the angle stepped
// as the arc code steps it.
void appendArc(double angleMin, double angleMax, int segments, std::vector<UnitPoint>& out)
{
    const double step = (angleMax - angleMin) / segments;
    out.push_back({0.0 + std::cos(angleMin), 0.0 + std::sin(angleMin)});
    for (int i = 0; i < segments - 1; i++, angleMin += step)
        appendArcSegment(angleMin, angleMin + step, out);
    appendArcSegment(angleMin, angleMax, out);
}

// The unit circle's points for `segments` curves a half turn, both halves.
std::vector<UnitPoint> unitCircle(int segments)
{
    const double fullTurn = 2.0 * kPi;
    const double halfTurn = 0.0 + (fullTurn - 0.0) / 2.0;
    std::vector<UnitPoint> points;
    appendArc(0.0, halfTurn, segments, points);
    appendArc(halfTurn, fullTurn, segments, points);
    return points;
}

// The same, worked out once for the counts small ellipses need: the trigonometry is most of the
// cost of an outline otherwise.
constexpr int kTabledSegments = 16;
const std::vector<UnitPoint>& tabledUnitCircle(int segments)
{
    static const std::array<std::vector<UnitPoint>, kTabledSegments + 1> tables = [] {
        std::array<std::vector<UnitPoint>, kTabledSegments + 1> t;
        for (int n = 1; n <= kTabledSegments; ++n)
            t[static_cast<std::size_t>(n)] = unitCircle(n);
        return t;
    }();
    return tables[static_cast<std::size_t>(segments)];
}
} // namespace

void ellipseOutline(CGRect rect, const DeviceMapping& mapping, double tolerance,
                    std::vector<FixedPoint>& outline)
{
    outline.clear();
    const double halfWidth = rect.size.width / 2.0;
    const double halfHeight = rect.size.height / 2.0;
    // The ellipse's matrix: the context's translation, then to the centre, then the half sizes.
    const double centreX = (double{rect.origin.x} + rect.size.width / 2.0) + mapping.tx;
    const double centreY = (double{rect.origin.y} + rect.size.height / 2.0) + mapping.ty;
    OutlineBuilder builder{mapping, halfWidth, halfHeight, centreX, centreY, tolerance * tolerance, outline};
    // The arc starts with a line to its first point, which opens the path; a full turn is drawn
    // as two half turns of as many equal curves as the tolerance needs.
    builder.lineTo(builder.device(0.0 + 1.0 * std::cos(0.0), 0.0 + 1.0 * std::sin(0.0)));
    const double widest = widestArc(tolerance / majorAxis(halfWidth, halfHeight));
    const int segments = static_cast<int>(std::ceil(std::fabs(kPi) / widest));
    if (segments >= 1 && segments <= kTabledSegments)
        builder.halfTurns(tabledUnitCircle(segments));
    else
        builder.halfTurns(unitCircle(std::max(segments, 1)));
    // Filling closes the path.
    outline.push_back(outline.front());
}

} // namespace dazed
