#include "platform/graphics/image/PixelSize.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::int64_t area(const PixelSize& p)
{
    return std::int64_t{p.width} * p.height;
}

TEST(SaturatingInt, TruncatesInRangeAndSaturatesBeyond)
{
    EXPECT_EQ(saturatingInt(2.9, 1, 10), 2);
    EXPECT_EQ(saturatingInt(-2.9, -10, 10), -2);
    EXPECT_EQ(saturatingInt(0.5, 1, 10), 1);
    EXPECT_EQ(saturatingInt(1e300, 1, 10), 10);
    EXPECT_EQ(saturatingInt(-1e300, -5, 10), -5);
    EXPECT_EQ(saturatingInt(kInf, 0, INT_MAX), INT_MAX);
    EXPECT_EQ(saturatingInt(-kInf, INT_MIN, 0), INT_MIN);
    EXPECT_EQ(saturatingInt(kNaN, 3, 7), 3);
    EXPECT_EQ(saturatingInt(2147483647.5, INT_MIN, INT_MAX), INT_MAX);
}

TEST(PixelSizeFor, RoundsEachSideUpAtTheRequestedScale)
{
    const PixelSize phone = pixelSizeFor({320, 480}, 2.0f);
    EXPECT_EQ(phone.width, 640);
    EXPECT_EQ(phone.height, 960);
    EXPECT_EQ(phone.scale, 2.0f);
    const PixelSize odd = pixelSizeFor({10.2f, 0.1f}, 1.0f);
    EXPECT_EQ(odd.width, 11);
    EXPECT_EQ(odd.height, 1);
    // Nothing has no pixels, but a picture has at least one.
    EXPECT_EQ(pixelSizeFor({0, 0}, 2.0f).width, 1);
    EXPECT_EQ(pixelSizeFor({0, 0}, 2.0f).height, 1);
}

TEST(PixelSizeFor, SizesAndScalesThatAreNotNumbersGiveOnePixelOrScaleOne)
{
    for (float bad : {kNaN, kInf, -kInf, -5.0f}) {
        const PixelSize p = pixelSizeFor({bad, 40}, 2.0f);
        EXPECT_EQ(p.width, 1) << bad;
        EXPECT_EQ(p.height, 80) << bad;
        EXPECT_EQ(p.scale, 2.0f) << bad;
    }
    for (float bad : {kNaN, kInf, 0.0f, -2.0f}) {
        const PixelSize p = pixelSizeFor({30, 40}, bad);
        EXPECT_EQ(p.width, 30) << bad;
        EXPECT_EQ(p.height, 40) << bad;
        EXPECT_EQ(p.scale, 1.0f) << bad;
    }
}

TEST(PixelSizeFor, AnAbsurdSizeGetsFewerPixelsPerPointAndStillCoversItsPoints)
{
    // 100000 x 100000 points at two pixels a point would be 160 GB of pixels.
    const PixelSize huge = pixelSizeFor({100000, 100000}, 2.0f);
    EXPECT_LE(area(huge), kMaxImagePixels + huge.width + huge.height + 1);
    EXPECT_GE(area(huge), kMaxImagePixels * 99 / 100) << "no coarser than it must be";
    EXPECT_LT(huge.scale, 2.0f);
    EXPECT_GE(huge.width, static_cast<int>(100000 * huge.scale));
    // One long side hits the side limit first; the density is the same both ways.
    const PixelSize wide = pixelSizeFor({1e6f, 10}, 1.0f);
    EXPECT_EQ(wide.width, kMaxImageSide);
    EXPECT_EQ(wide.height, 1);
    EXPECT_FLOAT_EQ(wide.scale, kMaxImageSide / 1e6f);
    // The largest float still gives a positive density and pixels within the limits.
    const float most = std::numeric_limits<float>::max();
    const PixelSize extreme = pixelSizeFor({most, most}, most);
    EXPECT_GT(extreme.scale, 0.0f);
    EXPECT_LE(extreme.width, kMaxImageSide);
    EXPECT_LE(extreme.height, kMaxImageSide);
    EXPECT_LE(area(extreme), kMaxImagePixels + 2 * kMaxImageSide + 1);
}

TEST(PixelSizeFor, ATabletScreenAtFourPixelsAPointFitsUnchanged)
{
    const PixelSize tablet = pixelSizeFor({1024, 768}, 4.0f);
    EXPECT_EQ(tablet.width, 4096);
    EXPECT_EQ(tablet.height, 3072);
    EXPECT_EQ(tablet.scale, 4.0f);
}

} // namespace
} // namespace dazed
