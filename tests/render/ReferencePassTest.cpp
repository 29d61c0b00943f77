#include "RenderTestSupport.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using test::Dash;
using test::dashesIn;

const op::SetRGBStrokeColor kEcliptic{0.4f, 0, 0, 1};
const op::SetRGBStrokeColor kEquator{0, 0.6f, 0, 1};

TEST(EclipticAndEquator, FirstDashesFromTheOrigin)
{
    auto frame = test::recordFrame({320, 480, 0, 0});
    const auto ecliptic = dashesIn(frame->rec, kEcliptic);
    ASSERT_FALSE(ecliptic.empty());
    EXPECT_FLOAT_EQ(ecliptic[0].from.x, 160.0f);
    EXPECT_FLOAT_EQ(ecliptic[0].from.y, 240.0f);
    EXPECT_NEAR(ecliptic[0].to.x, 141.959, 0.001);
    EXPECT_NEAR(ecliptic[0].to.y, 232.179, 0.001);
    const auto equator = dashesIn(frame->rec, kEquator);
    ASSERT_FALSE(equator.empty());
    EXPECT_EQ(equator[0].from.x, 160.0f);
    EXPECT_EQ(equator[0].from.y, 240.0f);
    EXPECT_NEAR(equator[0].to.x, 160.0 - 300.0 * std::tan(degreesTimesPiOver180(1.25)), 0.001);
    EXPECT_NEAR(equator[0].to.x, 153.454, 0.001);
    EXPECT_EQ(equator[0].to.y, 240.0f);
    // Each dash is its own sub-path, all stroked once, at width 2.
    const auto& ops = frame->rec.ops();
    for (std::size_t i = 0; i + 1 < ops.size(); ++i)
        if (ops[i] == DrawOp{kEcliptic} || ops[i] == DrawOp{kEquator}) {
            EXPECT_EQ(ops[i + 1], DrawOp{op::SetLineWidth{2}});
            EXPECT_EQ(ops[i + 2], DrawOp{op::BeginPath{}});
        }
}

TEST(EclipticAndEquator, SolsticeDashStartsAtTheCentreWhenCentredOnIt)
{
    // Dash 12 starts at ecliptic longitude 90 degrees: 6 h, +23.4379789311 degrees.
    auto frame = test::recordFrame({320, 480, 6, 23.4379789311f});
    bool found = false;
    for (const Dash& d : dashesIn(frame->rec, kEcliptic))
        if (std::abs(d.from.x - 160) < 0.01 && std::abs(d.from.y - 240) < 0.01)
            found = true;
    EXPECT_TRUE(found);
}

TEST(EclipticAndEquator, ADashWithItsStartJustInsideIsDrawnWhole)
{
    // With the centre on the 0 h meridian at +44.9 deg only the equator dash starting at 0 h is
    // within 45 degrees; its end, 1.25 degrees along, is drawn though further out.
    auto inside = test::recordFrame({320, 480, 0, 44.9f});
    const auto dashes = dashesIn(inside->rec, kEquator);
    ASSERT_EQ(dashes.size(), 1u);
    EXPECT_FLOAT_EQ(dashes[0].from.x, 160.0f);
    EXPECT_LT(dashes[0].to.x, 160.0f);
    auto outside = test::recordFrame({320, 480, 0, 45.1f});
    EXPECT_TRUE(dashesIn(outside->rec, kEquator).empty());
}

TEST(EclipticAndEquator, LabelModeHidesNothing)
{
    for (int mode : {1, 2}) {
        auto frame = test::recordFrame({320, 480, 3, 10, 1.0, mode});
        auto base = test::recordFrame({320, 480, 3, 10, 1.0, 0});
        EXPECT_EQ(dashesIn(frame->rec, kEcliptic).size(), dashesIn(base->rec, kEcliptic).size());
        EXPECT_EQ(dashesIn(frame->rec, kEquator).size(), dashesIn(base->rec, kEquator).size());
        EXPECT_FALSE(dashesIn(frame->rec, kEquator).empty());
    }
}

TEST(GalacticCentre, MarkOnTheCentreWithTextOffset)
{
    for (float width : {320.0f, 768.0f}) {
        auto frame = test::recordFrame({width, 480, 17.76f, -28.933f, 1.0, 2});
        const auto& ops = frame->rec.ops();
        const auto gcFill = std::find(ops.begin(), ops.end(), DrawOp{op::SetRGBFillColor{0, 0.5f, 0, 1}});
        ASSERT_NE(gcFill, ops.end());
        EXPECT_EQ(*(gcFill + 1), DrawOp{op::SetLineWidth{0}});
        EXPECT_EQ(std::get<op::SelectFont>(*(gcFill + 2)).size, 12.0f);
        auto it = gcFill + 3;
        if (width > 480) {
            EXPECT_EQ(std::get<op::SelectFont>(*it++).size, 22.0f);
        }
        it += 2; // mode and matrix
        const auto text = std::get<op::ShowTextAtPoint>(*it++);
        const float cx = width * 0.5f;
        EXPECT_EQ(text.text, "GC");
        // The centre is given in single precision, so the mark lands within a hair of it.
        EXPECT_NEAR(text.x, cx - 10, 0.01);
        EXPECT_NEAR(text.y, 240 - 8, 0.01);
        EXPECT_EQ(*it++, DrawOp{op::SetLineWidth{1}});
        EXPECT_EQ(*it++, DrawOp{op::BeginPath{}});
        const auto m1 = std::get<op::MoveToPoint>(*it++);
        const auto l1 = std::get<op::AddLineToPoint>(*it++);
        const auto m2 = std::get<op::MoveToPoint>(*it++);
        const auto l2 = std::get<op::AddLineToPoint>(*it++);
        EXPECT_EQ(*it, DrawOp{op::StrokePath{}});
        EXPECT_NEAR(m1.x, cx - 5, 0.01);
        EXPECT_NEAR(l1.x, cx + 5, 0.01);
        EXPECT_NEAR(m2.y, 235, 0.01);
        EXPECT_NEAR(l2.y, 245, 0.01);
        EXPECT_EQ(m1.y, l1.y);
        EXPECT_EQ(m2.x, l2.x);
    }
}

TEST(GalacticCentre, NothingBeyond45Degrees)
{
    auto frame = test::recordFrame({320, 480, 6, 30});
    for (const auto& t : frame->rec.all<op::ShowTextAtPoint>())
        EXPECT_NE(t.text, "GC");
    // Its colour and width are still set.
    EXPECT_NE(std::find(frame->rec.ops().begin(), frame->rec.ops().end(),
                        DrawOp{op::SetRGBFillColor{0, 0.5f, 0, 1}}),
              frame->rec.ops().end());
}

} // namespace
} // namespace dazed
