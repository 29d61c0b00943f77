#include "render/ParallelCurve.h"

#include "AtlasTestSupport.h"
#include "render/AtlasLayout.h"

#include <gtest/gtest.h>
#include <random>

namespace dazed {
namespace {

using test::kDeg;

// The distance, in tangent units, from a point of the plane to the image of the parallel at `dec`:
// the cone of the parallel meets the plane in the conic F = (tz + xi ez + eta nz)^2 -
// sin^2(dec) (1 + xi^2 + eta^2) = 0, and near the curve |F| / |grad F| is the distance to it.
double distanceToConic(const TangentBasis& b, double dec, PlanePoint p)
{
    const double s2 = std::sin(dec) * std::sin(dec);
    const double l = b.centre.z + p.xi * b.east.z + p.eta * b.north.z;
    const double f = l * l - s2 * (1.0 + p.xi * p.xi + p.eta * p.eta);
    const double gx = 2.0 * l * b.east.z - 2.0 * s2 * p.xi;
    const double gy = 2.0 * l * b.north.z - 2.0 * s2 * p.eta;
    return std::fabs(f) / std::hypot(gx, gy);
}

PlanePoint cubicAt(PlanePoint a, const CubicPiece& c, double u)
{
    const double v = 1.0 - u;
    return {v * v * v * a.xi + 3 * v * v * u * c.control1.xi + 3 * v * u * u * c.control2.xi +
                u * u * u * c.end.xi,
            v * v * v * a.eta + 3 * v * v * u * c.control1.eta + 3 * v * u * u * c.control2.eta +
                u * u * u * c.end.eta};
}

TEST(ParallelCurve, BezierPiecesStayWithinAHundredthOfAMillimetreOfTheConic)
{
    const double radius = kDefaultRadiusMm;
    const double tolerance = 0.002 / radius;
    std::mt19937_64 random(17);
    for (int i = 0; i < 60; ++i) {
        const test::RaDec centre = test::randomDirection(random);
        const TangentBasis basis = tangentBasis(centre.ra, centre.dec);
        for (double dec = -80.0; dec <= 80.0; dec += 10.0) {
            if (dec == 0.0)
                continue;
            const auto paths = parallelCurve(basis, dec * kDeg, std::cos(70.0 * kDeg), tolerance);
            for (const CurvePath& path : paths) {
                PlanePoint from = path.start;
                for (const CubicPiece& piece : path.pieces) {
                    for (int k = 0; k <= 16; ++k) {
                        const PlanePoint p = cubicAt(from, piece, k / 16.0);
                        ASSERT_LT(distanceToConic(basis, dec * kDeg, p) * radius, 0.01)
                            << "dec " << dec << " centre " << centre.ra / kDeg << ", " << centre.dec / kDeg;
                    }
                    from = piece.end;
                }
            }
        }
    }
}

TEST(ParallelCurve, EndsLieOnTheTextbookImagesOfTheParallel)
{
    const test::RaDec centre{45.0 * kDeg, 50.0 * kDeg};
    const TangentBasis basis = tangentBasis(centre.ra, centre.dec);
    const double dec = 40.0 * kDeg;
    const auto paths = parallelCurve(basis, dec, std::cos(60.0 * kDeg), 1e-5);
    ASSERT_EQ(paths.size(), 1u);
    ASSERT_GT(paths[0].pieces.size(), 4u);
    // Every piece's end is the image of a point at declination 40 degrees: invert the textbook
    // formula's image by finding the right ascension whose image it is.
    for (const CubicPiece& piece : paths[0].pieces) {
        const UnitVector d = inverseGnomonic(basis, piece.end);
        EXPECT_NEAR(std::asin(d.z), dec, 1e-12);
        const test::RaDec p{std::atan2(d.y, d.x), dec};
        const auto s = test::textbookGnomonic(centre, p);
        ASSERT_TRUE(s);
        EXPECT_NEAR(s->xi, piece.end.xi, 1e-12);
        EXPECT_NEAR(s->eta, piece.end.eta, 1e-12);
    }
}

TEST(ParallelCurve, PolesAndNonsenseGiveNothing)
{
    const TangentBasis basis = tangentBasis(0.0, 0.5);
    EXPECT_TRUE(parallelCurve(basis, 90.0 * kDeg, 0.5, 1e-5).empty());
    EXPECT_TRUE(parallelCurve(basis, std::nan(""), 0.5, 1e-5).empty());
    EXPECT_TRUE(parallelCurve(basis, 0.3, 0.5, 0.0).empty());
    // A parallel seen from its pole is a circle, drawn whole.
    const auto circle = parallelCurve(tangentBasis(0.0, 90.0 * kDeg), 70.0 * kDeg, 0.5, 1e-6);
    ASSERT_EQ(circle.size(), 1u);
    const PlanePoint end = circle[0].pieces.back().end;
    EXPECT_NEAR(end.xi, circle[0].start.xi, 1e-12);
    EXPECT_NEAR(end.eta, circle[0].start.eta, 1e-12);
    EXPECT_NEAR(std::hypot(end.xi, end.eta), std::tan(20.0 * kDeg), 1e-12);
}

} // namespace
} // namespace dazed
