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
        // The line and a short tick across it at each cardinal point in view, stroked together;
        // then each point's letter on the sky's side.
        const std::array<std::pair<UnitVector, const char*>, 4> cardinals{
            {{h.north, "N"}, {h.east, "E"}, {negated(h.north), "S"}, {negated(h.east), "W"}}};
        std::array<SkyPoint, 4> marks{};
        std::array<const char*, 4> letters{};
        std::size_t shown = 0;
        std::array<CGPoint, 10> ends{};
        ends[0] = {toPoint(line->from.x), toPoint(line->from.y)};
        ends[1] = {toPoint(line->to.x), toPoint(line->to.y)};
        const SkyPoint g = line->groundward;
        for (const auto& [direction, letter] : cardinals) {
            const auto p = projectUnit(frame, direction);
            if (!p || !insideView(frame, *p))
                continue;
            ends[2 + 2 * shown] = {toPoint(p->x - g.x * 6.0), toPoint(p->y - g.y * 6.0)};
            ends[3 + 2 * shown] = {toPoint(p->x + g.x * 6.0), toPoint(p->y + g.y * 6.0)};
            marks[shown] = *p;
            letters[shown] = letter;
            ++shown;
        }
        CGContextSetLineWidth(c, 2.0f);
        CGContextStrokeLineSegments(c, ends.data(), 2 + 2 * shown);
        CGContextSetLineWidth(c, 0);
        selectTextFont(c, frame.family, kTextSize);
        for (std::size_t i = 0; i < shown; ++i)
            CGContextShowTextAtPoint(c, toPoint(marks[i].x - g.x * 12.0 - 5.0),
                                     toPoint(marks[i].y - g.y * 12.0 + 5.0), letters[i], 1);
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
