#pragma once

// A cross of two strokes, as the "GC" mark and the centre cross draw it.

#include "platform/graphics/Geometry.h"
#include "render/SkyFrame.h"

namespace dazed {

// The ends of the two strokes in view points: left to right through the centre, then top to
// bottom.
struct Cross {
    CGPoint left;
    CGPoint right;
    CGPoint top;
    CGPoint bottom;
};

// A cross `arm` points each way around a projected point: each end is formed in double and then
// narrowed, as every projected coordinate is.
Cross crossAround(SkyPoint centre, double arm);

// A cross `arm` points each way around a view point, each end formed in single precision.
Cross crossAround(CGPoint centre, float arm);

// Both strokes as one new path of two sub-paths, stroked once in the stroke colour and line width
// in force.
void strokeCross(CGContextRef context, const Cross& cross);

} // namespace dazed
