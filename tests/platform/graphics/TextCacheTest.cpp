#include "platform/graphics/cairo/TextCache.h"

#include "platform/graphics/cairo/CairoHandles.h"

#include <algorithm>
#include <cairo.h>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dazed {
namespace {

// A raster target at two pixels per point, as a tablet's, and a white filled style of `size`.
struct Target {
    explicit Target(TextCache& cache, double size = 12.0)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 800, 200))
        , cr(nullptr)
    {
        cairo_surface_set_device_scale(surface.get(), 2.0, 2.0);
        cr.reset(cairo_create(surface.get()));
        style.face = cache.face("Helvetica");
        cairo_matrix_init(&style.fontMatrix, size, 0.0, 0.0, size, 0.0, 0.0);
        style.mode = kCGTextFill;
        style.paint.fill = {1.0, 1.0, 1.0, 1.0};
    }

    std::vector<std::uint32_t> pixels()
    {
        cairo_surface_flush(surface.get());
        const int stride = cairo_image_surface_get_stride(surface.get());
        const int height = cairo_image_surface_get_height(surface.get());
        std::vector<std::uint32_t> result(static_cast<std::size_t>(stride / 4 * height));
        std::memcpy(result.data(), cairo_image_surface_get_data(surface.get()), result.size() * 4);
        return result;
    }

    void clear()
    {
        cairo_save(cr.get());
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr.get());
        cairo_restore(cr.get());
    }

    CairoSurfacePtr surface;
    CairoPtr cr;
    TextStyle style;
};

// Like the readout's: a new string for every move of the sky.
std::string readout(int move)
{
    return "RA " + std::to_string(move / 60) + "h " + std::to_string(move % 60) + "m  Dec +" +
           std::to_string(move % 90) + "\xC2\xB0 " + std::to_string(move % 7);
}

TEST(TextCache, AReadoutChangingWithEveryMoveKeepsTheCacheWithinItsBudget)
{
    TextCache cache;
    Target target(cache);
    std::size_t most = 0;
    for (int move = 0; move < 2000; ++move) {
        cache.show(target.cr.get(), 10, 40, target.style, readout(move));
        most = std::max(most, cache.textBytes());
    }
    EXPECT_LE(most, TextCache::kMaxTextBytes);
    // It does fill up to its budget, well beyond one frame's names.
    EXPECT_GT(cache.textBytes(), TextCache::kMaxTextBytes / 2);
    EXPECT_LT(cache.textCount(), 2000u);
    EXPECT_TRUE(cache.holdsText(readout(1999)));
    EXPECT_FALSE(cache.holdsText(readout(0)));
}

TEST(TextCache, NamesShownEveryFrameStayWhileTheReadoutsGo)
{
    TextCache cache;
    Target target(cache);
    const std::vector<std::string> names{"Betelgeuse", "Rigel", "Orion", "Sirius", "Canis Major"};
    for (int move = 0; move < 2000; ++move) {
        for (const std::string& name : names)
            cache.show(target.cr.get(), 10, 80, target.style, name);
        cache.show(target.cr.get(), 10, 40, target.style, readout(move));
    }
    for (const std::string& name : names)
        EXPECT_TRUE(cache.holdsText(name)) << name;
    EXPECT_FALSE(cache.holdsText(readout(0)));

    // A name shown again after the churn is drawn as when it was first shown.
    TextCache fresh;
    Target first(fresh);
    fresh.show(first.cr.get(), 10, 80, first.style, "Betelgeuse");
    target.clear();
    cache.show(target.cr.get(), 10, 80, target.style, "Betelgeuse");
    const std::vector<std::uint32_t> expected = first.pixels();
    EXPECT_NE(std::count(expected.begin(), expected.end(), 0u), static_cast<std::ptrdiff_t>(expected.size()));
    EXPECT_EQ(target.pixels(), expected);
}

TEST(TextCache, ATextLargerThanTheBudgetIsDrawnAndMakesWayForTheNext)
{
    TextCache cache;
    Target large(cache, 190.0);
    cache.show(large.cr.get(), 0, 180, large.style, "small");
    const std::string huge = "WWWWWWWWWW";
    cache.show(large.cr.get(), 0, 180, large.style, huge);
    EXPECT_GT(cache.textBytes(), TextCache::kMaxTextBytes) << "the glyphs should be large enough";
    EXPECT_EQ(cache.textCount(), 1u);
    EXPECT_TRUE(cache.holdsText(huge));
    const std::vector<std::uint32_t> drawn = large.pixels();
    EXPECT_NE(std::count(drawn.begin(), drawn.end(), 0u), static_cast<std::ptrdiff_t>(drawn.size()));

    cache.show(large.cr.get(), 0, 180, large.style, "next");
    EXPECT_FALSE(cache.holdsText(huge));
    EXPECT_LE(cache.textBytes(), TextCache::kMaxTextBytes);
}

} // namespace
} // namespace dazed
