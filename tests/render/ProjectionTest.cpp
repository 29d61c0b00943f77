#include "RenderTestSupport.h"
#include "render/SkyFrame.h"

#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

using test::Dash;
using test::dashesIn;

const op::SetRGBStrokeColor kEquatorGreen{0, 0.6f, 0, 1};

TEST(Projection, WorkedValuesOnAPhone)
{
    const SkyFrame f = makeSkyFrame(nullptr, {.width = 320, .height = 480, .ech = 1.0});
    const SkyPoint east = projectHoursDegrees(f, 1.0, 0.0);
    EXPECT_NEAR(east.x, 79.615, 0.001);
    EXPECT_NEAR(east.y, 240.0, 1e-9);
    const SkyPoint north = projectHoursDegrees(f, 0.0, 10.0);
    EXPECT_NEAR(north.x, 160.0, 1e-9);
    EXPECT_NEAR(north.y, 187.102, 0.001);
    // A point rho from the centre lies scale x tan rho from it.
    EXPECT_NEAR(240.0 - north.y, 300.0 * std::tan(degreesTimesPiOver180(10.0)), 1e-9);

    // The same point through a frame: equator dash 2 starts at 1 h.
    auto frame = test::recordFrame({320, 480, 0, 0, 1.0});
    const auto dashes = dashesIn(frame->rec, kEquatorGreen);
    // Dashes 0, 1, 2 start at 0, 0.5 and 1 h.
    ASSERT_GE(dashes.size(), 3u);
    EXPECT_NEAR(dashes[2].from.x, 79.615, 0.001);
    EXPECT_EQ(dashes[2].from.y, 240.0f);
}

TEST(Projection, ZoomAndScreenClassSetTheScale)
{
    // 1 h east of a centre on the equator, drawn left of the centre by scale x tan 15 degrees.
    const auto leftOfCentre = [](float width, double ech) {
        auto frame = test::recordFrame({width, 480, 0, 0, ech});
        // Dash 2 starts at 1 h.
        return width * 0.5 - dashesIn(frame->rec, kEquatorGreen).at(2).from.x;
    };
    EXPECT_NEAR(leftOfCentre(320, 1.0), 80.38, 0.005);
    EXPECT_NEAR(leftOfCentre(320, 2.0), 160.77, 0.005);
    EXPECT_NEAR(leftOfCentre(480, 1.0), 300.0 * std::tan(degreesTimesPiOver180(15.0)), 0.001);
    EXPECT_NEAR(leftOfCentre(481, 1.0), 540.0 * std::tan(degreesTimesPiOver180(15.0)), 0.001);
}

TEST(Projection, ZeroZoomPutsEveryVisiblePointOnTheCentre)
{
    auto frame = test::recordFrame({320, 480, 0, 0, 0.0});
    for (const Dash& d : dashesIn(frame->rec, kEquatorGreen)) {
        EXPECT_EQ(d.from.x, 160.0f);
        EXPECT_EQ(d.from.y, 240.0f);
    }
    for (const CGPoint& p : frame->view->retainedPoints())
        EXPECT_EQ(p, (CGPoint{160, 240}));
}

TEST(Projection, EnormousZoomNarrowsToInfinityNotPastTheFloatRange)
{
    EXPECT_EQ(toPoint(1e300), std::numeric_limits<float>::infinity());
    EXPECT_EQ(toPoint(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(toPoint(79.615), 79.615f);
    auto frame = test::recordFrame({320, 480, 17, 31, 1e300});
    EXPECT_GT(frame->view->fields().nblines, 0);
    bool offTheRange = false;
    for (const CGPoint& p : frame->view->retainedPoints())
        offTheRange = offTheRange || std::isinf(p.x) || std::isinf(p.y);
    EXPECT_TRUE(offTheRange);
}

TEST(Visibility, CosineShortcutAgreesWithTheAngleEverywhere)
{
    for (double limit : {kLabelLimit, kSegmentLimit}) {
        const double c0 = std::cos(limit);
        std::vector<double> samples = {std::numeric_limits<double>::quiet_NaN(), -1.0, 0.0, 1.0, 1.5};
        for (int i = -2000; i <= 2000; ++i)
            samples.push_back(c0 + i * 1e-12);
        for (int i = -1000; i <= 1000; ++i)
            samples.push_back(i / 1000.0);
        double below = c0;
        double above = c0;
        for (int i = 0; i < 50; ++i) {
            below = std::nextafter(below, -2.0);
            above = std::nextafter(above, 2.0);
            samples.push_back(below);
            samples.push_back(above);
        }
        for (double c : samples)
            EXPECT_EQ(closerThan(c, limit, c0), std::acos(c) < limit) << c;
    }
}

TEST(FrameSetUp, ClearsThenSetsFontModeMatrixAndBlueStroke)
{
    for (float width : {480.0f, 481.0f}) {
        auto frame = test::recordFrame({width, 600, 17, 31});
        const bool tablet = width > 480;
        EXPECT_EQ(frame->view->fields().iphone, !tablet);
        const auto& ops = frame->rec.ops();
        std::size_t i = 0;
        EXPECT_EQ(std::get<op::ClearRect>(ops.at(i++)).rect, CGRectMake(0, 0, width, 600));
        EXPECT_EQ(std::get<op::SelectFont>(ops.at(i++)),
                  (op::SelectFont{"Helvetica", 14, kCGEncodingMacRoman}));
        if (tablet) {
            EXPECT_EQ(std::get<op::SelectFont>(ops.at(i++)),
                      (op::SelectFont{"Helvetica", 22, kCGEncodingMacRoman}));
        }
        EXPECT_EQ(std::get<op::SetTextDrawingMode>(ops.at(i++)).mode, kCGTextFillStroke);
        EXPECT_EQ(std::get<op::SetTextMatrix>(ops.at(i++)).matrix, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
        EXPECT_EQ(std::get<op::SetRGBStrokeColor>(ops.at(i++)), (op::SetRGBStrokeColor{0, 0, 0.8f, 1}));
        EXPECT_EQ(std::get<op::SetLineWidth>(ops.at(i++)).width, 2.0f);
        EXPECT_TRUE(std::holds_alternative<op::StrokeLineSegments>(ops.at(i)));
        EXPECT_EQ(frame->view->fields().rectCur, CGRectMake(0, 0, width, 600));
        EXPECT_EQ(frame->view->fields().cgContext1, &frame->rec);
        EXPECT_EQ(frame->view->fields().oxs1, 17.0);
        EXPECT_EQ(frame->view->fields().oys1, 31.0);
    }
}

TEST(FrameSetUp, TheFrameHoldsTheCentreInHoursDegreesAndRadiansAndTheScreenClassFromTheWidth)
{
    RecordingContext rec;
    const SkyFrame phone = makeSkyFrame(&rec, {.centreHours = 17.0,
                                               .centreDegrees = 31.0,
                                               .width = 480,
                                               .height = 320,
                                               .ech = 2.0,
                                               .labels = LabelMode::WithStarNames});
    EXPECT_EQ(phone.context, &rec);
    EXPECT_EQ(phone.centreHours, 17.0);
    EXPECT_EQ(phone.centreDegrees, 31.0);
    EXPECT_EQ(phone.alpha0, hoursTimesPiOver12(17.0));
    EXPECT_EQ(phone.delta0, degreesTimesPiOver180(31.0));
    EXPECT_EQ(phone.sinDelta0, std::sin(phone.delta0));
    EXPECT_EQ(phone.cosDelta0, std::cos(phone.delta0));
    EXPECT_EQ(phone.size, (CGSize{480, 320}));
    EXPECT_EQ(phone.cx, 240.0f);
    EXPECT_EQ(phone.cy, 160.0f);
    EXPECT_EQ(phone.family, DeviceFamily::Phone);
    EXPECT_EQ(phone.scale, 600.0);
    EXPECT_EQ(phone.labels, LabelMode::WithStarNames);
    const SkyFrame tablet = makeSkyFrame(nullptr, {.width = 481, .height = 320, .ech = 0.5});
    EXPECT_EQ(tablet.family, DeviceFamily::Tablet);
    EXPECT_EQ(tablet.scale, 270.0);
    EXPECT_EQ(tablet.cx, 240.5f);
}

TEST(FrameSetUp, WithoutAContextTheFrameStillRunsAndDrawsNothing)
{
    auto view = test::makeView({320, 480, 17, 31});
    view->drawRect(view->bounds());
    EXPECT_EQ(view->fields().cgContext1, nullptr);
    EXPECT_EQ(view->fields().ctxDraw, nullptr);
    EXPECT_GT(view->fields().nblines, 0);
}

} // namespace
} // namespace dazed
