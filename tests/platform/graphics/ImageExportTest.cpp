#include "platform/graphics/image/ImageExport.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

void drawSquare()
{
    CGContextRef c = UIGraphicsGetCurrentContext();
    CGContextClearRect(c, CGRectMake(0, 0, 40, 30));
    CGContextSetRGBFillColor(c, 1, 1, 1, 1);
    CGContextFillRect(c, CGRectMake(5, 5, 10, 10));
}

TEST(ImageExport, FormatComesFromTheExtension)
{
    EXPECT_EQ(imageFormatForPath("chart.png"), ImageFormat::Png);
    EXPECT_EQ(imageFormatForPath("dir.x/chart.PDF"), ImageFormat::Pdf);
    EXPECT_EQ(imageFormatForPath("chart.svg"), ImageFormat::Svg);
    EXPECT_EQ(imageFormatForPath("chart.jpg"), std::nullopt);
    EXPECT_EQ(imageFormatForPath("dir.png/chart"), std::nullopt);
    EXPECT_EQ(imageFormatForPath("chart"), std::nullopt);
}

TEST(ImageExport, EachFormatEncodes)
{
    auto png = renderImage(ImageFormat::Png, {40, 30}, 2.0, drawSquare);
    ASSERT_TRUE(png) << png.error().message;
    EXPECT_EQ(png.value().substr(1, 3), "PNG");
    auto pdf = renderImage(ImageFormat::Pdf, {40, 30}, 2.0, drawSquare);
    ASSERT_TRUE(pdf) << pdf.error().message;
    EXPECT_EQ(pdf.value().substr(0, 5), "%PDF-");
    auto svg = renderImage(ImageFormat::Svg, {40, 30}, 2.0, drawSquare);
    ASSERT_TRUE(svg) << svg.error().message;
    EXPECT_NE(svg.value().find("<svg"), std::string::npos);
}

TEST(ImageExport, ImpossibleSizeIsAnError)
{
    auto huge = renderImage(ImageFormat::Png, {1e9f, 30}, 2.0, drawSquare);
    ASSERT_FALSE(huge);
    EXPECT_FALSE(huge.error().message.empty());
}

} // namespace
} // namespace dazed
