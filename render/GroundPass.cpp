#include "render/SkyLayerGeometry.h"
#include "render/SkyLayerPasses.h"

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
    // One straight stroke along the horizon, as wide as the view's diagonal twice over, its near
    // edge on the horizon and its far edge beyond every corner: the only fill the drawing calls
    // offer for a region bounded by a slanted line, and a single rectangle for the rasteriser.
    const double reach = std::hypot(frame.size.width, frame.size.height) + 1.0;
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
