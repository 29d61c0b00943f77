#pragma once

// An in-memory raster image with a drawing context over it, sized in points at a pixel density
// (pixels per point). Used to export PNG files, by tests that check pixels, and by benchmarks.

#include "platform/graphics/CGContext.h"

#include <cstdint>
#include <memory>
#include <string>

namespace dazed {

struct Rgba8 {
    std::uint8_t red{0};
    std::uint8_t green{0};
    std::uint8_t blue{0};
    std::uint8_t alpha{0};

    friend bool operator==(const Rgba8&, const Rgba8&) = default;
};

class RasterSurface {
public:
    // The image is round(width × scale) by round(height × scale) pixels, transparent. `scale`
    // must be positive; sizes must be positive.
    RasterSurface(float widthPoints, float heightPoints, double scale);
    ~RasterSurface();
    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;

    // False when the image could not be made (too large, or a bad size or scale).
    [[nodiscard]] bool ok() const;
    [[nodiscard]] int pixelWidth() const;
    [[nodiscard]] int pixelHeight() const;

    // The context draws in points (y down) and shows a cleared area black, as on an opaque view.
    [[nodiscard]] CGContextRef context();

    // The colour (not premultiplied) of the pixel under a point; zero outside the image.
    [[nodiscard]] Rgba8 pixelAtPoint(float x, float y) const;
    [[nodiscard]] Rgba8 pixel(int px, int py) const;

    // The image as PNG bytes; false on failure.
    bool encodePng(std::string& bytes) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace dazed
