// Frames rasterised in bands on several threads (recorded, then replayed into each band) against
// the same frames drawn straight into one context: every pixel of every channel within 2/255, for
// phone and tablet screens, one, one and a half and two pixels per point, every label mode and centres that
// include both poles.

#include "RenderTestSupport.h"
#include "platform/graphics/image/RasterSurface.h"
#include "platform/graphics/parallel/CairoBands.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>
#include <ostream>
#include <string>
#include <thread>

namespace dazed {
namespace {

struct Screen {
    float width;
    float height;
};

struct Centre {
    float ra;
    float dec;
};

int largestDifference(const std::vector<Rgba8>& a, const std::vector<Rgba8>& b)
{
    int most = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        most = std::max({most, std::abs(a[i].red - b[i].red), std::abs(a[i].green - b[i].green),
                         std::abs(a[i].blue - b[i].blue), std::abs(a[i].alpha - b[i].alpha)});
    }
    return most;
}

// One screen at one density a case, so that ctest spreads the cases over the cores. Each case runs
// in a process of its own, so the bands render every text new to the process.
struct ScreenAtScale {
    Screen screen;
    double scale;
};

void PrintTo(const ScreenAtScale& p, std::ostream* out)
{
    *out << p.screen.width << " x " << p.screen.height << " at " << p.scale << "x";
}

class BandedFramePixels : public ::testing::TestWithParam<ScreenAtScale> {};

TEST_P(BandedFramePixels, MatchesTheFrameDrawnWhole)
{
    const Screen s = GetParam().screen;
    const double scale = GetParam().scale;
    for (int labels : {0, 1, 2})
        for (Centre c : {Centre{17, 31}, Centre{0, 90}, Centre{12, -90}}) {
            auto view = test::makeView({s.width, s.height, c.ra, c.dec, 1.0, labels});
            RecordingContext recording;
            test::drawFrame(*view, &recording);
            // The bands draw first, so that text new to the process is rendered by them.
            RasterSurface first(s.width, s.height, scale);
            first.drawRecorded(recording.ops(), 3);

            RasterSurface whole(s.width, s.height, scale);
            ASSERT_TRUE(whole.ok());
            test::drawFrame(*view, whole.context());
            const std::vector<Rgba8> expected = whole.pixels();
            ASSERT_EQ(first.pixels().size(), expected.size());
            EXPECT_LE(largestDifference(first.pixels(), expected), 2)
                << "labels " << labels << ", centre " << c.ra << " h " << c.dec
                << " deg, drawn first in bands";
            RasterSurface banded(s.width, s.height, scale);
            banded.drawRecorded(recording.ops(), 2);
            const std::vector<Rgba8> got = banded.pixels();
            ASSERT_EQ(got.size(), expected.size());
            EXPECT_LE(largestDifference(got, expected), 2)
                << "labels " << labels << ", centre " << c.ra << " h " << c.dec << " deg, 2 bands";
        }
}

// Phone and tablet; 1.5 pixels a point is drawn by no other test.
INSTANTIATE_TEST_SUITE_P(PhoneAndTablet, BandedFramePixels,
                         ::testing::Values(ScreenAtScale{{320, 480}, 1.5}, ScreenAtScale{{320, 480}, 1.0},
                                           ScreenAtScale{{320, 480}, 2.0}, ScreenAtScale{{1024, 768}, 1.5},
                                           ScreenAtScale{{1024, 768}, 1.0}, ScreenAtScale{{1024, 768}, 2.0}),
                         [](const ::testing::TestParamInfo<ScreenAtScale>& param) {
                             const auto& p = param.param;
                             return std::to_string(static_cast<int>(p.screen.width)) + "x" +
                                    std::to_string(static_cast<int>(p.screen.height)) + "At" +
                                    std::to_string(static_cast<int>(p.scale * 10)) + "Tenths";
                         });

TEST(BandedFrame, MoreBandsThanRowsStillDrawsEveryRow)
{
    auto view = test::makeView({320, 480, 17, 31, 1.0, 0});
    RecordingContext recording;
    test::drawFrame(*view, &recording);
    RasterSurface whole(320, 3, 1.0);
    replay(recording.ops(), whole.context());
    RasterSurface banded(320, 3, 1.0);
    banded.drawRecorded(recording.ops(), 8);
    EXPECT_EQ(banded.pixels(), whole.pixels());
}

TEST(BandedFrame, DiscsReachingJustIntoABandAreDrawnThereToo)
{
    // Each band skips the discs wholly outside it. Two bands of 100 rows meet at row 100: discs
    // whose edges reach a fraction of a pixel across, from either side, and one on the boundary.
    RecordingContext recording;
    CGContextClearRect(&recording, CGRectMake(0, 0, 200, 200));
    CGContextSetRGBFillColor(&recording, 1, 1, 1, 1);
    const float tops[] = {90.3f, 99.7f, 96.0f, 100.05f, 100.4f, 85.0f};
    for (std::size_t i = 0; i < std::size(tops); ++i)
        CGContextFillEllipseInRect(&recording, CGRectMake(10.0f + 30.0f * static_cast<float>(i), tops[i],
                                                          i == 2 ? 8.0f : 9.6f, i == 2 ? 8.0f : 9.6f));
    CGContextFillEllipseInRect(&recording, CGRectMake(5, 90.05f, 4, 9.9f)); // ends 0.05 short of row 100

    RasterSurface whole(200, 200, 1.0);
    replay(recording.ops(), whole.context());
    RasterSurface banded(200, 200, 1.0);
    banded.drawRecorded(recording.ops(), 2);
    EXPECT_LE(largestDifference(banded.pixels(), whole.pixels()), 2);
    // The row either side of the boundary holds some of the discs that reach it.
    const auto lit = [](const std::vector<Rgba8>& pixels, int row) {
        int n = 0;
        for (int x = 0; x < 200; ++x)
            n += pixels[static_cast<std::size_t>(row) * 200 + static_cast<std::size_t>(x)].red > 0;
        return n;
    };
    EXPECT_GT(lit(banded.pixels(), 99), 0);
    EXPECT_GT(lit(banded.pixels(), 100), 0);
    EXPECT_EQ(lit(banded.pixels(), 100), lit(whole.pixels(), 100));
}

TEST(BandedFrame, SmallImagesAreDrawnWholeAndLargeOnesCutForEveryCore)
{
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // A phone at one and one and a half pixels a point is drawn whole: cut, each band would stroke
    // every path again for little to rasterise.
    EXPECT_EQ(bandsFor(320, 480), 1);
    EXPECT_EQ(bandsFor(480, 720), 1);
    EXPECT_EQ(bandsFor(0, 0), 1);
    EXPECT_EQ(bandsFor(-2048, 1536), 1);
    // A phone at two and a tablet at one: two bands where there are two cores.
    EXPECT_EQ(bandsFor(640, 960), std::min(cores, 2));
    EXPECT_EQ(bandsFor(1024, 768), std::min(cores, 2));
    // Larger images get a band for each core, and no image more than four.
    EXPECT_EQ(bandsFor(2048, 1536), std::min(cores, 4));
    EXPECT_EQ(bandsFor(16384, 16384), std::min(cores, 4));
}

} // namespace
} // namespace dazed
