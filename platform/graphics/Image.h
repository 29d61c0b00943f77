#pragma once

// A raster image in points at a pixel density: loaded pictures, view backing stores, the
// composited screen and the captures of a flip. Pixels are 32-bit premultiplied ARGB in native
// byte order, rows `stride()` bytes apart.

#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace dazed {

class Image {
public:
    // A transparent image of `size` points at `scale` pixels per point (each side at least one pixel).
    static std::shared_ptr<Image> create(CGSize size, float scale);
    // Null when the file is missing or not a readable PNG; `error` then says why. `scale` is the
    // number of pixels per point the file was drawn at (2 for a high-density "@2x" file), so that
    // the image's size in points is its pixel size divided by it; a non-positive scale counts as 1.
    static std::shared_ptr<Image> loadPNG(const std::string& path, std::string* error = nullptr,
                                          float scale = 1.0f);

    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Size in points (pixels divided by the scale).
    [[nodiscard]] CGSize size() const;
    [[nodiscard]] float scale() const { return m_scale; }
    [[nodiscard]] int pixelWidth() const;
    [[nodiscard]] int pixelHeight() const;
    [[nodiscard]] int stride() const;
    // Flushes pending drawing; the bytes stay valid while the image lives.
    [[nodiscard]] const std::uint8_t* pixels() const;
    // The premultiplied ARGB word at pixel (x, y); 0 outside the image.
    [[nodiscard]] std::uint32_t pixelAt(int x, int y) const;

    struct Impl;
    [[nodiscard]] Impl& impl() const { return *m_impl; }

private:
    Image(std::unique_ptr<Impl> impl, float scale);
    std::unique_ptr<Impl> m_impl;
    float m_scale;
};

} // namespace dazed
