#include "platform/graphics/image/PngEncoder.h"

#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/graphics/image/RasterSurface.h"

#include <cairo.h>
#include <cstring>
#include <gtest/gtest.h>

namespace dazed {
namespace {

// The colour type byte of the PNG header: 2 for RGB, 6 for RGBA.
int colourType(const std::string& png)
{
    return static_cast<unsigned char>(png.at(25));
}

ArgbPixels pixelsOf(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    return {cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
            cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface)};
}

std::vector<Rgba8> pixelsRead(cairo_surface_t* surface)
{
    const ArgbPixels image = pixelsOf(surface);
    std::vector<Rgba8> result;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t argb = 0;
            std::memcpy(&argb, image.data + y * image.stride + x * 4, sizeof argb);
            const std::uint32_t a = argb >> 24;
            auto channel = [a](std::uint32_t c) {
                return static_cast<std::uint8_t>(a == 0 ? 0 : (c * 255 + a / 2) / a);
            };
            result.push_back({channel((argb >> 16) & 0xFF), channel((argb >> 8) & 0xFF), channel(argb & 0xFF),
                              static_cast<std::uint8_t>(a)});
        }
    return result;
}

// A gradient in every channel with a filled circle over it, `alpha` throughout.
CairoSurfacePtr testPicture(double alpha, int width = 61, int height = 37)
{
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    CairoPtr cr(cairo_create(surface.get()));
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, width, height);
    cairo_pattern_add_color_stop_rgba(gradient, 0, 1, 0.2, 0, alpha);
    cairo_pattern_add_color_stop_rgba(gradient, 1, 0, 0.7, 1, alpha);
    cairo_set_source(cr.get(), gradient);
    cairo_paint(cr.get());
    cairo_pattern_destroy(gradient);
    cairo_set_source_rgba(cr.get(), 0.9, 0.9, 0.3, alpha);
    cairo_arc(cr.get(), 30, 18, 11, 0, 6.3);
    cairo_fill(cr.get());
    return surface;
}

cairo_status_t appendTo(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

TEST(PngEncoder, OpaqueImageIsWrittenAsRgbAndReadsBackExactly)
{
    const CairoSurfacePtr surface = testPicture(1.0);
    const Result<std::string> encoded = encodePng(pixelsOf(surface.get()));
    ASSERT_TRUE(encoded);
    const std::string& png = encoded.value();
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(colourType(png), 2);
    const auto decoded = decodePng(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 61);
    EXPECT_EQ(decoded->height, 37);
    EXPECT_EQ(decoded->pixels, pixelsRead(surface.get()));
}

TEST(PngEncoder, TranslucentImageReadsBackAsCairosOwnFileDoes)
{
    for (double alpha : {0.0, 0.3, 0.77}) {
        const CairoSurfacePtr surface = testPicture(alpha);
        const Result<std::string> encoded = encodePng(pixelsOf(surface.get()));
        ASSERT_TRUE(encoded);
        const std::string& ours = encoded.value();
        EXPECT_EQ(colourType(ours), 6) << alpha;
        std::string cairos;
        ASSERT_EQ(cairo_surface_write_to_png_stream(surface.get(), appendTo, &cairos), CAIRO_STATUS_SUCCESS);
        const auto fromOurs = decodePng(ours);
        const auto fromCairos = decodePng(cairos);
        ASSERT_TRUE(fromOurs && fromCairos);
        EXPECT_EQ(fromOurs->pixels, fromCairos->pixels) << alpha;
    }
}

// Whatever the height, the file holds every row once, in order.
TEST(PngEncoder, ImagesOfAnyHeightReadBackExactly)
{
    for (int height : {1, 15, 16, 17, 33, 64, 333, 1000}) {
        for (double alpha : {1.0, 0.5}) {
            const CairoSurfacePtr surface = testPicture(alpha, 23, height);
            const Result<std::string> encoded = encodePng(pixelsOf(surface.get()));
            ASSERT_TRUE(encoded) << height;
            const std::string& png = encoded.value();
            const auto decoded = decodePng(png);
            ASSERT_TRUE(decoded) << height;
            EXPECT_EQ(decoded->height, height);
            EXPECT_EQ(decoded->pixels, pixelsRead(surface.get())) << height << " rows, alpha " << alpha;
        }
    }
}

// An opaque picture but for one pixel: wherever that pixel lies (first row, a band's first row,
// the very last pixel), the file keeps the alpha channel and every pixel reads back.
TEST(PngEncoder, OneTranslucentPixelAnywhereKeepsTheAlphaChannel)
{
    const int width = 23;
    const int height = 1000;
    for (auto [x, y] :
         {std::pair{0, 0}, std::pair{5, 500}, std::pair{7, 999}, std::pair{width - 1, height - 1}}) {
        const CairoSurfacePtr surface = testPicture(1.0, width, height);
        cairo_surface_flush(surface.get());
        unsigned char* data = cairo_image_surface_get_data(surface.get());
        const std::uint32_t halfRed = 0x80800000u; // premultiplied: red at half opacity
        std::memcpy(data + y * cairo_image_surface_get_stride(surface.get()) + x * 4, &halfRed,
                    sizeof halfRed);
        cairo_surface_mark_dirty(surface.get());
        const Result<std::string> encoded = encodePng(pixelsOf(surface.get()));
        ASSERT_TRUE(encoded);
        const std::string& png = encoded.value();
        EXPECT_EQ(colourType(png), 6) << x << ", " << y;
        const auto decoded = decodePng(png);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->pixels, pixelsRead(surface.get())) << x << ", " << y;
        EXPECT_EQ(decoded->pixels.at(static_cast<std::size_t>(y * width + x)).alpha, 0x80);
    }
}

TEST(PngEncoder, EmptyImageIsRefused)
{
    EXPECT_FALSE(encodePng({}));
    const unsigned char pixel[4] = {};
    EXPECT_FALSE(encodePng({pixel, 1, 1, 2}));
    EXPECT_TRUE(encodePng({pixel, 1, 1, 4}));
}

} // namespace
} // namespace dazed
