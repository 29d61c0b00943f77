#include "render/Cross.h"

#include "render/Passes.h"

namespace dazed {

Cross crossAround(SkyPoint centre, double arm)
{
    const float x = toPoint(centre.x);
    const float y = toPoint(centre.y);
    return {{toPoint(centre.x - arm), y},
            {toPoint(centre.x + arm), y},
            {x, toPoint(centre.y - arm)},
            {x, toPoint(centre.y + arm)}};
}

Cross crossAround(CGPoint centre, float arm)
{
    return {{centre.x - arm, centre.y},
            {centre.x + arm, centre.y},
            {centre.x, centre.y - arm},
            {centre.x, centre.y + arm}};
}

void strokeCross(CGContextRef context, const Cross& cross)
{
    CGContextBeginPath(context);
    CGContextMoveToPoint(context, cross.left.x, cross.left.y);
    CGContextAddLineToPoint(context, cross.right.x, cross.right.y);
    CGContextMoveToPoint(context, cross.top.x, cross.top.y);
    CGContextAddLineToPoint(context, cross.bottom.x, cross.bottom.y);
    CGContextStrokePath(context);
}

void centreCross(const SkyFrame& frame)
{
    CGContextRef c = frame.context;
    CGContextSetRGBStrokeColor(c, 0.8f, 0, 0, 1);
    CGContextSetLineWidth(c, 1.0f);
    CGContextSetRGBFillColor(c, 0.8f, 0, 0, 1);
    strokeCross(c, crossAround(CGPoint{frame.cx, frame.cy}, 10.0f));
}

} // namespace dazed
