#pragma once

// A raster image in points at a pixel density: loaded pictures, view backing stores, the
// composited screen and the captures of a flip. Pixels are 32-bit premultiplied ARGB in native
// byte order, rows `stride()` bytes apart.

#include "platform/Result.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/ScreenTint.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace dazed {

// Always owned through a shared_ptr (every way of making one returns one), so that a recording of
// drawing calls can keep the images it draws alive.
class Image : public std::enable_shared_from_this<Image> {
public:
    // A transparent image of `size` points at `scale` pixels per point, with the pixels that
    // pixelSizeFor gives: each side at least one pixel, and a picture beyond the limits there made
    // at fewer pixels per point (scale() then says how many).
    static std::shared_ptr<Image> create(CGSize size, float scale);
    // An image over pixels somebody else owns (a window's), which must outlive it: `pixelWidth` by
    // `pixelHeight` 32-bit words in native byte order, rows `stride` bytes apart from `pixels`, at
    // `scale` pixels per point. The top byte of each word is ignored: every pixel is opaque. Null
    // when Cairo cannot draw into them (a side of no pixels or beyond its limits, a stride
    // shorter than a row or not a multiple of four, a null pointer).
    static std::shared_ptr<Image> borrowOpaquePixels(std::uint8_t* pixels, int pixelWidth, int pixelHeight,
                                                     int stride, float scale);
    // Fails, saying why, when the file is missing, not a plain file, larger than kMaxPNGFileBytes
    // or not a readable PNG. `scale` is the number of pixels per point the file was drawn at (2
    // for a high-density "@2x" file), so that the image's size in points is its pixel size divided
    // by it; a scale that is not a positive finite number counts as 1.
    static Result<std::shared_ptr<Image>> loadPNG(const std::string& path, float scale = 1.0f);
    // The same for the bytes of a PNG file in memory. A picture of more pixels than kMaxImageSide
    // a side or kMaxImagePixels in all (PixelSize.h) is refused before it is decoded.
    static Result<std::shared_ptr<Image>> decodePNG(std::string_view bytes, float scale = 1.0f);
    // No picture the program shows comes near this; a bigger file is refused unread.
    static constexpr std::uintmax_t kMaxPNGFileBytes = std::uintmax_t{64} << 20;

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

    // The tint whatever is drawn into the image from now on is drawn in: at night every colour,
    // and every picture drawn or copied in, arrives in its night form. Pixels already there are
    // left as they are. A new image is drawn in day colours.
    [[nodiscard]] ScreenTint tint() const { return m_tint; }
    void setTint(ScreenTint tint) { m_tint = tint; }

    struct Impl;
    [[nodiscard]] Impl& impl() const { return *m_impl; }

private:
    Image(std::unique_ptr<Impl> impl, float scale);
    std::unique_ptr<Impl> m_impl;
    float m_scale;
    ScreenTint m_tint{ScreenTint::Day};
};

} // namespace dazed
