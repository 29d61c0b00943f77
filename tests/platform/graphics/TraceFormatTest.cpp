#include "platform/graphics/TraceFormat.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

TEST(TraceFormat, WritesCallNameAndArgumentsInShortestForm)
{
    EXPECT_EQ(traceLine(op::FillEllipseInRect{CGRectMake(157.25f, 237.5f, 6, 6)}),
              R"({"op":"CGContextFillEllipseInRect","args":[157.25,237.5,6,6]})");
    // A float argument is written as the float it is, not as its widened double.
    EXPECT_EQ(traceLine(op::SetRGBStrokeColor{0, 0, 0.8f, 1}),
              R"({"op":"CGContextSetRGBStrokeColor","args":[0,0,0.8,1]})");
    EXPECT_EQ(traceLine(op::BeginPath{}), R"({"op":"CGContextBeginPath","args":[]})");
    EXPECT_EQ(traceLine(op::SetTextMatrix{CGAffineTransformMake(1, 0, 0, -1, 0, 0)}),
              R"({"op":"CGContextSetTextMatrix","args":[1,0,0,-1,0,0]})");
    EXPECT_EQ(traceLine(op::SelectFont{"Helvetica", 14, kCGEncodingMacRoman}),
              R"({"op":"CGContextSelectFont","args":["Helvetica",14,1]})");
    EXPECT_EQ(traceLine(op::SetTextDrawingMode{kCGTextFillStroke}),
              R"({"op":"CGContextSetTextDrawingMode","args":[2]})");
    // A curve: both control points, then its end.
    EXPECT_EQ(traceLine(op::AddCurveToPoint{1, 2.5f, 3, 4, 5, 6}),
              R"({"op":"CGContextAddCurveToPoint","args":[1,2.5,3,4,5,6]})");
}

TEST(TraceFormat, PointListsAndText)
{
    EXPECT_EQ(traceLine(op::StrokeLineSegments{{{1.5f, 2}, {3, 4}}, 2}),
              R"({"op":"CGContextStrokeLineSegments","args":[[[1.5,2],[3,4]],2]})");
    EXPECT_EQ(traceLine(op::StrokeLineSegments{{}, 0}),
              R"({"op":"CGContextStrokeLineSegments","args":[[],0]})");
    EXPECT_EQ(traceLine(op::ShowTextAtPoint{20, 21, "De : 00' 00\" "}),
              R"({"op":"CGContextShowTextAtPoint","args":[20,21,"De : 00' 00\" ",13]})");
    EXPECT_EQ(traceLine(op::ShowTextAtPoint{0, 0, ""}),
              R"({"op":"CGContextShowTextAtPoint","args":[0,0,"",0]})");
}

TEST(TraceFormat, NumbersReadBackToTheSameFloat)
{
    for (float v : {79.61538f, 187.10197f, 0.1f, -3.4e38f, 1.0e-7f, 36.4f}) {
        const std::string line = traceLine(op::SetLineWidth{v});
        const auto open = line.find('[');
        const float back = std::stof(line.substr(open + 1));
        EXPECT_EQ(back, v) << line;
    }
}

} // namespace
} // namespace dazed
