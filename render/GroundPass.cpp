#include "render/SkyLayerGeometry.h"
#include "render/SkyLayerPasses.h"

#include <algorithm>
#include <cmath>

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
    // Where the line crosses the view it is bounded by two rows (or columns, for a steep line):
    // beyond them on the ground's side the view is all ground, one rectangle that the rasteriser
    // fills fastest. Between them, one straight stroke along the horizon with its near edge on the
    // horizon and a point's overlap with the rectangle beyond: the only fill the drawing calls
    // offer for a region bounded by a slanted line.
    const double w = frame.size.width;
    const double h = frame.size.height;
    const bool level = std::abs(horizon.b) >= std::abs(horizon.a);
    double near = 0.0, far = 0.0; // the span of the line across the view, rows or columns
    if (level) {
        const double y0 = -horizon.c / horizon.b;
        const double y1 = -(horizon.a * w + horizon.c) / horizon.b;
        near = std::min(y0, y1);
        far = std::max(y0, y1);
    } else {
        const double x0 = -horizon.c / horizon.a;
        const double x1 = -(horizon.b * h + horizon.c) / horizon.a;
        near = std::min(x0, x1);
        far = std::max(x0, x1);
    }
    const double towards = level ? line->groundward.y : line->groundward.x;
    CGContextSetRGBFillColor(c, kGroundColour.red, kGroundColour.green, kGroundColour.blue,
                             kGroundColour.alpha);
    const double extent = level ? h : w;
    if (towards > 0.0 && far < extent) {
        const float from = toPoint(far);
        CGContextFillRect(c, level ? CGRectMake(0, from, toPoint(w), toPoint(h - far))
                                   : CGRectMake(from, 0, toPoint(w - far), toPoint(h)));
    } else if (towards < 0.0 && near > 0.0) {
        CGContextFillRect(c, level ? CGRectMake(0, 0, toPoint(w), toPoint(near))
                                   : CGRectMake(0, 0, toPoint(near), toPoint(h)));
    }
    // Every ground point between the two rows lies within (far - near) of the line.
    const double reach = std::min(far - near, std::hypot(w, h)) + 1.0;
    const double dx = line->groundward.x * reach;
    const double dy = line->groundward.y * reach;
    const CGPoint ends[2] = {{toPoint(line->from.x + dx), toPoint(line->from.y + dy)},
                             {toPoint(line->to.x + dx), toPoint(line->to.y + dy)}};
    CGContextSetRGBStrokeColor(c, kGroundColour.red, kGroundColour.green, kGroundColour.blue,
                               kGroundColour.alpha);
    CGContextSetLineWidth(c, toPoint(2.0 * reach));
    CGContextStrokeLineSegments(c, ends, 2);
}

} // namespace dazed
