#include "render/SkyLayerGeometry.h"
#include "render/SkyLayerPasses.h"

#include <algorithm>
#include <array>
#include <limits>

namespace dazed {

void groundPass(const SkyFrame& frame)
{
    if (!frame.sky)
        return;
    CGContextRef c = frame.context;
    const ScreenHalfPlane horizon = horizonOnView(frame, frame.sky->horizon.zenith);
    switch (groundCover(frame, horizon)) {
    case GroundCover::None:
        return;
    case GroundCover::All:
        CGContextSetRGBFillColor(c, kGroundColour.red, kGroundColour.green, kGroundColour.blue,
                                 kGroundColour.alpha);
        CGContextFillRect(c, CGRectMake(0, 0, frame.size.width, frame.size.height));
        return;
    case GroundCover::Part:
        break;
    }
    const auto line = horizonAcrossView(frame, horizon);
    if (!line)
        return;
    // One straight stroke whose near edge is the horizon and which reaches past the view on every
    // other side: its ends and its far edge lie outside the view, so the only edge the rasteriser
    // meets in the view is the horizon itself. (An edge costs in proportion to the rows it
    // crosses, far more than the rows of plain ground: a rectangle beneath the horizon's rows
    // and a narrower stroke, the earlier way, put up to three edges in the view.) The stroke's
    // extent is measured from the corners: how far along the line and how deep into the ground
    // they reach.
    const SkyPoint g = line->groundward;
    const SkyPoint along{-g.y, g.x};
    const SkyPoint o = line->from;
    const double w = frame.size.width;
    const double h = frame.size.height;
    const std::array<SkyPoint, 4> corners{{{0, 0}, {w, 0}, {0, h}, {w, h}}};
    double first = std::numeric_limits<double>::infinity();
    double last = -first;
    double deepest = 0.0;
    for (const SkyPoint& corner : corners) {
        const double t = (corner.x - o.x) * along.x + (corner.y - o.y) * along.y;
        first = std::min(first, t);
        last = std::max(last, t);
        deepest = std::max(deepest, (corner.x - o.x) * g.x + (corner.y - o.y) * g.y);
    }
    constexpr double kMargin = 2.0; // points past the view, for rounding
    const double depth = deepest + kMargin;
    first -= kMargin;
    last += kMargin;
    const double half = depth * 0.5;
    const CGPoint ends[2] = {
        {toPoint(o.x + along.x * first + g.x * half), toPoint(o.y + along.y * first + g.y * half)},
        {toPoint(o.x + along.x * last + g.x * half), toPoint(o.y + along.y * last + g.y * half)}};
    CGContextSetRGBStrokeColor(c, kGroundColour.red, kGroundColour.green, kGroundColour.blue,
                               kGroundColour.alpha);
    CGContextSetLineWidth(c, toPoint(depth));
    CGContextStrokeLineSegments(c, ends, 2);
}

} // namespace dazed
