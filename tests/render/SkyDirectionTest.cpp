// Passing over far positions by their unit vectors must never change what a frame draws: every
// position the quick test passes over is one the exact test would have rejected, at centres all
// over the sphere, the poles and a NaN centre included.

#include "RenderTestSupport.h"
#include "render/CatalogueDirections.h"
#include "render/LinePass.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace dazed {
namespace {

std::vector<SkyFrame> framesAllOverTheSky()
{
    std::vector<SkyFrame> frames;
    for (int ra = 0; ra <= 96; ra += 5)
        for (int dec = -90; dec <= 90; dec += 3)
            frames.push_back(makeSkyFrame(nullptr, {.centreHours = ra * 0.25 + 0.013,
                                                    .centreDegrees = static_cast<double>(dec),
                                                    .width = 320,
                                                    .height = 480,
                                                    .ech = 1.0}));
    for (double dec : {90.0, -90.0})
        frames.push_back(makeSkyFrame(
            nullptr, {.centreHours = 0.0, .centreDegrees = dec, .width = 768, .height = 1024, .ech = 3.0}));
    return frames;
}

TEST(SkyDirection, StarsPassedOverAreOutsideTheStarLimit)
{
    const auto& units = catalogueDirections().stars;
    ASSERT_EQ(units.size(), static_cast<std::size_t>(kStarCount));
    std::size_t passedOver = 0;
    for (const SkyFrame& f : framesAllOverTheSky())
        for (int i = 0; i < kStarCount; ++i) {
            if (!surelyOutside(f, units[static_cast<std::size_t>(i)], kStarCosLimit))
                continue;
            ++passedOver;
            const float* star = starrd + static_cast<std::ptrdiff_t>(i) * kStarStride;
            const double cosRho = cosDistance(f, std::cos(star[0] - f.alpha0), star[3], star[4]);
            EXPECT_FALSE(cosRho > kStarCosLimit)
                << "star " << i << " at centre " << f.centreHours << " h " << f.centreDegrees << " deg";
        }
    // The quick test does its work: most of the sky is outside any one view.
    EXPECT_GT(passedOver, framesAllOverTheSky().size() * kStarCount / 2);
}

TEST(SkyDirection, SegmentsAreProjectedAlikeWithAndWithoutTheQuickTest)
{
    const std::span<const float> table(linesrd, static_cast<std::size_t>(kLineCount) * kLineStride);
    std::array<CGPoint, QuartzView::kPointCapacity> quick{};
    std::array<CGPoint, QuartzView::kPointCapacity> exact{};
    for (const SkyFrame& f : framesAllOverTheSky()) {
        const int n = projectSegments(f, table, quick, catalogueDirections().segmentStarts);
        ASSERT_EQ(n, projectSegments(f, table, exact)) << f.centreHours << " h " << f.centreDegrees << " deg";
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(quick[static_cast<std::size_t>(i)].x, exact[static_cast<std::size_t>(i)].x);
            EXPECT_EQ(quick[static_cast<std::size_t>(i)].y, exact[static_cast<std::size_t>(i)].y);
        }
    }
}

TEST(SkyDirection, NamesAreVisibleExactlyWhenTheirHoursAndDegreesAre)
{
    for (const SkyFrame& f : framesAllOverTheSky())
        for (int i = 0; i < kConstellationCount; ++i) {
            const double hours = posMoyLines[i * kConstellationStride];
            const double degrees = posMoyLines[i * kConstellationStride + 1];
            SkyPoint prepared{-1, -1};
            const bool visible =
                projectVisible(f, catalogueDirections().labels[static_cast<std::size_t>(i)], prepared);
            // The same test written out from the projection's definition.
            const double deltaAlpha = hoursTimesPiOver12(hours) - f.alpha0;
            const double dec = degreesTimesPiOver180(degrees);
            const double cosRho = cosDistance(f, std::cos(deltaAlpha), std::sin(dec), std::cos(dec));
            ASSERT_EQ(visible, std::acos(cosRho) < kLabelLimit) << "label " << i;
            if (visible) {
                const SkyPoint p = project(f, std::sin(deltaAlpha), std::cos(deltaAlpha), std::sin(dec),
                                           std::cos(dec), cosRho);
                EXPECT_EQ(prepared.x, p.x);
                EXPECT_EQ(prepared.y, p.y);
            }
        }
}

TEST(SkyDirection, ANaNCentrePassesNothingOver)
{
    const SkyFrame f = makeSkyFrame(nullptr, {.centreHours = std::numeric_limits<double>::quiet_NaN(),
                                              .centreDegrees = 10.0,
                                              .width = 320,
                                              .height = 480,
                                              .ech = 1.0});
    for (const UnitVector& u : catalogueDirections().stars)
        EXPECT_FALSE(surelyOutside(f, u, kStarCosLimit));
    // A frame made by hand, without a centre vector, passes nothing over either.
    EXPECT_FALSE(surelyOutside(SkyFrame{}, catalogueDirections().stars[0], kStarCosLimit));
}

} // namespace
} // namespace dazed
