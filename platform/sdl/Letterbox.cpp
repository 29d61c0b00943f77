#include "platform/sdl/Letterbox.h"

#include "platform/graphics/image/PixelSize.h"

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

std::vector<PixelRect> barsAround(PixelRect picture, int windowWidth, int windowHeight)
{
    const long long w = std::max(windowWidth, 0);
    const long long h = std::max(windowHeight, 0);
    // The picture's part inside the window, in wide integers: its far edges may lie past INT_MAX.
    const auto x0 = static_cast<int>(std::clamp<long long>(picture.x, 0, w));
    const auto y0 = static_cast<int>(std::clamp<long long>(picture.y, 0, h));
    const auto x1 = static_cast<int>(
        std::clamp<long long>(static_cast<long long>(picture.x) + std::max(picture.width, 0), x0, w));
    const auto y1 = static_cast<int>(
        std::clamp<long long>(static_cast<long long>(picture.y) + std::max(picture.height, 0), y0, h));
    const auto ww = static_cast<int>(w);
    const auto hh = static_cast<int>(h);
    std::vector<PixelRect> bars;
    for (PixelRect bar : {PixelRect{0, 0, ww, y0}, PixelRect{0, y1, ww, hh - y1},
                          PixelRect{0, y0, x0, y1 - y0}, PixelRect{x1, y0, ww - x1, y1 - y0}})
        if (bar.width > 0 && bar.height > 0)
            bars.push_back(bar);
    return bars;
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
