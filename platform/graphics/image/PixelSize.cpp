#include "platform/graphics/image/PixelSize.h"

#include <algorithm>
#include <cmath>

namespace dazed {

int saturatingInt(double value, int lowest, int highest)
{
    if (!(value > lowest)) // NaN too
        return lowest;
    if (value >= highest)
        return highest;
    return static_cast<int>(value);
}

PixelSize pixelSizeFor(CGSize points, float scale)
{
    const auto length = [](float v) {
        return std::isfinite(v) && v > 0.0f ? double{v} : 0.0;
    };
    const double w = length(points.width);
    const double h = length(points.height);
    double density = std::isfinite(scale) && scale > 0.0f ? double{scale} : 1.0;
    constexpr double maxSide = kMaxImageSide;
    constexpr auto area = static_cast<double>(kMaxImagePixels);
    // In double precision: with both sides below FLT_MAX none of these products overflows.
    if (w * density > maxSide)
        density = maxSide / w;
    if (h * density > maxSide)
        density = maxSide / h;
    if (w * density * h * density > area)
        density = std::sqrt(area / (w * h));
    const auto pixels = [&](double side) {
        return saturatingInt(std::ceil(side * density), 1, kMaxImageSide);
    };
    // The float of a density below the requested scale stays positive: it is at least
    // kMaxImageSide / FLT_MAX, far above the smallest float.
    return {pixels(w), pixels(h), static_cast<float>(density)};
}

} // namespace dazed
