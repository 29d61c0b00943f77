#include "platform/graphics/image/Image.h"
#include "platform/graphics/image/PixelSize.h"
#include "tests/support/ScratchFolder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <string>

namespace dazed {
namespace {

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string corpusFile(const std::string& name)
{
    return fileBytes(std::string(DAZED_TEST_DATA_DIR) + "/../../fuzz/corpus/fuzz_png/" + name);
}

TEST(DecodePNG, BytesInMemoryGiveTheSamePictureAsTheFile)
{
    const std::string path = std::string(DAZED_RESOURCE_DIR) + "/InfoButton.png";
    const auto loaded = Image::loadPNG(path, 2.0f);
    ASSERT_TRUE(loaded) << loaded.error().message;
    const auto decoded = Image::decodePNG(fileBytes(path), 2.0f);
    ASSERT_TRUE(decoded) << decoded.error().message;
    const auto& fromFile = loaded.value();
    const auto& fromBytes = decoded.value();
    EXPECT_EQ(fromBytes->pixelWidth(), fromFile->pixelWidth());
    EXPECT_EQ(fromBytes->pixelHeight(), fromFile->pixelHeight());
    EXPECT_EQ(fromBytes->size(), fromFile->size());
    for (int y = 0; y < fromFile->pixelHeight(); y += 3)
        for (int x = 0; x < fromFile->pixelWidth(); x += 3)
            ASSERT_EQ(fromBytes->pixelAt(x, y), fromFile->pixelAt(x, y)) << x << ", " << y;
}

TEST(DecodePNG, AHeaderClaimingAHugePictureIsRefusedBeforeDecoding)
{
    // 100000 x 100000 pixels would be 40 GB; the file is 68 bytes.
    const auto huge = Image::decodePNG(corpusFile("huge-header.png"));
    ASSERT_FALSE(huge);
    EXPECT_EQ(huge.error().message,
              "picture too large (100000 x 100000 pixels; at most 16384 a side and 16777216 in all)");
    // Within the side limit, beyond the total.
    const auto wide = Image::decodePNG(corpusFile("wide-header.png"));
    ASSERT_FALSE(wide);
    EXPECT_NE(wide.error().message.find("16384 x 16384"), std::string::npos) << wide.error().message;
}

TEST(DecodePNG, BrokenBytesAreRefusedWithAReason)
{
    for (const std::string& bytes : {std::string(), std::string("GIF89a"), corpusFile("truncated.png"),
                                     corpusFile("rgba-1x1.png").substr(0, 30)}) {
        const auto decoded = Image::decodePNG(bytes);
        ASSERT_FALSE(decoded) << bytes.size();
        EXPECT_EQ(decoded.error().message, "not a readable PNG file");
    }
}

TEST(DecodePNG, SmallPicturesOfEveryKindDecode)
{
    for (const char* name : {"rgba-1x1.png", "gray-3x2.png", "palette-2x2.png", "rgb16-1x1.png"}) {
        const auto image = Image::decodePNG(corpusFile(name));
        ASSERT_TRUE(image) << name << ": " << image.error().message;
        EXPECT_GE(image.value()->pixelWidth(), 1);
    }
    // A 2 x 2 palette picture at a scale that is not a number counts as one pixel a point.
    const auto image =
        Image::decodePNG(corpusFile("palette-2x2.png"), std::numeric_limits<float>::quiet_NaN());
    ASSERT_TRUE(image);
    EXPECT_EQ(image.value()->scale(), 1.0f);
    EXPECT_EQ(image.value()->size(), (CGSize{2, 2}));
}

TEST(LoadPNG, OnlyPlainFilesAreRead)
{
    const test::ScratchFolder scratch;
    const auto whyNot = [](const std::string& path) {
        const auto loaded = Image::loadPNG(path);
        return loaded ? std::string("loaded") : loaded.error().message;
    };
    EXPECT_EQ(whyNot((scratch / "missing.png").string()), "file not found");
    EXPECT_EQ(whyNot(scratch.path().string()), "not a file");
    // A device would be read without end.
    EXPECT_EQ(whyNot("/dev/zero"), "not a file");
}

TEST(CreateImage, AnAbsurdSizeGivesAPictureWithinTheLimits)
{
    auto image = Image::create({1e30f, 1e30f}, 2.0f);
    EXPECT_LE(std::int64_t{image->pixelWidth()} * image->pixelHeight(),
              kMaxImagePixels + 2 * kMaxImageSide + 1);
    EXPECT_GT(image->scale(), 0.0f);
    auto infinite = Image::create({std::numeric_limits<float>::infinity(), 10}, 2.0f);
    EXPECT_EQ(infinite->pixelWidth(), 1);
    EXPECT_EQ(infinite->pixelHeight(), 20);
}

} // namespace
} // namespace dazed
