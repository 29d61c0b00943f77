// The strips of a flip frame drawn with the target's rows shared out among the cores are the
// strips a painter draws one by one.

#include "platform/graphics/painter/UIPainter.h"
#include "tests/platform/graphics/ImageDifference.h"

#include <gtest/gtest.h>
#include <vector>

namespace dazed {
namespace {

TEST(ImageColumns, DrawnInBandsOfRowsTheyAreTheColumnsAPainterDrawsOneByOne)
{
    // Stripes and a disc to scale, and a target large enough to be cut into bands.
    auto source = Image::create({300, 400}, 2.0f);
    {
        UIPainter painter(*source);
        painter.fill({0.1f, 0.1f, 0.2f, 1});
        for (float x = 0; x < 300; x += 17)
            painter.fillRect(CGRectMake(x, 0, 5, 400), {0.9f, 0.6f, 0.2f, 1});
        painter.fillEllipse(CGRectMake(60, 120, 170, 150), {0.3f, 0.8f, 1, 0.7f});
    }
    const CGSize screen{600, 500};
    // 1200 x 1000 pixels: drawn in one band for each core (a machine of one core draws it whole).

    // A flip's strips: narrower towards one side, taller towards the other, some straddling the
    // middle rows where bands meet.
    std::vector<ImageColumn> columns;
    for (int i = 0; i < 60; ++i) {
        const float s0 = 5.0f * static_cast<float>(i);
        const float height = 360.0f + 2.0f * static_cast<float>(i);
        columns.push_back(
            {s0, s0 + 5.0f,
             CGRectMake(40.0f + 8.5f * static_cast<float>(i), 250.0f - height / 2, 9.0f, height)});
    }

    auto oneByOne = Image::create(screen, 2.0f);
    {
        UIPainter painter(*oneByOne);
        painter.fill({0, 0, 0, 1});
        for (const ImageColumn& c : columns)
            painter.drawImageColumn(*source, c.sourceMinX, c.sourceMaxX, c.dest);
    }
    auto inBands = Image::create(screen, 2.0f);
    {
        UIPainter painter(*inBands);
        painter.fill({0, 0, 0, 1});
    }
    drawImageColumns(*inBands, *source, columns);

    EXPECT_NE(inBands->pixelAt(2 * 300, 2 * 250), 0xFF000000u) << "the strips were drawn";
    EXPECT_EQ(inBands->pixelAt(10, 10), 0xFF000000u);
    // Rows moved by a whole number of pixels tip the last bits of a sample's position now and
    // then: at most 2/255, as for any frame drawn in bands.
    EXPECT_LE(test::worstChannelDifference(*inBands, *oneByOne), 2);

    const auto before = Image::create(screen, 2.0f);
    {
        UIPainter painter(*before);
        painter.copyPixels(*inBands);
    }
    drawImageColumns(*inBands, *source, {});
    EXPECT_EQ(test::worstChannelDifference(*inBands, *before), 0) << "no columns draw nothing";
}

} // namespace
} // namespace dazed
