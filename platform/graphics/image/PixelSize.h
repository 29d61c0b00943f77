#pragma once

// Whole pixels for sizes in points. Every picture the framework makes (view pictures, the screen,
// flip captures) and every integer taken from a length in points goes through here, so that a NaN,
// an infinity or an absurd size coming from input never reaches an integer conversion or asks
// Cairo for gigabytes.

#include "platform/graphics/Geometry.h"

#include <cstdint>

namespace dazed {

// The most pixels a picture may have on a side (Cairo's own limit is 32767) and in all (64 MiB of
// 32-bit pixels; a tablet screen at four pixels a point needs 12.6 million).
inline constexpr int kMaxImageSide = 16384;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 24;

// `value` truncated towards zero, saturated to [lowest, highest]; NaN gives `lowest`. The one way
// a length from input becomes an int.
int saturatingInt(double value, int lowest, int highest);

struct PixelSize {
    int width{1};
    int height{1};
    float scale{1}; // pixels per point actually used; at most the requested scale
};

// The pixels of a picture of `points` at `scale` pixels per point: each side rounded up and at
// least one pixel. A side that is negative, NaN or infinite counts as 0 points; a scale that is
// not a positive finite number counts as 1. A picture that would exceed kMaxImageSide pixels a
// side or kMaxImagePixels in all gets fewer pixels per point instead, so that it still covers its
// size in points, more coarsely.
PixelSize pixelSizeFor(CGSize points, float scale);

} // namespace dazed
