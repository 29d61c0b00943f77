#include "UITestSupport.h"
#include "platform/graphics/image/RasterSurface.h"
#include "platform/ui/UIImage.h"
#include "tests/support/ReportedProblems.h"
#include "tests/support/ScratchFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace dazed {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kOpaqueRed = 0xFFFF0000u;
constexpr std::uint32_t kOpaqueBlue = 0xFF0000FFu;

// A resource folder of this test's own, named after it, that DAZED_RESOURCE_DIR points to.
class HighDensityImages : public ::testing::Test {
protected:
    void SetUp() override { setenv("DAZED_RESOURCE_DIR", m_dir.c_str(), 1); }
    void TearDown() override { unsetenv("DAZED_RESOURCE_DIR"); }

    // A PNG of `size` points at `scale` pixels per point, filled with one colour.
    void writePicture(const std::string& name, CGSize size, double scale, float red, float blue)
    {
        RasterSurface png(size.width, size.height, scale);
        CGContextSetRGBFillColor(png.context(), red, 0, blue, 1);
        CGContextFillRect(png.context(), CGRectMake(0, 0, size.width, size.height));
        const Result<std::string> encoded = png.encodePng();
        ASSERT_TRUE(encoded) << encoded.error().message;
        const std::string& bytes = encoded.value();
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }
    // The plain picture is red, its high-density variant blue, so that a pixel says which was loaded.
    void writeBoth()
    {
        writePicture("logo.png", {30, 20}, 1.0, 1, 0);
        writePicture("logo@2x.png", {30, 20}, 2.0, 0, 1);
    }

    test::ScratchFolder m_scratch;
    fs::path m_dir = m_scratch.path();
};

TEST_F(HighDensityImages, AtScaleTwoTheDenserFileIsChosenAtThePlainFilesSizeInPoints)
{
    writeBoth();
    test::HeadlessApp app;
    app.host.setScale(2);
    auto image = UIImage::imageNamed("logo.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2.0f);
    EXPECT_EQ(image->image()->pixelWidth(), 60);
    EXPECT_EQ(image->image()->pixelHeight(), 40);
    EXPECT_EQ(image->size(), (CGSize{30, 20}));
    EXPECT_EQ(image->image()->pixelAt(0, 0), kOpaqueBlue);

    // Shown in a view it covers its size in points, on the screen's pixels at scale 2.
    auto view = std::make_shared<UIImageView>(image);
    EXPECT_EQ(view->frame(), CGRectMake(0, 0, 30, 20));
    app.window->addSubview(view);
    app.loop.display();
    EXPECT_EQ(app.host.lastPresented()->pixelAt(59, 39), kOpaqueBlue);
    EXPECT_NE(app.host.lastPresented()->pixelAt(61, 41), kOpaqueBlue);
}

TEST_F(HighDensityImages, AtScaleOneThePlainFileIsChosen)
{
    writeBoth();
    test::HeadlessApp app;
    auto image = UIImage::imageNamed("logo.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 1.0f);
    EXPECT_EQ(image->image()->pixelWidth(), 30);
    EXPECT_EQ(image->size(), (CGSize{30, 20}));
    EXPECT_EQ(image->image()->pixelAt(0, 0), kOpaqueRed);
}

TEST_F(HighDensityImages, WithoutAnApplicationThePlainFileIsChosen)
{
    writeBoth();
    auto image = UIImage::imageNamed("logo.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->image()->pixelAt(0, 0), kOpaqueRed);
}

TEST_F(HighDensityImages, AChangeOfScaleFindsThePictureForTheNewScale)
{
    writeBoth();
    test::HeadlessApp app;
    const auto plain = UIImage::imageNamed("logo.png");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->image()->pixelAt(0, 0), kOpaqueRed);

    app.host.setScale(2);
    const auto dense = UIImage::imageNamed("logo.png");
    ASSERT_TRUE(dense);
    EXPECT_EQ(dense->image()->pixelAt(0, 0), kOpaqueBlue) << "not the picture cached at scale 1";
    EXPECT_EQ(UIImage::imageNamed("logo.png"), dense) << "loaded once and shared";

    app.host.setScale(3);
    EXPECT_EQ(UIImage::imageNamed("logo.png"), dense) << "two or more pixels per point";
    app.host.setScale(1.5f);
    EXPECT_EQ(UIImage::imageNamed("logo.png"), plain);
    app.host.setScale(1);
    EXPECT_EQ(UIImage::imageNamed("logo.png"), plain);
}

TEST_F(HighDensityImages, WithoutADenserFileThePlainOneServesEveryScale)
{
    writePicture("plain.png", {30, 20}, 1.0, 1, 0);
    test::HeadlessApp app;
    app.host.setScale(2);
    const auto atTwo = UIImage::imageNamed("plain.png");
    ASSERT_TRUE(atTwo);
    EXPECT_EQ(atTwo->scale(), 1.0f);
    EXPECT_EQ(atTwo->size(), (CGSize{30, 20}));
    EXPECT_EQ(atTwo->image()->pixelAt(0, 0), kOpaqueRed);
    app.host.setScale(1);
    EXPECT_EQ(UIImage::imageNamed("plain.png"), atTwo) << "the same file is loaded once";
}

TEST_F(HighDensityImages, AnUnreadableDenserFileFallsBackToThePlainOneAndFailuresAreSaidOnce)
{
    writePicture("logo.png", {30, 20}, 1.0, 1, 0);
    std::ofstream(m_dir / "logo@2x.png", std::ios::binary) << "\x89PNG not really";
    test::HeadlessApp app;
    const test::ReportedProblems reported;
    for (float scale : {2.0f, 1.0f, 2.0f}) {
        app.host.setScale(scale);
        const auto image = UIImage::imageNamed("logo.png");
        ASSERT_TRUE(image);
        EXPECT_EQ(image->image()->pixelAt(0, 0), kOpaqueRed) << "at scale " << scale;
        EXPECT_EQ(UIImage::imageNamed("absent.png"), nullptr) << "at scale " << scale;
    }
    EXPECT_EQ(reported.messages().size(), 2u);
    EXPECT_TRUE(reported.mention("logo@2x.png"));
    EXPECT_TRUE(reported.mention("absent.png"));
    EXPECT_FALSE(reported.mention("absent@2x.png")) << "a missing variant is not a fault";
}

TEST(HighDensityImageName, PutsTheSuffixBeforeTheExtension)
{
    EXPECT_EQ(highDensityImageName("logo.png"), "logo@2x.png");
    EXPECT_EQ(highDensityImageName("DevoRod1.png"), "DevoRod1@2x.png");
    EXPECT_EQ(highDensityImageName("icons/info.button.png"), "icons/info.button@2x.png");
    EXPECT_EQ(highDensityImageName("v1.2/logo"), "v1.2/logo@2x");
    EXPECT_EQ(highDensityImageName("logo"), "logo@2x");
}

} // namespace
} // namespace dazed
