#include "platform/sdl/Letterbox.h"

#include "platform/graphics/image/PixelSize.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

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

TEST(Letterbox, TheBarsAndThePictureCoverEveryWindowPixelOnce)
{
    // Bars left and right, above and below, none when the picture fills the window.
    EXPECT_EQ(barsAround({180, 0, 640, 960}, 1000, 960),
              (std::vector<PixelRect>{{0, 0, 180, 960}, {820, 0, 180, 960}}));
    EXPECT_EQ(barsAround({0, 340, 480, 320}, 480, 1000),
              (std::vector<PixelRect>{{0, 0, 480, 340}, {0, 660, 480, 340}}));
    EXPECT_TRUE(barsAround({0, 0, 640, 960}, 640, 960).empty());

    // Whatever the picture (overhanging, outside, of no size, at the far end of int), every
    // pixel of the window is covered exactly once by the bars and the picture's part inside it.
    const int w = 37;
    const int h = 23;
    const int big = std::numeric_limits<int>::max();
    for (PixelRect picture : {PixelRect{5, 3, 20, 10}, PixelRect{-10, -10, 30, 60}, PixelRect{30, 20, 50, 50},
                              PixelRect{100, 100, 5, 5}, PixelRect{4, 4, 0, 0}, PixelRect{-5, 2, -3, 7},
                              PixelRect{10, 10, big, big}, PixelRect{big, big, big, big}}) {
        std::vector<int> covered(static_cast<std::size_t>(w * h), 0);
        auto cover = [&](long long x0, long long y0, long long x1, long long y1) {
            for (long long y = std::max(y0, 0LL); y < std::min(y1, static_cast<long long>(h)); ++y)
                for (long long x = std::max(x0, 0LL); x < std::min(x1, static_cast<long long>(w)); ++x)
                    ++covered[static_cast<std::size_t>(y * w + x)];
        };
        cover(picture.x, picture.y, static_cast<long long>(picture.x) + std::max(picture.width, 0),
              static_cast<long long>(picture.y) + std::max(picture.height, 0));
        for (const PixelRect& bar : barsAround(picture, w, h)) {
            EXPECT_GT(bar.width, 0);
            EXPECT_GT(bar.height, 0);
            EXPECT_GE(bar.x, 0);
            EXPECT_GE(bar.y, 0);
            EXPECT_LE(bar.x + bar.width, w);
            EXPECT_LE(bar.y + bar.height, h);
            cover(bar.x, bar.y, bar.x + bar.width, bar.y + bar.height);
        }
        for (int count : covered)
            ASSERT_EQ(count, 1) << "picture at " << picture.x << ", " << picture.y << ", " << picture.width
                                << " x " << picture.height;
    }
    EXPECT_TRUE(barsAround({0, 0, 10, 10}, 0, 0).empty()) << "a window of no size has no bars";
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
