// Properties of the committed pictures that make_artwork draws: sizes at both densities, the
// transparent surroundings, where the light marks are, and that white text reads on the button.

#include "platform/graphics/image/Image.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace dazed {
namespace {

std::shared_ptr<Image> load(const std::string& name, float scale = 1.0f)
{
    auto image = Image::loadPNG(std::string(DAZED_RESOURCE_DIR) + "/" + name, scale);
    EXPECT_TRUE(image) << name << ": " << (image ? std::string() : image.error().message);
    return image ? std::move(image).value() : nullptr;
}

// A pixel's colour, not premultiplied, each channel 0..1.
struct Colour {
    double red{0}, green{0}, blue{0}, alpha{0};
};

Colour colourAt(const Image& image, int x, int y)
{
    const std::uint32_t word = image.pixelAt(x, y);
    const double alpha = static_cast<double>(word >> 24) / 255.0;
    if (alpha == 0)
        return {};
    const auto channel = [&](int shift) {
        return static_cast<double>((word >> shift) & 0xFFu) / 255.0 / alpha;
    };
    return {channel(16), channel(8), channel(0), alpha};
}

// Relative luminance of an sRGB colour, as contrast ratios are defined on.
double luminance(const Colour& c)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double contrastWithWhite(const Colour& c)
{
    return 1.05 / (luminance(c) + 0.05);
}

bool isLight(const Colour& c)
{
    return c.alpha > 0.5 && luminance(c) > 0.5;
}

// The opaque part of a square picture of `side` pixels: its mean luminance and how many of its
// pixels are light (stars).
struct SkyContent {
    int opaque{0};
    int light{0};
    double meanLuminance{0};
};

SkyContent skyContent(const Image& image, int side)
{
    SkyContent content;
    double sum = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const Colour c = colourAt(image, x, y);
            if (c.alpha < 1)
                continue;
            ++content.opaque;
            sum += luminance(c);
            content.light += isLight(c) ? 1 : 0;
        }
    }
    content.meanLuminance = content.opaque > 0 ? sum / content.opaque : 0;
    return content;
}

struct PictureSize {
    const char* stem;
    int width, height; // points
};
constexpr PictureSize kPictures[] = {
    {"qorvilan", 160, 160}, {"DevoRod1", 240, 57}, {"InfoButton", 50, 50}, {"dazed", 128, 128}};

TEST(Artwork, EachPictureComesAtItsSizeInPointsAndAtTwiceThePixels)
{
    for (const auto& picture : kPictures) {
        const std::string stem = picture.stem;
        const auto plain = load(stem + ".png");
        const auto dense = load(stem + "@2x.png", 2.0f);
        ASSERT_TRUE(plain && dense) << stem;
        EXPECT_EQ(plain->pixelWidth(), picture.width) << stem;
        EXPECT_EQ(plain->pixelHeight(), picture.height) << stem;
        EXPECT_EQ(dense->pixelWidth(), 2 * picture.width) << stem;
        EXPECT_EQ(dense->pixelHeight(), 2 * picture.height) << stem;
        EXPECT_EQ(dense->size(), plain->size()) << stem;
    }
}

TEST(Artwork, TheDensePictureIsTheSameDrawing)
{
    // Each 2 x 2 block of the dense picture averages to about its pixel of the plain one.
    for (const auto& picture : kPictures) {
        const std::string stem = picture.stem;
        const auto plain = load(stem + ".png");
        const auto dense = load(stem + "@2x.png", 2.0f);
        ASSERT_TRUE(plain && dense) << stem;
        double totalDifference = 0;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                for (int shift : {0, 8, 16, 24}) {
                    const auto byte = [&](const Image& image, int px, int py) {
                        return static_cast<double>((image.pixelAt(px, py) >> shift) & 0xFFu);
                    };
                    const double block =
                        (byte(*dense, 2 * x, 2 * y) + byte(*dense, 2 * x + 1, 2 * y) +
                         byte(*dense, 2 * x, 2 * y + 1) + byte(*dense, 2 * x + 1, 2 * y + 1)) /
                        4;
                    totalDifference += std::abs(block - byte(*plain, x, y));
                }
            }
        }
        const double meanDifference = totalDifference / (picture.width * picture.height * 4);
        EXPECT_LT(meanDifference, 1.5) << stem << ": mean difference per channel, of 255";
    }
}

TEST(Artwork, TheLogoIsADarkRoundedSquareWithLightStarsOnTransparency)
{
    const auto logo = load("qorvilan.png");
    ASSERT_TRUE(logo);
    for (auto [x, y] : {std::pair{0, 0}, {159, 0}, {0, 159}, {159, 159}, {8, 8}, {151, 151}})
        EXPECT_EQ(colourAt(*logo, x, y).alpha, 0) << "corner " << x << "," << y;
    for (auto [x, y] : {std::pair{80, 6}, {6, 80}, {153, 80}, {80, 153}, {80, 80}})
        EXPECT_EQ(colourAt(*logo, x, y).alpha, 1) << "inside " << x << "," << y;

    const SkyContent sky = skyContent(*logo, 160);
    EXPECT_LT(sky.meanLuminance, 0.15) << "a night sky";
    EXPECT_GT(sky.light, 60) << "star dots to see";
    EXPECT_LT(sky.light, sky.opaque / 10) << "and not too many";
}

TEST(Artwork, TheIconIsTheChartInSmallWithItsRedCentreCross)
{
    // The @2x file is the icon theme's 256 x 256 picture.
    const auto icon = load("dazed@2x.png", 2.0f);
    ASSERT_TRUE(icon);
    for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}, {10, 10}, {245, 245}})
        EXPECT_EQ(colourAt(*icon, x, y).alpha, 0) << "corner " << x << "," << y;
    for (auto [x, y] : {std::pair{128, 12}, {12, 128}, {243, 128}, {128, 243}})
        EXPECT_EQ(colourAt(*icon, x, y).alpha, 1) << "inside " << x << "," << y;

    // The cross at the centre, red as on the chart, both arms.
    for (auto [x, y] : {std::pair{128, 128}, {144, 128}, {112, 128}, {128, 112}, {128, 144}}) {
        const Colour c = colourAt(*icon, x, y);
        EXPECT_GT(c.red, 0.8) << x << "," << y;
        EXPECT_LT(c.green, 0.2) << x << "," << y;
    }

    const SkyContent sky = skyContent(*icon, 256);
    EXPECT_LT(sky.meanLuminance, 0.15) << "a night sky";
    EXPECT_GT(sky.light, 150) << "star dots to see";
    EXPECT_LT(sky.light, sky.opaque / 10) << "and not too many";
}

TEST(Artwork, WhiteTitleReadsOverTheWebSiteButtonAndTheEmblemLeavesItRoom)
{
    const auto button = load("DevoRod1.png");
    ASSERT_TRUE(button);
    EXPECT_EQ(colourAt(*button, 0, 0).alpha, 0) << "rounded corner";
    EXPECT_EQ(colourAt(*button, 239, 56).alpha, 0) << "rounded corner";

    // The title starts about 33 points in (an 8-point inset and six spaces of the 15-point bold
    // font) and its line is centred: every pixel behind it contrasts with white at least 4.5 : 1.
    double worst = 100;
    for (int y = 10; y < 47; ++y)
        for (int x = 32; x < 230; ++x)
            worst = std::min(worst, contrastWithWhite(colourAt(*button, x, y)));
    EXPECT_GT(worst, 4.5);

    // The emblem is light, vertically centred, about 22 points from the left edge, and ends before
    // the title begins.
    EXPECT_TRUE(isLight(colourAt(*button, 22, 28)));
    int lightestColumn = 0;
    for (int x = 0; x < 240; ++x)
        for (int y = 0; y < 57; ++y)
            if (isLight(colourAt(*button, x, y)))
                lightestColumn = std::max(lightestColumn, x);
    EXPECT_GE(lightestColumn, 26);
    EXPECT_LT(lightestColumn, 32);
}

TEST(Artwork, TheInfoButtonIsALightRingAroundAnI)
{
    const auto info = load("InfoButton.png");
    ASSERT_TRUE(info);
    for (auto [x, y] : {std::pair{0, 0}, {49, 0}, {0, 49}, {49, 49}, {25, 2}, {2, 25}})
        EXPECT_EQ(colourAt(*info, x, y).alpha, 0) << x << "," << y;

    // The ring, across the row through the centre: 22 to 27 points wide.
    int left = 50, right = -1;
    for (int x = 0; x < 50; ++x) {
        if (isLight(colourAt(*info, x, 25))) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    EXPECT_GE(right - left + 1, 22);
    EXPECT_LE(right - left + 1, 27);
    EXPECT_NEAR((left + right + 1) / 2.0, 25, 1);

    // Inside: the stem and the dot of the "i", dark between them and the ring.
    EXPECT_TRUE(isLight(colourAt(*info, 25, 27))) << "stem";
    EXPECT_TRUE(isLight(colourAt(*info, 25, 18))) << "dot";
    EXPECT_FALSE(isLight(colourAt(*info, 25, 21))) << "gap under the dot";
    EXPECT_FALSE(isLight(colourAt(*info, 18, 25))) << "between stem and ring";
    EXPECT_GT(colourAt(*info, 18, 25).alpha, 0.2) << "a dark veil behind the letter";
}

} // namespace
} // namespace dazed
