#include "render/LinePass.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

constexpr double kTwoPiOverSeven = 2.0 * std::numbers::pi / 7.0;

// Segments whose first end lies within 2 pi / 7 of the centre, counted with unit vectors.
int bruteForceRetained(double raHours, double decDegrees)
{
    int n = 0;
    for (int i = 0; i < kLineCount; ++i) {
        const float* seg = linesrd + i * kLineStride;
        if (test::separation(seg[0], seg[1], test::hoursToRadians(raHours),
                             test::degreesToRadians(decDegrees)) < kTwoPiOverSeven)
            ++n;
    }
    return n;
}

TEST(LinePass, RetainedSegmentsMatchABruteForceCount)
{
    struct Centre {
        float ra, dec;
    };
    for (Centre c : {Centre{17, 31}, Centre{19.03f, -72}, Centre{6, 50}, Centre{0, 0}, Centre{12, 90}}) {
        auto frame = test::recordFrame({320, 480, c.ra, c.dec});
        const int expected = bruteForceRetained(c.ra, c.dec);
        EXPECT_EQ(frame->view->fields().nblines, 2 * expected) << c.ra << " h " << c.dec << " deg";
        EXPECT_GT(expected, 0);
        // One stroke call takes all of them.
        const auto strokes = frame->rec.all<op::StrokeLineSegments>();
        ASSERT_EQ(strokes.size(), 1u);
        EXPECT_EQ(strokes[0].count, static_cast<std::size_t>(frame->view->fields().nblines));
        const auto kept = frame->view->retainedPoints();
        EXPECT_EQ(strokes[0].points, std::vector<CGPoint>(kept.begin(), kept.end()));
        EXPECT_EQ(frame->view->fields().ctxDraw, &frame->rec);
    }
}

TEST(LinePass, NoCentreOfADenseGridRetainsMoreThanTheBufferHolds)
{
    auto view = test::makeView({320, 480});
    int most = 0;
    for (int ra = 0; ra < 48; ++ra)
        for (int dec = -90; dec <= 90; dec += 3) {
            view->writexs(ra * 0.5f, static_cast<float>(dec), 320, 480);
            view->drawRect(view->bounds());
            most = std::max(most, view->fields().nblines / 2);
        }
    EXPECT_LT(most, QuartzView::kPointCapacity / 2);
    EXPECT_GT(most, 100);
}

// One segment record with both ends given in degrees (right ascension in degrees too).
void addSegment(std::vector<float>& table, double ra1, double dec1, double ra2, double dec2)
{
    const double r1 = test::degreesToRadians(ra1), d1 = test::degreesToRadians(dec1);
    const double r2 = test::degreesToRadians(ra2), d2 = test::degreesToRadians(dec2);
    for (double v : {r1, d1, r2, d2, std::sin(d1), std::cos(d1), std::sin(d2), std::cos(d2)})
        table.push_back(static_cast<float>(v));
}

SkyFrame phoneFrameAtOrigin()
{
    SkyFrame f;
    f.scale = 300.0;
    f.cx = 160.0f;
    f.cy = 240.0f;
    return f;
}

TEST(LinePass, OnlyTheFirstEndIsTested)
{
    std::vector<float> table;
    addSegment(table, 0, 51.5, 0, 40); // first end out, second well in: skipped
    addSegment(table, 0, 51.4, 0, 70); // first end in, second far out: kept whole
    std::array<CGPoint, 8> out{};
    const int n = projectSegments(phoneFrameAtOrigin(), table, out);
    ASSERT_EQ(n, 2);
    EXPECT_NEAR(out[0].y, 240.0 - 300.0 * std::tan(test::degreesToRadians(51.4)), 0.01);
    EXPECT_NEAR(out[1].y, 240.0 - 300.0 * std::tan(test::degreesToRadians(70.0)), 0.05);
    EXPECT_FLOAT_EQ(out[1].x, 160.0f);
}

TEST(LinePass, StoringStopsAtTheBufferCapacity)
{
    std::vector<float> table;
    for (int i = 0; i < 300; ++i)
        addSegment(table, 1, 1, 2, 2);
    std::array<CGPoint, QuartzView::kPointCapacity + 2> out{};
    const CGPoint guard{-7, -7};
    out[QuartzView::kPointCapacity] = guard;
    out[QuartzView::kPointCapacity + 1] = guard;
    const int n = projectSegments(phoneFrameAtOrigin(), table,
                                  std::span<CGPoint>(out.data(), QuartzView::kPointCapacity));
    EXPECT_EQ(n, QuartzView::kPointCapacity);
    EXPECT_EQ(out[QuartzView::kPointCapacity], guard);
    EXPECT_EQ(out[QuartzView::kPointCapacity + 1], guard);
    // An odd-sized buffer never gets half a segment.
    EXPECT_EQ(projectSegments(phoneFrameAtOrigin(), table, std::span<CGPoint>(out.data(), 5)), 4);
}

TEST(LinePass, EmptyOrDistantTablesRetainNothing)
{
    std::array<CGPoint, 4> out{};
    EXPECT_EQ(projectSegments(phoneFrameAtOrigin(), {}, out), 0);
    std::vector<float> table;
    addSegment(table, 180, 0, 181, 1);
    EXPECT_EQ(projectSegments(phoneFrameAtOrigin(), table, out), 0);
}

} // namespace
} // namespace dazed
