#include "RenderTestSupport.h"
#include "platform/graphics/image/RasterSurface.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

// Pixels that must hold in a rendered chart, whatever the anti-aliasing.
TEST(RenderedChart, BlackPanelRedCrossAndTextOnAPhone)
{
    auto view = test::makeView({320, 480, 17, 31});
    RasterSurface img(320, 480, 2.0);
    ASSERT_TRUE(img.ok());
    test::drawFrame(*view, img.context());
    EXPECT_EQ(img.pixelAtPoint(1, 1), (Rgba8{0, 0, 0, 255}));
    EXPECT_EQ(img.pixelAtPoint(299, 25), (Rgba8{0, 0, 0, 255}));
    // The cross is 0.8 red, drawn last.
    const Rgba8 crossRed{204, 0, 0, 255};
    EXPECT_EQ(img.pixelAtPoint(160 + 6, 240.25f), crossRed);
    EXPECT_EQ(img.pixelAtPoint(160.25f, 240 - 6), crossRed);
    // The readout text puts reddish ink inside the panel.
    int reddish = 0;
    for (int y = 0; y < 52; ++y)
        for (int x = 0; x < 600; ++x) {
            const Rgba8 p = img.pixel(x, y);
            reddish += (p.red > 100 && p.green < 60 && p.blue < 60) ? 1 : 0;
        }
    EXPECT_GT(reddish, 50);
}

TEST(RenderedChart, WhiteDiscUnderTheCrossWhenCentredOnTheBrightestStar)
{
    int brightest = 0;
    for (int i = 0; i < kStarCount; ++i)
        if (starrd[i * kStarStride + 2] < starrd[brightest * kStarStride + 2])
            brightest = i;
    for (float width : {320.0f, 1024.0f}) {
        const float height = width > 480 ? 768.0f : 480.0f;
        // The centre in single precision lies within a ten-thousandth of a point of the star.
        auto view = test::makeView(
            {width, height, static_cast<float>(radiansTimes12OverPi(starrd[brightest * kStarStride])),
             static_cast<float>(radiansTimes180OverPi(starrd[brightest * kStarStride + 1]))});
        RasterSurface img(width, height, 2.0);
        test::drawFrame(*view, img.context());
        const float cx = width * 0.5f;
        const float cy = height * 0.5f;
        EXPECT_EQ(img.pixelAtPoint(cx + 1.5f, cy - 1.5f), (Rgba8{255, 255, 255, 255})) << width;
        EXPECT_EQ(img.pixelAtPoint(cx - 1.5f, cy + 1.5f), (Rgba8{255, 255, 255, 255})) << width;
        // Beyond the disc's 3-point radius and off the cross: sky.
        EXPECT_EQ(img.pixelAtPoint(cx + 4.5f, cy - 4.5f).red, img.pixelAtPoint(cx + 4.5f, cy - 4.5f).blue);
        EXPECT_NE(img.pixelAtPoint(cx + 4.5f, cy - 4.5f), (Rgba8{255, 255, 255, 255}));
    }
}

// The exported file holds exactly the pixels drawn: the chart is opaque, so the PNG is plain RGB
// and nothing is lost to premultiplication.
TEST(RenderedChart, PngFileReadsBackAsTheSamePixels)
{
    auto view = test::makeView({1024, 768, 17, 31, 1.0, 1});
    RasterSurface img(1024, 768, 2.0);
    ASSERT_TRUE(img.ok());
    test::drawFrame(*view, img.context());
    const std::vector<Rgba8> drawn = img.pixels();
    for (const Rgba8& p : drawn)
        ASSERT_EQ(p.alpha, 255);

    const Result<std::string> encoded = img.encodePng();
    ASSERT_TRUE(encoded) << encoded.error().message;
    const std::string& bytes = encoded.value();
    const auto decoded = decodePng(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 2048);
    EXPECT_EQ(decoded->height, 1536);
    ASSERT_EQ(decoded->pixels.size(), drawn.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i)
        differing += decoded->pixels[i] == drawn[i] ? 0 : 1;
    EXPECT_EQ(differing, 0u);
}

} // namespace
} // namespace dazed
