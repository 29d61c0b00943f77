#include "platform/sdl/Letterbox.h"

#include "platform/graphics/PixelSize.h"

#include <algorithm>
#include <cmath>

namespace dazed {

Letterbox Letterbox::fit(int pixelWidth, int pixelHeight, CGSize screen)
{
    Letterbox box;
    box.screen = screen;
    if (pixelWidth <= 0 || pixelHeight <= 0 || screen.width <= 0 || screen.height <= 0)
        return box;
    box.scale = std::min(static_cast<float>(pixelWidth) / screen.width,
                         static_cast<float>(pixelHeight) / screen.height);
    box.offsetX = std::floor((static_cast<float>(pixelWidth) - screen.width * box.scale) / 2);
    box.offsetY = std::floor((static_cast<float>(pixelHeight) - screen.height * box.scale) / 2);
    return box;
}

CGPoint Letterbox::pointForPixel(float px, float py) const
{
    return {(px - offsetX) / scale, (py - offsetY) / scale};
}

bool Letterbox::containsPixel(float px, float py) const
{
    const CGPoint p = pointForPixel(px, py);
    return p.x >= 0 && p.y >= 0 && p.x < screen.width && p.y < screen.height;
}

CGRect Letterbox::destinationPixels() const
{
    return CGRectMake(offsetX, offsetY, std::ceil(screen.width * scale), std::ceil(screen.height * scale));
}

WindowPixels initialWindowSize(CGSize screen, int usableWidth, int usableHeight, float share)
{
    double fit = 1.0;
    if (usableWidth > 0 && usableHeight > 0 && std::isfinite(share) && share > 0.0f) {
        // A side of no size (or NaN) asks nothing of the desktop: its ratio stays out of the minimum.
        if (screen.width > 0.0f)
            fit = std::min(fit, double{share} * usableWidth / double{screen.width});
        if (screen.height > 0.0f)
            fit = std::min(fit, double{share} * usableHeight / double{screen.height});
    }
    return {saturatingInt(double{screen.width} * fit, 1, kMaxImageSide),
            saturatingInt(double{screen.height} * fit, 1, kMaxImageSide)};
}

} // namespace dazed
