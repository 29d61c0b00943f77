#include "platform/graphics/ImageExport.h"

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
    std::string bytes;
    std::string error;
    ASSERT_TRUE(renderImage(ImageFormat::Png, {40, 30}, 2.0, drawSquare, bytes, error)) << error;
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    ASSERT_TRUE(renderImage(ImageFormat::Pdf, {40, 30}, 2.0, drawSquare, bytes, error)) << error;
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    ASSERT_TRUE(renderImage(ImageFormat::Svg, {40, 30}, 2.0, drawSquare, bytes, error)) << error;
    EXPECT_NE(bytes.find("<svg"), std::string::npos);
}

TEST(ImageExport, ImpossibleSizeIsAnError)
{
    std::string bytes;
    std::string error;
    EXPECT_FALSE(renderImage(ImageFormat::Png, {1e9f, 30}, 2.0, drawSquare, bytes, error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace dazed
