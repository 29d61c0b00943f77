// Large images get pixels mapped for them alone; every image, mapped or not, starts transparent
// black, draws like any other and refuses the sizes Cairo refuses.

#include "platform/graphics/image/ImageMemory.h"

#include "platform/graphics/cairo/CairoHandles.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace dazed {
namespace {

bool everyByteIsZero(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int height = cairo_image_surface_get_height(surface);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < cairo_image_surface_get_width(surface) * 4; ++x)
            if (row[x] != 0)
                return false;
    }
    return true;
}

std::uint32_t pixelAt(cairo_surface_t* surface, int x, int y)
{
    cairo_surface_flush(surface);
    std::uint32_t argb = 0;
    std::memcpy(&argb,
                cairo_image_surface_get_data(surface) +
                    static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface) + x * 4,
                sizeof argb);
    return argb;
}

TEST(ImageMemory, LargeImagesAreMappedSmallOnesAreNotAndAllStartTransparentBlack)
{
    struct Size {
        int width, height;
        bool mapped;
    };
    // A tablet at two pixels a point, a phone at two (2.4 MB), one row short of the threshold, and
    // an icon.
    for (Size size :
         {Size{2048, 1536, true}, Size{640, 960, true}, Size{512, 1023, false}, Size{57, 57, false}}) {
        CairoSurfacePtr surface(createArgbSurface(size.width, size.height));
        ASSERT_EQ(cairo_surface_status(surface.get()), CAIRO_STATUS_SUCCESS) << size.width;
        EXPECT_EQ(hasMappedPixels(surface.get()), size.mapped) << size.width << " x " << size.height;
        EXPECT_EQ(cairo_image_surface_get_width(surface.get()), size.width);
        EXPECT_EQ(cairo_image_surface_get_height(surface.get()), size.height);
        EXPECT_EQ(cairo_image_surface_get_format(surface.get()), CAIRO_FORMAT_ARGB32);
        EXPECT_TRUE(everyByteIsZero(surface.get())) << size.width;
    }
}

TEST(ImageMemory, AMappedImageDrawsToItsLastRowAndOutlivesItsOwnerWhileReferenced)
{
    CairoSurfacePtr surface(createArgbSurface(2048, 1536));
    ASSERT_TRUE(hasMappedPixels(surface.get()));
    {
        CairoPtr cr(cairo_create(surface.get()));
        cairo_set_source_rgb(cr.get(), 1, 0, 0);
        cairo_rectangle(cr.get(), 2040, 1530, 8, 6);
        cairo_fill(cr.get());
    }
    EXPECT_EQ(pixelAt(surface.get(), 2047, 1535), 0xFFFF0000u);
    EXPECT_EQ(pixelAt(surface.get(), 2039, 1535), 0u);

    // A pattern holding the surface keeps its pixels after the first reference is gone.
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface.get());
    surface.reset();
    cairo_surface_t* held = nullptr;
    ASSERT_EQ(cairo_pattern_get_surface(pattern, &held), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(pixelAt(held, 2047, 1535), 0xFFFF0000u);
    cairo_pattern_destroy(pattern);
}

TEST(ImageMemory, EmptyAndImpossibleSizesFareAsWithCairoAndMapNothing)
{
    for (auto [width, height] :
         {std::pair{0, 10}, std::pair{10, 0}, std::pair{-5, 100}, std::pair{40000, 40000}}) {
        CairoSurfacePtr ours(createArgbSurface(width, height));
        CairoSurfacePtr cairos(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
        EXPECT_EQ(cairo_surface_status(ours.get()), cairo_surface_status(cairos.get()))
            << width << " x " << height;
        EXPECT_FALSE(hasMappedPixels(ours.get()));
    }
    CairoSurfacePtr refused(createArgbSurface(40000, 40000));
    EXPECT_EQ(cairo_surface_status(refused.get()), CAIRO_STATUS_INVALID_SIZE);
}

} // namespace
} // namespace dazed
