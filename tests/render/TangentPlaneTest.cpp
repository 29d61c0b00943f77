#include "render/TangentPlane.h"

#include "AtlasTestSupport.h"
#include "render/AtlasLayout.h"

#include <gtest/gtest.h>
#include <random>

namespace dazed {
namespace {

using test::kDeg;
using test::RaDec;

TEST(TangentPlane, StandardCoordinatesAgreeWithTheTextbookFormulas)
{
    std::mt19937_64 random(3);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        const RaDec centre = test::randomDirection(random);
        const RaDec p = test::randomDirection(random);
        const auto expected = test::textbookGnomonic(centre, p);
        const auto got = gnomonic(tangentBasis(centre.ra, centre.dec), unitVector(p.ra, p.dec));
        ASSERT_EQ(expected.has_value(), got.has_value());
        if (!expected || std::hypot(expected->xi, expected->eta) > 5.0)
            continue;
        EXPECT_NEAR(got->xi, expected->xi, 1e-12);
        EXPECT_NEAR(got->eta, expected->eta, 1e-12);
        ++compared;
    }
    EXPECT_GT(compared, 8000);
}

TEST(TangentPlane, NorthIsUpAndEastIsLeftOnThePage)
{
    const RaDec centre{90.0 * kDeg, 20.0 * kDeg};
    const TangentBasis basis = tangentBasis(centre.ra, centre.dec);
    const auto east = gnomonic(basis, unitVector(centre.ra + 5.0 * kDeg, centre.dec));
    const auto north = gnomonic(basis, unitVector(centre.ra, centre.dec + 5.0 * kDeg));
    ASSERT_TRUE(east && north);
    // A point 5 degrees north lies tan 5 degrees up: R tan(5 deg) mm above the tangent point.
    EXPECT_NEAR(north->eta, std::tan(5.0 * kDeg), 1e-12);
    const PagePoint middle = pagePointOfMm(Paper::A4, 0, 0);
    const PagePoint e = pagePointOfPlane(Paper::A4, kDefaultRadiusMm, *east);
    const PagePoint n = pagePointOfPlane(Paper::A4, kDefaultRadiusMm, *north);
    // East lies left, by R xi millimetres; north up (y grows down the page).
    EXPECT_LT(e.x, middle.x);
    EXPECT_NEAR((middle.x - e.x) / (72.0 / 25.4), kDefaultRadiusMm * east->xi, 1e-9);
    EXPECT_GT(east->xi, 0.0);
    EXPECT_LT(n.y, middle.y);
    EXPECT_NEAR((middle.y - n.y) / (72.0 / 25.4), kDefaultRadiusMm * std::tan(5.0 * kDeg), 1e-9);
}

TEST(TangentPlane, FarHemisphereAndNaNHaveNoImage)
{
    const TangentBasis basis = tangentBasis(0.0, 0.0);
    EXPECT_FALSE(gnomonic(basis, {-1.0, 0.0, 0.0}));
    EXPECT_FALSE(gnomonic(basis, {0.0, 1.0, 0.0})); // 90 degrees out
    EXPECT_FALSE(gnomonic(basis, {std::nan(""), 0.0, 0.0}));
}

TEST(TangentPlane, InverseReturnsTheDirection)
{
    std::mt19937_64 random(11);
    for (int i = 0; i < 1000; ++i) {
        const RaDec centre = test::randomDirection(random);
        const TangentBasis basis = tangentBasis(centre.ra, centre.dec);
        const PlanePoint p{std::uniform_real_distribution<double>(-2, 2)(random),
                           std::uniform_real_distribution<double>(-2, 2)(random)};
        const auto back = gnomonic(basis, inverseGnomonic(basis, p));
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->xi, p.xi, 1e-12);
        EXPECT_NEAR(back->eta, p.eta, 1e-12);
    }
}

// Every great circle is a straight line: three of its points have collinear images on every page
// of the atlas that holds them.
TEST(TangentPlane, GreatCirclesAreStraightOnEveryPage)
{
    const PageExtent extent = pageExtent(Paper::A4, kDefaultRadiusMm);
    const AtlasScheme scheme = atlasScheme(extent);
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * std::numbers::pi);
    int checked = 0;
    for (int i = 0; i < 3000; ++i) {
        const RaDec start = test::randomDirection(random);
        const double bearing = angle(random);
        const RaDec a = start;
        const RaDec b = test::travel(start, bearing, 12.0 * kDeg);
        const RaDec c = test::travel(start, bearing, 31.0 * kDeg);
        for (const AtlasPage& page : scheme.pages) {
            const TangentBasis basis = tangentBasis(page.raHours * 15.0 * kDeg, page.decDegrees * kDeg);
            const auto pa = gnomonic(basis, unitVector(a.ra, a.dec));
            const auto pb = gnomonic(basis, unitVector(b.ra, b.dec));
            const auto pc = gnomonic(basis, unitVector(c.ra, c.dec));
            const auto on = [&](const std::optional<PlanePoint>& p) {
                return p && std::fabs(p->xi) <= extent.halfWidth && std::fabs(p->eta) <= extent.halfHeight;
            };
            if (!on(pa) || !on(pb) || !on(pc))
                continue;
            const PagePoint ma = pagePointOfPlane(Paper::A4, kDefaultRadiusMm, *pa);
            const PagePoint mb = pagePointOfPlane(Paper::A4, kDefaultRadiusMm, *pb);
            const PagePoint mc = pagePointOfPlane(Paper::A4, kDefaultRadiusMm, *pc);
            // The distance of the middle point from the line through the outer two, in points.
            const double cross = (mb.x - ma.x) * (mc.y - ma.y) - (mb.y - ma.y) * (mc.x - ma.x);
            const double length = std::hypot(mc.x - ma.x, mc.y - ma.y);
            EXPECT_LT(std::fabs(cross) / length, 1e-6);
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

} // namespace
} // namespace dazed
