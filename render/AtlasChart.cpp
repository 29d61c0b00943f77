#include "render/AtlasChart.h"

#include <algorithm>

namespace dazed {

bool AtlasChart::clip(PlanePoint a, PlanePoint b, double& lo, double& hi) const
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

CGPoint narrowed(PagePoint p)
{
    return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

PlanePoint along(PlanePoint a, PlanePoint b, double s)
{
    return {a.xi + s * (b.xi - a.xi), a.eta + s * (b.eta - a.eta)};
}

bool greatCircleSegment(const AtlasChart& chart, const UnitVector& normal, const UnitVector* half,
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

void fillDisc(CGContextRef c, PagePoint at, double diameter)
{
    CGContextFillEllipseInRect(c, CGRectMake(static_cast<float>(at.x - diameter / 2.0),
                                             static_cast<float>(at.y - diameter / 2.0),
                                             static_cast<float>(diameter), static_cast<float>(diameter)));
}

} // namespace dazed
