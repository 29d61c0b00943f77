#include "render/LinePass.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>
#include <iostream>

namespace dazed {
namespace {

constexpr double kTwoPiOverSeven = 2.0 * kPi / 7.0;

// Segments whose first end lies within 2 pi / 7 of the centre, counted with unit vectors.
int bruteForceRetained(double raHours, double decDegrees)
{
    int n = 0;
    for (int i = 0; i < kLineCount; ++i) {
        const float* seg = linesrd + i * kLineStride;
        if (separation(seg[0], seg[1], hoursTimesPiOver12(raHours), degreesTimesPiOver180(decDegrees)) <
            kTwoPiOverSeven)
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
        std::cout << "[ info ] centre " << c.ra << " h " << c.dec << " deg: " << expected
                  << " segments retained\n";
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
    // Every 15 minutes of right ascension and every 2 degrees of declination.
    std::array<CGPoint, QuartzView::kPointCapacity> out{};
    const std::span<const float> table(linesrd, static_cast<std::size_t>(kLineCount) * kLineStride);
    int most = 0;
    for (int ra = 0; ra < 96; ++ra)
        for (int dec = -90; dec <= 90; dec += 2) {
            const SkyFrame f = makeSkyFrame(nullptr, {.centreHours = ra * 0.25,
                                                      .centreDegrees = static_cast<double>(dec),
                                                      .width = 320,
                                                      .height = 480,
                                                      .ech = 1.0});
            most = std::max(most, projectSegments(f, table, out) / 2);
        }
    std::cout << "[ info ] most segments retained over the grid: " << most << "\n";
    EXPECT_LT(most, QuartzView::kPointCapacity / 2);
    EXPECT_GT(most, 100);
}

// One segment record with both ends given in degrees (right ascension in degrees too).
void addSegment(std::vector<float>& table, double ra1, double dec1, double ra2, double dec2)
{
    const double r1 = degreesTimesPiOver180(ra1), d1 = degreesTimesPiOver180(dec1);
    const double r2 = degreesTimesPiOver180(ra2), d2 = degreesTimesPiOver180(dec2);
    for (double v : {r1, d1, r2, d2, std::sin(d1), std::cos(d1), std::sin(d2), std::cos(d2)})
        table.push_back(static_cast<float>(v));
}

SkyFrame phoneFrameAtOrigin()
{
    return makeSkyFrame(nullptr, {.width = 320, .height = 480, .ech = 1.0});
}

TEST(LinePass, OnlyTheFirstEndIsTested)
{
    std::vector<float> table;
    addSegment(table, 0, 51.5, 0, 40); // first end out, second well in: skipped
    addSegment(table, 0, 51.4, 0, 70); // first end in, second far out: kept whole
    std::array<CGPoint, 8> out{};
    const int n = projectSegments(phoneFrameAtOrigin(), table, out);
    ASSERT_EQ(n, 2);
    EXPECT_NEAR(out[0].y, 240.0 - 300.0 * std::tan(degreesTimesPiOver180(51.4)), 0.01);
    EXPECT_NEAR(out[1].y, 240.0 - 300.0 * std::tan(degreesTimesPiOver180(70.0)), 0.05);
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
