#include "platform/graphics/RecordingContext.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

TEST(RecordingContext, KeepsEveryCallWithItsArgumentsInOrder)
{
    RecordingContext rec;
    UIGraphicsContextScope scope(&rec);
    CGContextRef c = UIGraphicsGetCurrentContext();
    ASSERT_EQ(c, &rec);
    CGContextSetRGBFillColor(c, 1, 0.5f, 0, 1);
    CGContextFillEllipseInRect(c, CGRectMake(157.25f, 237.5f, 6, 6));
    const CGPoint pts[3] = {{1, 2}, {3, 4}, {5, 6}};
    CGContextStrokeLineSegments(c, pts, 2);
    CGContextShowTextAtPoint(c, 1, 2, "GCxx", 2);
    CGContextSelectFont(c, "Helvetica", 14, kCGEncodingMacRoman);

    ASSERT_EQ(rec.ops().size(), 5u);
    EXPECT_EQ(std::get<op::SetRGBFillColor>(rec.ops()[0]), (op::SetRGBFillColor{1, 0.5f, 0, 1}));
    EXPECT_STREQ(opName(rec.ops()[1]), "CGContextFillEllipseInRect");
    EXPECT_EQ(std::get<op::FillEllipseInRect>(rec.ops()[1]).rect, CGRectMake(157.25f, 237.5f, 6, 6));
    const auto segs = rec.all<op::StrokeLineSegments>();
    ASSERT_EQ(segs.size(), 1u);
    EXPECT_EQ(segs[0].count, 2u);
    EXPECT_EQ(segs[0].points, (std::vector<CGPoint>{{1, 2}, {3, 4}}));
    EXPECT_EQ(rec.all<op::ShowTextAtPoint>()[0].text, "GC");
    EXPECT_EQ(rec.all<op::SelectFont>()[0], (op::SelectFont{"Helvetica", 14, kCGEncodingMacRoman}));

    rec.clear();
    EXPECT_TRUE(rec.ops().empty());
}

TEST(RecordingContext, NullContextRecordsNothingAndNullHandleIsIgnored)
{
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    // Calls on an absent context do nothing.
    CGContextFillRect(nullptr, CGRectMake(0, 0, 1, 1));
    NullContext null;
    CGContextFillRect(&null, CGRectMake(0, 0, 1, 1));
}

} // namespace
} // namespace dazed
