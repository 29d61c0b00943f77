#pragma once

// How the device screen sits in the window: scaled uniformly to fit, centred, with black bars on
// the two sides that are left over. Window pixels are physical pixels (HiDPI-aware).

#include "platform/graphics/Geometry.h"

#include <vector>

namespace dazed {

struct Letterbox {
    float scale{1};   // window pixels per screen point
    float offsetX{0}; // window pixels left of the screen
    float offsetY{0}; // window pixels above the screen
    CGSize screen;    // the device screen in points

    // The fit of `screen` into a window of pixelWidth x pixelHeight pixels.
    static Letterbox fit(int pixelWidth, int pixelHeight, CGSize screen);

    // A window pixel position as a device-screen point (may lie outside the screen).
    [[nodiscard]] CGPoint pointForPixel(float px, float py) const;
    // Whether a window pixel lies on the device screen rather than on a bar.
    [[nodiscard]] bool containsPixel(float px, float py) const;
    // Where the screen's pixels go in the window: x, y, width, height in whole pixels.
    [[nodiscard]] CGRect destinationPixels() const;
};

// A rectangle of whole window pixels.
struct PixelRect {
    int x{0};
    int y{0};
    int width{0};
    int height{0};
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// What a window of windowWidth x windowHeight pixels shows around `picture`: the bars above,
// below, left and right of the part of it inside the window, leaving out those of no size. With
// the picture they cover every pixel of the window once.
std::vector<PixelRect> barsAround(PixelRect picture, int windowWidth, int windowHeight);

// A window's size in pixels.
struct WindowPixels {
    int width{1};
    int height{1};
    friend bool operator==(const WindowPixels&, const WindowPixels&) = default;
};

// The size a window for `screen` opens at: one pixel a point, shrunk to fit `share` of a usable
// desktop area of usableWidth x usableHeight pixels when one is known (both positive). Each side is
// from 1 to kMaxImageSide pixels, whatever the numbers (NaN, infinite, negative or absurd).
WindowPixels initialWindowSize(CGSize screen, int usableWidth, int usableHeight, float share);

} // namespace dazed
