#include "platform/graphics/image/NightPicture.h"

#include "platform/graphics/image/Image.h"
#include "platform/graphics/painter/UIPainter.h"
#include "tests/platform/graphics/ImageDifference.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace dazed {
namespace {

std::uint32_t argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return a << 24 | r << 16 | g << 8 | b;
}
std::uint32_t alphaOf(std::uint32_t p)
{
    return p >> 24;
}
std::uint32_t redOf(std::uint32_t p)
{
    return (p >> 16) & 0xFFu;
}
std::uint32_t greenOf(std::uint32_t p)
{
    return (p >> 8) & 0xFFu;
}
std::uint32_t blueOf(std::uint32_t p)
{
    return p & 0xFFu;
}
// Relative luminance of stored values with the Rec. 709 weights, in channel units.
double luminance(double r, double g, double b)
{
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

TEST(NightPixel, EveryOpaqueColourKeepsNoGreenOrBlueAndNoMoreLight)
{
    // All 2^24 colours, counted rather than asserted one by one.
    int wrong = 0;
    std::uint32_t firstWrong = 0;
    for (std::uint32_t rgb = 0; rgb < (1u << 24); ++rgb) {
        const std::uint32_t night = nightPixel(0xFF000000u | rgb);
        const std::uint32_t r = rgb >> 16, g = (rgb >> 8) & 0xFFu, b = rgb & 0xFFu;
        const bool ok = alphaOf(night) == 255u && greenOf(night) == 0u && blueOf(night) == 0u &&
                        redOf(night) <= std::max({r, g, b}) &&
                        luminance(redOf(night), 0, 0) <= luminance(r, g, b) + 1e-9;
        if (!ok && wrong++ == 0)
            firstWrong = rgb;
    }
    EXPECT_EQ(wrong, 0) << "first at rgb " << std::hex << firstWrong;
}

TEST(NightPixel, KeepsTheLightWhereRedAloneCanGiveIt)
{
    EXPECT_EQ(nightPixel(argb(255, 0, 0, 0)), argb(255, 0, 0, 0)) << "black stays black";
    EXPECT_EQ(nightPixel(argb(255, 255, 255, 255)), argb(255, 255, 0, 0)) << "white is full red";
    EXPECT_EQ(nightPixel(argb(255, 200, 0, 0)), argb(255, 200, 0, 0)) << "red stays as it is";
    // Pure blue of 255 has the luminance 0.0722 x 255 = 18.4; a red of the same light is
    // 18.4 / 0.2126 = 86.6, which whole steps may only approach from below.
    const double blueAsRed = redOf(nightPixel(argb(255, 0, 0, 255)));
    EXPECT_LE(blueAsRed, 86.6);
    EXPECT_GE(blueAsRed, 84.6);
    // Mid grey (128): the same luminance would need a red of 602, so the cap of 128 holds.
    EXPECT_EQ(nightPixel(argb(255, 128, 128, 128)), argb(255, 128, 0, 0));
    // A dark blue-grey of the chart's kind, (40, 40, 90): luminance 0.2126 x 40 + 0.7152 x 40 +
    // 0.0722 x 90 = 43.6, a red of 205 by light, capped at its brightest channel, 90.
    EXPECT_EQ(redOf(nightPixel(argb(255, 40, 40, 90))), 90u);
    // Dim green (0, 20, 0): luminance 14.3, a red of 67.3 by light, capped at 20.
    EXPECT_EQ(redOf(nightPixel(argb(255, 0, 20, 0))), 20u);
    // Dim blue (0, 0, 200): luminance 14.4, a red of 67.9 by light, under the cap of 200.
    const double dimBlueAsRed = redOf(nightPixel(argb(255, 0, 0, 200)));
    EXPECT_LE(dimBlueAsRed, 67.9);
    EXPECT_GE(dimBlueAsRed, 65.9);
}

TEST(NightPixel, APremultipliedPixelScalesWithItsAlpha)
{
    // Half-covered white, premultiplied: (128, 128, 128, 128) is white at alpha 128.
    EXPECT_EQ(nightPixel(argb(128, 128, 128, 128)), argb(128, 128, 0, 0));
    EXPECT_EQ(nightPixel(0u), 0u) << "transparent stays transparent";
    // Premultiplied values never exceed alpha; neither does the red made of them.
    for (std::uint32_t a = 0; a <= 255; a += 51)
        for (std::uint32_t c = 0; c <= a; c += 17) {
            const std::uint32_t night = nightPixel(argb(a, c, a, c / 2));
            EXPECT_LE(redOf(night), a);
            EXPECT_EQ(alphaOf(night), a);
        }
}

TEST(NightColour, IsTheNightPixelOfTheSameColour)
{
    // Colours are drawn in their night form and pictures turned pixel by pixel: the two must agree,
    // or a picture would not match the colours drawn beside it. The pixel's sixteen-bit steps may
    // fall a step short of the exact red.
    int worst = 0;
    for (std::uint32_t r = 0; r <= 255; r += 15)
        for (std::uint32_t g = 0; g <= 255; g += 15)
            for (std::uint32_t b = 0; b <= 255; b += 15) {
                const RGBAColor night = nightColour({r / 255.0f, g / 255.0f, b / 255.0f, 0.5f});
                ASSERT_EQ(night.green, 0.0f);
                ASSERT_EQ(night.blue, 0.0f);
                ASSERT_EQ(night.alpha, 0.5f);
                const double exact = night.red * 255.0;
                const double stepped = redOf(nightPixel(argb(255, r, g, b)));
                ASSERT_GE(exact + 1e-3, stepped) << r << "," << g << "," << b;
                worst = std::max(worst, static_cast<int>(std::ceil(exact - stepped - 1e-3)));
            }
    EXPECT_LE(worst, 1);
    EXPECT_EQ(nightColour({0, 0, 1, 1}).red * 255.0f, 85.6640625f) << "blue 255 as 86/256 of a full red";
}

TEST(NightColour, ANightColourStaysAsItIs)
{
    // Recorded calls made again on a night painter are turned once more.
    for (const RGBAColor c :
         {RGBAColor{0.3f, 0.9f, 0.1f, 1}, RGBAColor{1, 1, 1, 0.25f}, RGBAColor{0, 0, 0.8f, 1}}) {
        const RGBAColor once = nightColour(c);
        EXPECT_EQ(nightColour(once), once);
    }
}

// Each kind of painter call, with colours of every hue and a picture of its own, into `target`.
void paintEveryKind(Image& target)
{
    auto picture = Image::create({8, 8}, target.scale());
    {
        UIPainter p(*picture);
        p.fill({0.1f, 0.8f, 0.9f, 1});
        p.fillRect({{2, 2}, {4, 4}}, {0, 0, 1, 0.5f});
    }
    UIPainter painter(target);
    painter.fill({0.05f, 0.1f, 0.3f, 1});
    painter.fillRect({{2, 2}, {20, 10}}, {0, 1, 0, 1});
    painter.fillVerticalGradient({{2, 14}, {20, 16}}, {0, 0, 1, 1}, {1, 1, 0, 1});
    painter.fillRoundedRect({{24, 2}, {20, 12}}, 4, {0.5f, 0.5f, 1, 0.7f});
    painter.strokeEllipse({{24, 16}, {18, 12}}, 2, {0, 1, 1, 1});
    painter.drawText("Vega", {{2, 32}, {40, 14}}, FontSpec{}, {1, 1, 1, 1}, TextAlignment::Left);
    painter.drawImage(*picture, {{30, 32}, {16, 16}});
    painter.drawImageColumn(*picture, 0, 4, {{2, 40}, {6, 8}});
}

TEST(NightInk, EveryPainterCallIntoANightImageArrivesRed)
{
    auto day = Image::create({48, 48}, 2.0f);
    auto night = Image::create({48, 48}, 2.0f);
    night->setTint(ScreenTint::Night);
    paintEveryKind(*day);
    paintEveryKind(*night);
    const test::NightComparison c = test::compareNight(*day, *night);
    EXPECT_EQ(c.greenOrBlue, 0);
    EXPECT_EQ(c.brighter, 0);
    EXPECT_EQ(c.faded, 0);
    EXPECT_EQ(night->pixelAt(8, 8), nightPixel(day->pixelAt(8, 8))) << "a solid green rectangle";
}

TEST(NightInk, PicturesAreTurnedOnTheWayInAndCopiesKeepTheirPixels)
{
    auto colourful = Image::create({4, 4}, 1.0f);
    UIPainter(*colourful).fill({0.2f, 0.6f, 1.0f, 1.0f});
    const std::uint32_t dayPixel = colourful->pixelAt(1, 1);

    auto night = Image::create({4, 4}, 1.0f);
    night->setTint(ScreenTint::Night);
    UIPainter(*night).copyPixels(*colourful);
    EXPECT_EQ(night->pixelAt(1, 1), nightPixel(dayPixel)) << "a day picture copied into a night image";
    EXPECT_EQ(colourful->pixelAt(1, 1), dayPixel) << "the picture itself is left as it was";

    const auto copy = nightCopy(*colourful);
    EXPECT_EQ(copy->tint(), ScreenTint::Night);
    EXPECT_EQ(copy->pixelWidth(), colourful->pixelWidth());
    EXPECT_EQ(copy->pixelAt(3, 3), nightPixel(dayPixel));

    // A day image takes whatever it is given: the host's copy of a night screen stays that screen.
    auto dayTarget = Image::create({4, 4}, 1.0f);
    UIPainter(*dayTarget).copyPixels(*copy);
    EXPECT_EQ(dayTarget->pixelAt(2, 2), nightPixel(dayPixel));
}

TEST(TurnNight, TurnsEveryPixelOfImagesOfAnySize)
{
    // One pixel, a row, and a screen tall enough to be cut into several bands.
    for (const CGSize size : {CGSize{1, 1}, CGSize{37, 1}, CGSize{33, 700}}) {
        auto image = Image::create(size, 1.0f);
        UIPainter painter(*image);
        painter.fill({0.2f, 0.6f, 1.0f, 1.0f});
        painter.fillRect({{0, 0}, {size.width, size.height / 2}}, {1, 1, 1, 1});
        std::vector<std::uint32_t> before;
        for (int y = 0; y < image->pixelHeight(); ++y)
            for (int x = 0; x < image->pixelWidth(); ++x)
                before.push_back(image->pixelAt(x, y));
        turnNight(*image);
        std::size_t i = 0;
        for (int y = 0; y < image->pixelHeight(); ++y)
            for (int x = 0; x < image->pixelWidth(); ++x, ++i)
                ASSERT_EQ(image->pixelAt(x, y), nightPixel(before[i]))
                    << size.width << "x" << size.height << " at " << x << "," << y;
    }
}

TEST(TurnNight, BorrowedPixelsOutsideThePictureAreLeftAlone)
{
    // A window's pixels with a picture of 4 x 3 inside a block of 6 x 5: the frame around it must
    // keep its colour.
    std::vector<std::uint32_t> block(6 * 5, 0xFF00FF00u);
    auto picture =
        Image::borrowOpaquePixels(reinterpret_cast<std::uint8_t*>(block.data() + 6 + 1), 4, 3, 6 * 4, 1.0f);
    ASSERT_TRUE(picture);
    turnNight(*picture);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 3;
            const std::uint32_t p = block[static_cast<std::size_t>(y * 6 + x)];
            if (inside)
                EXPECT_EQ(p & 0x00FFFFFFu, 0x00FF0000u & nightPixel(0xFF00FF00u)) << x << "," << y;
            else
                EXPECT_EQ(p, 0xFF00FF00u) << x << "," << y;
        }
}

} // namespace
} // namespace dazed
