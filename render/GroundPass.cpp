#include "render/SkyLayerGeometry.h"
#include "render/SkyLayerPasses.h"

#include <vector>

namespace dazed {

namespace {
// Width of each band, points. Each band overlaps the next by a point, so that their antialiased
// edges leave no seam between them.
constexpr double kBand = 32.0;
constexpr double kOverlap = 1.0;
} // namespace

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
    // Straight bands parallel to the horizon, the first with its upper edge on the horizon, until
    // the farthest corner of the view is covered: the only fill the drawing calls offer for a
    // region bounded by a slanted line.
    const double reach = std::hypot(frame.size.width, frame.size.height);
    std::vector<CGPoint> ends;
    for (double inner = 0.0; inner < reach; inner += kBand) {
        const double middle = inner + (kBand + kOverlap) / 2.0;
        const double dx = line->groundward.x * middle;
        const double dy = line->groundward.y * middle;
        ends.push_back({toPoint(line->from.x + dx), toPoint(line->from.y + dy)});
        ends.push_back({toPoint(line->to.x + dx), toPoint(line->to.y + dy)});
    }
    CGContextSetRGBStrokeColor(c, kGroundColour.red, kGroundColour.green, kGroundColour.blue,
                               kGroundColour.alpha);
    CGContextSetLineWidth(c, static_cast<float>(kBand + kOverlap));
    CGContextStrokeLineSegments(c, ends.data(), ends.size());
}

} // namespace dazed
