#include "render/AtlasScheme.h"

#include "AtlasTestSupport.h"
#include "render/AtlasLayout.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace dazed {
namespace {

using test::kDeg;
using test::RaDec;

RaDec centreOf(const AtlasPage& page)
{
    return {page.raHours * 15.0 * kDeg, page.decDegrees * kDeg};
}

// Whether a point's textbook image lies in the page's chart area.
bool onPage(const AtlasPage& page, PageExtent extent, RaDec p)
{
    const auto s = test::textbookGnomonic(centreOf(page), p);
    return s && std::fabs(s->xi) <= extent.halfWidth && std::fabs(s->eta) <= extent.halfHeight;
}

// Whether the whole circle of `radius` around `p` (72 points on it) and `p` itself lie on the page:
// the chart area is convex on the sphere, so then the whole cap does.
bool capOnPage(const AtlasPage& page, PageExtent extent, RaDec p, double radius)
{
    if (!onPage(page, extent, p))
        return false;
    for (int k = 0; k < 72; ++k)
        if (!onPage(page, extent, test::travel(p, k * 5.0 * kDeg, radius)))
            return false;
    return true;
}

struct Case {
    Paper paper;
    double radiusMm;
};

const Case kCases[] = {{Paper::A4, kDefaultRadiusMm},
                       {Paper::Letter, kDefaultRadiusMm},
                       {Paper::A4, 100.0},
                       {Paper::A4, 250.0},
                       {Paper::Letter, kMinimumRadiusMm}};

TEST(AtlasScheme, DefaultA4AtlasHas27PagesSymmetricAboutTheEquator)
{
    const AtlasScheme scheme = atlasScheme(pageExtent(Paper::A4, kDefaultRadiusMm));
    ASSERT_EQ(scheme.pages.size(), 27u);
    // Numbered 1.. in order, the north pole first and the south pole last.
    for (std::size_t i = 0; i < scheme.pages.size(); ++i)
        EXPECT_EQ(scheme.pages[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(scheme.pages.front().decDegrees, 90.0);
    EXPECT_EQ(scheme.pages.back().decDegrees, -90.0);
    for (std::size_t i = 0; i < scheme.rings.size(); ++i) {
        const AtlasRing& north = scheme.rings[i];
        const AtlasRing& south = scheme.rings[scheme.rings.size() - 1 - i];
        EXPECT_EQ(north.decDegrees, -south.decDegrees);
        EXPECT_EQ(north.count, south.count);
    }
}

TEST(AtlasScheme, EveryRandomDirectionLiesTenDegreesInsideSomePage)
{
    std::mt19937_64 random(20261209);
    for (const Case& c : kCases) {
        const PageExtent extent = pageExtent(c.paper, c.radiusMm);
        const AtlasScheme scheme = atlasScheme(extent);
        ASSERT_FALSE(scheme.pages.empty()) << c.radiusMm;
        for (int i = 0; i < 1500; ++i) {
            const RaDec p = test::randomDirection(random);
            bool inside = false;
            for (const AtlasPage& page : scheme.pages)
                inside = inside || capOnPage(page, extent, p, kAtlasMarginDegrees * kDeg);
            ASSERT_TRUE(inside) << "RA " << p.ra / kDeg << " Dec " << p.dec / kDeg << " R " << c.radiusMm;
        }
    }
}

TEST(AtlasScheme, EveryRandomTwentyDegreeArcLiesWholeOnSomePage)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> bearing(0.0, 360.0 * kDeg);
    for (const Case& c : kCases) {
        const PageExtent extent = pageExtent(c.paper, c.radiusMm);
        const AtlasScheme scheme = atlasScheme(extent);
        for (int i = 0; i < 1500; ++i) {
            const RaDec start = test::randomDirection(random);
            const double towards = bearing(random);
            bool whole = false;
            for (const AtlasPage& page : scheme.pages) {
                bool all = true;
                for (int k = 0; k <= 40 && all; ++k)
                    all = onPage(page, extent, test::travel(start, towards, k * 0.5 * kDeg));
                whole = whole || all;
            }
            ASSERT_TRUE(whole) << "from RA " << start.ra / kDeg << " Dec " << start.dec / kDeg;
        }
    }
}

TEST(AtlasScheme, DepthInsideIsTheDistanceToTheNearestEdge)
{
    const PageExtent extent = pageExtent(Paper::A4, kDefaultRadiusMm);
    const RaDec centre{30.0 * kDeg, 40.0 * kDeg};
    const TangentBasis basis = tangentBasis(centre.ra, centre.dec);
    // The centre lies atan(half-width) from the side edges, the nearer ones.
    EXPECT_NEAR(depthInside(basis, extent, unitVector(centre.ra, centre.dec)), std::atan(extent.halfWidth),
                1e-12);
    // Walking due north, the distance left to the top edge shrinks one for one.
    const RaDec north = test::travel(centre, 0.0, 30.0 * kDeg);
    const RaDec dn = north;
    EXPECT_NEAR(depthInside(basis, extent, unitVector(dn.ra, dn.dec)),
                std::atan(extent.halfHeight) - 30.0 * kDeg, 1e-9);
    // Beyond an edge it is negative, behind the page still more.
    const RaDec out = test::travel(centre, 90.0 * kDeg, 40.0 * kDeg);
    const double outside = depthInside(basis, extent, unitVector(out.ra, out.dec));
    EXPECT_LT(outside, 0.0);
    EXPECT_LT(depthInside(basis, extent, unitVector(centre.ra + std::numbers::pi, -centre.dec)), outside);
}

TEST(AtlasScheme, PagesTooSmallForTheMarginGiveNoScheme)
{
    EXPECT_TRUE(atlasScheme({0.2, 0.9}).pages.empty());
    EXPECT_TRUE(atlasScheme({std::nan(""), 0.9}).pages.empty());
    EXPECT_TRUE(atlasScheme({0.0, 0.0}).pages.empty());
    EXPECT_FALSE(atlasScheme(pageExtent(Paper::A4, largestRadiusMm(Paper::A4))).pages.empty());
    EXPECT_FALSE(extentHoldsMargin(pageExtent(Paper::A4, largestRadiusMm(Paper::A4) + 0.1)));
}

// The north pole's chart has 12 h up (north at its centre is away from 0 h) and east, 6 h, on the
// left; its neighbours are the pages of the next ring nearest those hours.
TEST(AtlasScheme, ThePoleChartsNeighboursLieTowardsTheirHours)
{
    const PageExtent extent = pageExtent(Paper::A4, kDefaultRadiusMm);
    const AtlasScheme scheme = atlasScheme(extent);
    const PageNeighbours n = neighboursOf(scheme, 1, extent);
    const auto hoursOf = [&](int number) {
        return scheme.pages.at(static_cast<std::size_t>(number - 1)).raHours;
    };
    EXPECT_NEAR(hoursOf(n.left), 6.0, 1.5);
    EXPECT_NEAR(hoursOf(n.right), 18.0, 1.5);
    EXPECT_NEAR(hoursOf(n.top), 12.0, 1.5);
    EXPECT_TRUE(hoursOf(n.bottom) < 1.5 || hoursOf(n.bottom) > 22.5);
}

TEST(AtlasScheme, NeighboursShareSkyAndLieOnTheirSide)
{
    const PageExtent extent = pageExtent(Paper::A4, kDefaultRadiusMm);
    const AtlasScheme scheme = atlasScheme(extent);
    for (const AtlasPage& page : scheme.pages) {
        const PageNeighbours n = neighboursOf(scheme, page.number, extent);
        const int sides[4] = {n.left, n.right, n.top, n.bottom};
        for (int side = 0; side < 4; ++side) {
            if (sides[side] == 0)
                continue;
            const AtlasPage& other = scheme.pages.at(static_cast<std::size_t>(sides[side] - 1));
            // Some point of the sky lies on both: the midpoint of their centres.
            const UnitVector a = unitVector(centreOf(page).ra, centreOf(page).dec);
            const UnitVector b = unitVector(centreOf(other).ra, centreOf(other).dec);
            const double len =
                std::sqrt((a.x + b.x) * (a.x + b.x) + (a.y + b.y) * (a.y + b.y) + (a.z + b.z) * (a.z + b.z));
            const RaDec mid{std::atan2(a.y + b.y, a.x + b.x), std::asin((a.z + b.z) / len)};
            EXPECT_TRUE(onPage(page, extent, mid) && onPage(other, extent, mid))
                << page.number << " " << other.number;
            // Its centre's image lies on that side: left is east, positive xi.
            const auto s = test::textbookGnomonic(centreOf(page), centreOf(other));
            ASSERT_TRUE(s);
            if (side == 0) {
                EXPECT_GT(s->xi, std::fabs(s->eta) - 1e-9);
            } else if (side == 1) {
                EXPECT_LT(s->xi, -std::fabs(s->eta) + 1e-9);
            } else if (side == 2) {
                EXPECT_GT(s->eta, 0.0);
            } else {
                EXPECT_LT(s->eta, 0.0);
            }
        }
        // A ring page has a neighbour on every side.
        if (std::fabs(page.decDegrees) < 90.0) {
            EXPECT_NE(n.left, 0) << page.number;
            EXPECT_NE(n.right, 0) << page.number;
            EXPECT_NE(n.top, 0) << page.number;
            EXPECT_NE(n.bottom, 0) << page.number;
        }
    }
}

} // namespace
} // namespace dazed
