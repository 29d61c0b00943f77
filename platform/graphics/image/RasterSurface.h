#pragma once

// An in-memory raster image with a drawing context over it, sized in points at a pixel density
// (pixels per point). Used to export PNG files, by tests that check pixels, and by benchmarks.

#include "platform/Result.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/RecordingContext.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

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

    // Makes the recorded calls as context() would, with the image cut into `bands` horizontal
    // bands drawn at the same time on threads of their own (CairoBands.h); 0 takes as many as the
    // machine's cores and the image's height make worth it. The pixels are those context() draws.
    void drawRecorded(std::span<const DrawOp> ops, int bands = 0);

    // The colour (not premultiplied) of the pixel under a point; zero outside the image.
    [[nodiscard]] Rgba8 pixelAtPoint(float x, float y) const;
    [[nodiscard]] Rgba8 pixel(int px, int py) const;
    // Every pixel as pixel() gives it, row by row from the top; empty when not ok().
    [[nodiscard]] std::vector<Rgba8> pixels() const;

    // The image as PNG bytes.
    [[nodiscard]] Result<std::string> encodePng() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// A PNG file read back, its pixels (not premultiplied) row by row from the top.
struct DecodedImage {
    int width{0};
    int height{0};
    std::vector<Rgba8> pixels;
};

// The picture Image::decodePNG reads from the bytes, as plain colours.
Result<DecodedImage> decodePng(const std::string& bytes);

} // namespace dazed
