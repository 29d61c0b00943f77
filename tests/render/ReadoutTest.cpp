#include "render/Readout.h"

#include "RenderTestSupport.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

TEST(Readout, FieldsTruncateWithoutRoundingOrCarrying)
{
    struct Row {
        double ra, dec;
        ReadoutFields expected;
    };
    const Row rows[] = {
        {17.0, 31.0, {17, 0, 0, 31, 0, 0}},     {6.7525, -16.7161, {6, 45, 9, -16, -42, -57}},
        {12.0, -12.5, {12, 0, 0, -12, -30, 0}}, {0.0, -0.5, {0, 0, 0, 0, -30, 0}},
        {5.5, -0.0083, {5, 30, 0, 0, 0, -29}},  {24.0, 90.0, {24, 0, 0, 90, 0, 0}},
    };
    for (const Row& r : rows) {
        const ReadoutFields f = readoutFields(r.ra, r.dec);
        EXPECT_EQ(f, r.expected) << r.ra << " " << r.dec << ": " << f.h << " " << f.m << " " << f.s << " "
                                 << f.d << " " << f.am << " " << f.as;
    }
}

TEST(Readout, TextHasTwoDigitFieldsAndSignsOnNonZeroFieldsOnly)
{
    EXPECT_STREQ(formatReadout(readoutFields(17.0, 31.0)).data(), "Ra : 17h 00mn 00s  De : 31d 00' 00\" ");
    EXPECT_STREQ(formatReadout(readoutFields(0.0, -0.5)).data(), "Ra : 00h 00mn 00s  De : 00d -30' 00\" ");
    EXPECT_STREQ(formatReadout(readoutFields(6.7525, -16.7161)).data(),
                 "Ra : 06h 45mn 09s  De : -16d -42' -57\" ");
}

TEST(Readout, HugeOrNonFiniteCentresStayInsideTheBuffer)
{
    EXPECT_EQ(truncateToInt(-2.7), -2);
    EXPECT_EQ(truncateToInt(1e300), INT_MAX);
    EXPECT_EQ(truncateToInt(-1e300), INT_MIN);
    EXPECT_EQ(truncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(truncateToInt(std::numeric_limits<double>::infinity()), 0);
    const ReadoutText text = formatReadout({INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN});
    EXPECT_EQ(std::strlen(text.data()), kReadoutBufferSize - 1);
    EXPECT_EQ(std::string(text.data()).substr(0, 16), "Ra : -2147483648");
    // A centre far outside the ranges navigation keeps is still shown, cut to the buffer.
    const ReadoutFields far = readoutFields(1e30, -1e30);
    EXPECT_EQ(far.h, INT_MAX);
    EXPECT_EQ(far.d, INT_MIN);
}

TEST(Readout, PanelAndTextPlacementForEachScreenWidth)
{
    struct Size {
        float width, panelW, panelH, textY;
    };
    for (Size s : {Size{320, 300, 26, 21.0f}, Size{480, 320, 31, 26.5f}, Size{768, 356, 40, 36.4f},
                   Size{1024, 388, 48, 45.2f}}) {
        auto frame = test::recordFrame({s.width, 600, 17, 31});
        const auto panels = frame->rec.all<op::FillRect>();
        ASSERT_EQ(panels.size(), 1u);
        EXPECT_EQ(panels[0].rect, CGRectMake(0, 0, s.panelW, s.panelH)) << s.width;
        const auto texts = frame->rec.all<op::ShowTextAtPoint>();
        const auto readout = std::find_if(texts.begin(), texts.end(),
                                          [](const auto& t) { return t.text.rfind("Ra : ", 0) == 0; });
        ASSERT_NE(readout, texts.end());
        EXPECT_EQ(readout->x, 20.0f);
        EXPECT_EQ(readout->y, s.textY) << s.width;
        EXPECT_EQ(readout->text, "Ra : 17h 00mn 00s  De : 31d 00' 00\" ");
    }
}

TEST(Readout, PanelColoursThenRedTextOutlinedDarkRedAtWidthZero)
{
    auto frame = test::recordFrame({320, 480, 17, 31});
    const auto& ops = frame->rec.ops();
    auto panel = std::find_if(ops.begin(), ops.end(),
                              [](const DrawOp& o) { return std::holds_alternative<op::FillRect>(o); });
    ASSERT_NE(panel, ops.end());
    EXPECT_EQ(std::get<op::SetRGBFillColor>(*(panel - 1)), (op::SetRGBFillColor{0, 0, 0, 1}));
    EXPECT_EQ(std::get<op::SetRGBStrokeColor>(*(panel + 1)), (op::SetRGBStrokeColor{0.6f, 0, 0, 1}));
    EXPECT_EQ(std::get<op::SetLineWidth>(*(panel + 2)).width, 0.0f);
    EXPECT_EQ(std::get<op::SetRGBFillColor>(*(panel + 3)), (op::SetRGBFillColor{0.8f, 0, 0, 1}));
    EXPECT_EQ(std::get<op::SelectFont>(*(panel + 4)).size, 14.0f);
}

TEST(CentreCross, TwentyPointsRedAtTheViewCentreLast)
{
    for (float width : {320.0f, 1024.0f}) {
        auto frame = test::recordFrame({width, 768, 17, 31, 3.0});
        const auto& ops = frame->rec.ops();
        ASSERT_GE(ops.size(), 9u);
        const std::vector<DrawOp> tail(ops.end() - 9, ops.end());
        const float cx = width * 0.5f;
        const std::vector<DrawOp> expected = {op::SetRGBStrokeColor{0.8f, 0, 0, 1},
                                              op::SetLineWidth{1},
                                              op::SetRGBFillColor{0.8f, 0, 0, 1},
                                              op::BeginPath{},
                                              op::MoveToPoint{cx - 10, 384},
                                              op::AddLineToPoint{cx + 10, 384},
                                              op::MoveToPoint{cx, 374},
                                              op::AddLineToPoint{cx, 394},
                                              op::StrokePath{}};
        EXPECT_EQ(tail, expected);
    }
}

} // namespace
} // namespace dazed
