// Where a recorded frame is cut into bands of rows: always a valid set of bands, cut where the
// work is rather than at equal heights, and equal heights where nothing tells the work apart.

#include "platform/graphics/BandCuts.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace dazed {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// Segments stroked two points wide, each from (x, top) to (x + 40, bottom), `count` of them.
std::vector<DrawOp> segmentsBetween(float top, float bottom, int count)
{
    std::vector<CGPoint> points;
    for (int i = 0; i < count; ++i) {
        points.push_back({static_cast<float>(i), top});
        points.push_back({static_cast<float>(i) + 40.0f, bottom});
    }
    const std::size_t n = points.size();
    return {op::SetLineWidth{2.0f}, op::StrokeLineSegments{std::move(points), n}};
}

// A frame of the chart's kind: the whole view cleared, then whatever `rest` draws.
std::vector<DrawOp> clearedThen(CGSize view, std::vector<DrawOp> rest)
{
    std::vector<DrawOp> ops{op::ClearRect{CGRectMake(0, 0, view.width, view.height)}};
    ops.insert(ops.end(), rest.begin(), rest.end());
    return ops;
}

// Bands start at row 0, each a row below the last, all inside the image.
void expectValidStarts(const std::vector<int>& starts, int height, int bands)
{
    const int expected = height <= 0 ? 0 : std::max(1, std::min(bands, height));
    ASSERT_EQ(static_cast<int>(starts.size()), expected) << height << " rows, " << bands << " bands";
    if (starts.empty())
        return;
    EXPECT_EQ(starts.front(), 0);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_GT(starts[i], starts[i - 1]) << "band " << i << " of " << height << " rows";
    EXPECT_LT(starts.back(), height);
}

TEST(BandCuts, EveryImageGetsBandsThatStartAtTheTopAndEachHaveARow)
{
    const CGSize view{320, 480};
    const std::vector<std::vector<DrawOp>> recordings{
        {},
        clearedThen(view, {}),
        clearedThen(view, segmentsBetween(0, 20, 50)),
        clearedThen(view, segmentsBetween(470, 480, 50)),
        segmentsBetween(-100, 900, 3),
    };
    for (const auto& ops : recordings)
        for (int height : {0, 1, 2, 3, 7, 960, 1536})
            for (int bands : {1, 2, 3, 4, 8})
                expectValidStarts(bandStartsFor(ops, {}, 2.0, height, bands), height, bands);
}

TEST(BandCuts, WorkCrowdedIntoTheTopOfTheFrameIsSharedOutThere)
{
    // Two hundred segments within the top fifty points of a phone frame at two pixels a point
    // (rows 0 to 100), nothing below but the clear.
    const std::vector<DrawOp> ops = clearedThen({320, 480}, segmentsBetween(0, 50, 200));
    const std::vector<int> two = bandStartsFor(ops, {}, 2.0, 960, 2);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_GT(two[1], 10);
    EXPECT_LT(two[1], 100) << "the second band takes the rest of the crowded rows and all the empty ones";

    const std::vector<int> four = bandStartsFor(ops, {}, 2.0, 960, 4);
    ASSERT_EQ(four.size(), 4u);
    EXPECT_LT(four[3], 110);

    // The same frame moved down by its origin: the cut moves with it.
    const std::vector<int> moved = bandStartsFor(ops, {0, 200}, 2.0, 960, 2);
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_GT(moved[1], 400);
    EXPECT_LT(moved[1], 500);
}

TEST(BandCuts, WorkSpreadEvenlyOrNotAtAllGivesBandsOfEqualHeight)
{
    const CGSize view{320, 480};
    // A clear of the whole view costs the same on every row.
    const std::vector<int> cleared = bandStartsFor(clearedThen(view, {}), {}, 2.0, 960, 2);
    ASSERT_EQ(cleared.size(), 2u);
    EXPECT_NEAR(cleared[1], 480, 1);

    // Work wholly above or below the image costs it nothing.
    for (float top : {-400.0f, 600.0f}) {
        const std::vector<int> starts = bandStartsFor(segmentsBetween(top, top + 50, 100), {}, 2.0, 960, 4);
        EXPECT_EQ(starts, (std::vector<int>{0, 240, 480, 720})) << "segments from " << top << " points";
    }
}

TEST(BandCuts, WorkTheClipHidesIsLeftOut)
{
    // Crowded segments in the top half, clipped away: only the clear of the bottom half counts, so
    // its rows are halved.
    const std::vector<DrawOp> ops = clearedThen({320, 480}, segmentsBetween(0, 200, 200));
    const std::vector<int> starts = bandStartsFor(ops, {}, 2.0, 960, 2, CGRectMake(0, 240, 320, 240));
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_NEAR(starts[1], 720, 1);
}

TEST(BandCuts, OutlandishInputsStillGiveValidBands)
{
    const std::vector<DrawOp> ops = clearedThen(
        {320, 480},
        {op::SetLineWidth{kInfinity},
         op::StrokeLineSegments{{{0, kNaN}, {10, 20}, {0, -kInfinity}, {5, kInfinity}}, 4},
         op::StrokeLineSegments{{{0, 1e30f}, {10, -1e30f}}, 9},
         op::FillEllipseInRect{CGRectMake(0, kNaN, 4, 4)},
         op::SelectFont{"Helvetica", kNaN, kCGEncodingMacRoman}, op::ShowTextAtPoint{5, 100, "Vega"},
         op::MoveToPoint{0, 0}, op::AddLineToPoint{kNaN, 5}, op::StrokePath{}});
    for (double scale : {2.0, 0.0, -1.0, std::nan(""), 1e300})
        for (CGPoint origin : {CGPoint{0, 0}, CGPoint{kNaN, kNaN}, CGPoint{0, -kInfinity}, CGPoint{0, 1e30f}})
            expectValidStarts(bandStartsFor(ops, origin, scale, 960, 3), 960, 3);
    // A clip that is not a number hides nothing it could be sure of; the bands are still valid.
    expectValidStarts(bandStartsFor(ops, {}, 2.0, 960, 2, CGRectMake(kNaN, kNaN, kNaN, kNaN)), 960, 2);
    expectValidStarts(bandStartsFor(ops, {}, 2.0, -5, 2), -5, 2);
}

} // namespace
} // namespace dazed
