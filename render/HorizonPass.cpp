#include "render/Cross.h"
#include "render/LabelText.h"
#include "render/SkyLayerGeometry.h"
#include "render/SkyLayerPasses.h"

#include <array>

namespace dazed {

namespace {
bool insideView(const SkyFrame& frame, SkyPoint p)
{
    return p.x >= 0.0 && p.y >= 0.0 && p.x <= frame.size.width && p.y <= frame.size.height;
}

UnitVector negated(const UnitVector& u)
{
    return {-u.x, -u.y, -u.z};
}
} // namespace

void horizonPass(const SkyFrame& frame)
{
    if (!frame.sky)
        return;
    CGContextRef c = frame.context;
    const HorizonFrame& h = frame.sky->horizon;
    CGContextSetRGBStrokeColor(c, kHorizonColour.red, kHorizonColour.green, kHorizonColour.blue,
                               kHorizonColour.alpha);
    CGContextSetRGBFillColor(c, kHorizonColour.red, kHorizonColour.green, kHorizonColour.blue,
                             kHorizonColour.alpha);
    const ScreenHalfPlane horizon = horizonOnView(frame, h.zenith);
    const auto line = horizonAcrossView(frame, horizon);
    if (line) {
        CGContextSetLineWidth(c, 2.0f);
        const CGPoint ends[2] = {{toPoint(line->from.x), toPoint(line->from.y)},
                                 {toPoint(line->to.x), toPoint(line->to.y)}};
        CGContextStrokeLineSegments(c, ends, 2);

        // The cardinal points, each written on the sky's side of the line, above a short tick.
        CGContextSetLineWidth(c, 0);
        const std::array<std::pair<UnitVector, const char*>, 4> cardinals{
            {{h.north, "N"}, {h.east, "E"}, {negated(h.north), "S"}, {negated(h.east), "W"}}};
        for (const auto& [direction, letter] : cardinals) {
            const auto p = projectUnit(frame, direction);
            if (!p || !insideView(frame, *p))
                continue;
            CGContextSetLineWidth(c, 2.0f);
            const CGPoint tick[2] = {
                {toPoint(p->x - line->groundward.x * 6.0), toPoint(p->y - line->groundward.y * 6.0)},
                {toPoint(p->x + line->groundward.x * 6.0), toPoint(p->y + line->groundward.y * 6.0)}};
            CGContextStrokeLineSegments(c, tick, 2);
            CGContextSetLineWidth(c, 0);
            showText(c, frame.family, kTextSize, toPoint(p->x - line->groundward.x * 12.0 - 5.0),
                     toPoint(p->y - line->groundward.y * 12.0 + 5.0), letter);
        }
    }

    // The zenith: a cross and its name.
    if (const auto z = projectUnit(frame, h.zenith); z && insideView(frame, *z)) {
        CGContextSetLineWidth(c, 2.0f);
        strokeCross(c, crossAround(*z, 6.0));
        CGContextSetLineWidth(c, 0);
        showText(c, frame.family, kSmallTextSize, toPoint(z->x + 8.0), toPoint(z->y + 16.0), "Zenith");
    }
}

} // namespace dazed
