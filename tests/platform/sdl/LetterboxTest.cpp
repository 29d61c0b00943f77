#include "platform/sdl/Letterbox.h"

#include "platform/graphics/PixelSize.h"

#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

TEST(Letterbox, AWiderWindowGetsBarsLeftAndRight)
{
    // A 1000 x 960 pixel window shows the 320 x 480 phone at 2 pixels per point, 180 pixels in.
    const Letterbox box = Letterbox::fit(1000, 960, {320, 480});
    EXPECT_FLOAT_EQ(box.scale, 2.0f);
    EXPECT_FLOAT_EQ(box.offsetX, 180.0f);
    EXPECT_FLOAT_EQ(box.offsetY, 0.0f);
    EXPECT_EQ(box.pointForPixel(180, 0), (CGPoint{0, 0}));
    EXPECT_EQ(box.pointForPixel(500, 480), (CGPoint{160, 240}));
    EXPECT_EQ(box.pointForPixel(820, 960), (CGPoint{320, 480}));
    EXPECT_FALSE(box.containsPixel(100, 100)) << "on the left bar";
    EXPECT_TRUE(box.containsPixel(181, 1));
    EXPECT_FALSE(box.containsPixel(821, 100));
    EXPECT_EQ(box.destinationPixels(), CGRectMake(180, 0, 640, 960));
}

TEST(Letterbox, ATallerWindowGetsBarsAboveAndBelow)
{
    const Letterbox box = Letterbox::fit(480, 1000, {480, 320});
    EXPECT_FLOAT_EQ(box.scale, 1.0f);
    EXPECT_FLOAT_EQ(box.offsetX, 0.0f);
    EXPECT_FLOAT_EQ(box.offsetY, 340.0f);
    EXPECT_EQ(box.pointForPixel(240, 500), (CGPoint{240, 160}));
    EXPECT_FALSE(box.containsPixel(240, 100));
}

TEST(Letterbox, TheScreenAlwaysFitsInsideTheWindow)
{
    for (int w : {1, 99, 320, 641, 1920})
        for (int h : {1, 77, 480, 1081, 2160})
            for (CGSize screen : {CGSize{320, 480}, CGSize{1024, 768}}) {
                const Letterbox box = Letterbox::fit(w, h, screen);
                const CGRect d = box.destinationPixels();
                EXPECT_GE(d.minX(), 0);
                EXPECT_GE(d.minY(), 0);
                EXPECT_LE(box.offsetX + screen.width * box.scale, w + 1e-3f) << w << "x" << h;
                EXPECT_LE(box.offsetY + screen.height * box.scale, h + 1e-3f) << w << "x" << h;
            }
    // A degenerate window maps nothing away.
    const Letterbox none = Letterbox::fit(0, 0, {320, 480});
    EXPECT_FLOAT_EQ(none.scale, 1.0f);
}

TEST(InitialWindowSize, OnePixelAPointShrunkToTheDesktop)
{
    // A tablet in portrait on a 1920 x 1080 desktop, given half of it: 540 pixels high.
    EXPECT_EQ(initialWindowSize({768, 1024}, 1920, 1080, 0.5f), (WindowPixels{405, 540}));
    // A phone fits as it is; without a known desktop nothing shrinks.
    EXPECT_EQ(initialWindowSize({320, 480}, 1920, 1080, 0.9f), (WindowPixels{320, 480}));
    EXPECT_EQ(initialWindowSize({768, 1024}, 0, 0, 0.9f), (WindowPixels{768, 1024}));
}

TEST(InitialWindowSize, NumbersThatAreNotSizesStillGiveAWindow)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(initialWindowSize({nan, nan}, 1920, 1080, 0.9f), (WindowPixels{1, 1}));
    EXPECT_EQ(initialWindowSize({-320, 0}, 1920, 1080, 0.9f), (WindowPixels{1, 1}));
    EXPECT_EQ(initialWindowSize({320, 480}, 1920, 1080, nan), (WindowPixels{320, 480}));
    // An infinite side shrinks to nothing on a known desktop and to the limit on an unknown one.
    EXPECT_EQ(initialWindowSize({inf, 480}, 1920, 1080, 0.9f), (WindowPixels{1, 1}));
    EXPECT_EQ(initialWindowSize({inf, 1e30f}, 0, 0, 0.9f), (WindowPixels{kMaxImageSide, kMaxImageSide}));
}

} // namespace
} // namespace dazed
