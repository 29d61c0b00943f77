// A recording painter keeps its calls; made again on a real painter they draw what the calls would
// have drawn there directly, also moved by whole pixels, with everything they need kept alive.

#include "platform/graphics/painter/PainterRecording.h"

#include "platform/graphics/painter/UIPainter.h"
#include "tests/platform/graphics/ImageDifference.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <variant>

namespace dazed {
namespace {

constexpr float kScale = 2.0f;
constexpr CGSize kSize{120, 80};

int differingPixels(const Image& a, const Image& b)
{
    int differing = 0;
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < a.pixelWidth(); ++x)
            differing += a.pixelAt(x, y) != b.pixelAt(x, y) ? 1 : 0;
    return differing;
}

std::shared_ptr<Image> solid()
{
    auto image = Image::create({8, 8}, 1.0f);
    UIPainter painter(*image);
    painter.fill({1, 0.5f, 0, 1});
    return image;
}

std::shared_ptr<Image> checkerboard()
{
    auto image = Image::create({8, 8}, 1.0f);
    UIPainter painter(*image);
    for (int y = 0; y < 8; ++y)
        for (int x = (y % 2); x < 8; x += 2)
            painter.fillRect(CGRectMake(static_cast<float>(x), static_cast<float>(y), 1, 1), {1, 0.5f, 0, 1});
    return image;
}

// A control's worth of every kind of call, clipped, moved, saved and restored.
void paintSample(UIPainter& painter, const Image& picture, const std::string& family)
{
    painter.fill({0.1f, 0.1f, 0.2f, 1});
    painter.fillVerticalGradient(CGRectMake(0, 0, 120, 30), {0.6f, 0.6f, 0.7f, 1}, {0.2f, 0.2f, 0.3f, 1});
    painter.save();
    painter.translate(7.25f, 3.5f);
    painter.clip(CGRectMake(0, 0, 60, 40));
    painter.fillRoundedRect(CGRectMake(2, 2, 70, 20), 6, {0, 0.5f, 1, 1});
    painter.strokeRoundedRect(CGRectMake(2, 2, 70, 20), 6, 1.5f, {1, 1, 1, 1});
    painter.drawText("Sky 12h", CGRectMake(4, 22, 80, 16), FontSpec{family.c_str(), 13, FontWeight::Bold},
                     {1, 1, 0.8f, 1}, TextAlignment::Left);
    painter.restore();
    painter.fillEllipse(CGRectMake(80, 40, 21, 17), {0.9f, 0.2f, 0.2f, 0.8f});
    painter.strokeEllipse(CGRectMake(70, 50, 30, 20), 2, {0.2f, 0.9f, 0.2f, 1});
    painter.drawImage(picture, CGRectMake(10, 50, 24, 24), 0.75f);
    painter.drawImageColumn(picture, 2, 5, CGRectMake(40, 50, 5, 20));
    painter.drawText("centred", CGRectMake(60, 60, 60, 20), FontSpec{}, {1, 1, 1, 1}, TextAlignment::Center);
}

TEST(PainterRecording, CallsMadeAgainDrawWhatTheyDrewDirectlyAlsoMovedByWholePixels)
{
    const auto picture = checkerboard();
    auto direct = Image::create(kSize, kScale);
    {
        UIPainter painter(*direct);
        paintSample(painter, *picture, FontSpec::kSystemFamily);
    }
    PainterRecording recording(kSize);
    {
        UIPainter recorder(recording, kScale);
        paintSample(recorder, *picture, FontSpec::kSystemFamily);
    }
    EXPECT_GT(recording.stepCount(), 10u);
    EXPECT_EQ(recording.size(), kSize);

    auto replayed = Image::create(kSize, kScale);
    {
        UIPainter painter(*replayed);
        recording.replay(*replayed, painter, {});
    }
    EXPECT_EQ(differingPixels(*direct, *replayed), 0);

    // Moved by 10.5 points (21 pixels) to the left and 3 down: the pixels move and do not change.
    auto moved = Image::create(kSize, kScale);
    {
        UIPainter painter(*moved);
        recording.replay(*moved, painter, {-10.5f, 3});
    }
    int compared = 0;
    int worst = 0;
    for (int y = 0; y + 6 < direct->pixelHeight(); ++y)
        for (int x = 21; x < direct->pixelWidth(); ++x) {
            ++compared;
            worst = std::max(worst,
                             test::channelDifference(direct->pixelAt(x, y), moved->pixelAt(x - 21, y + 6)));
        }
    EXPECT_GT(compared, 30000);
    // A scaled image is sampled at positions rounded to Cairo's fixed point, where the move's
    // whole pixels can tip a last bit.
    EXPECT_LE(worst, 1);
}

TEST(PainterRecording, KeepsWhatItDrawsAliveAndLeavesThePainterAsItFoundIt)
{
    PainterRecording recording(kSize);
    std::weak_ptr<Image> watched;
    {
        auto picture = solid();
        watched = picture;
        // The family's characters are gone by the time the calls are made again.
        auto family = std::make_unique<std::string>(FontSpec::kSystemFamily);
        UIPainter recorder(recording, kScale);
        recorder.drawImage(*picture, CGRectMake(0, 0, 40, 40));
        recorder.drawText("Vega", CGRectMake(50, 0, 70, 30),
                          FontSpec{family->c_str(), 20, FontWeight::Regular}, {1, 1, 1, 1},
                          TextAlignment::Left);
        family->assign(family->size(), 'x');
        family.reset();
    }
    EXPECT_FALSE(watched.expired()) << "the recording holds the image it draws";

    auto target = Image::create(kSize, kScale);
    UIPainter painter(*target);
    recording.replay(*target, painter, {5, 5});
    EXPECT_EQ(target->pixelAt(2 * 25, 2 * 25), 0xFFFF8000u) << "the image, moved";
    EXPECT_EQ(target->pixelAt(2 * 5 - 1, 2 * 5 + 1), 0u);
    int lit = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 2 * 55; x < target->pixelWidth(); ++x)
            lit += target->pixelAt(x, y) != 0 ? 1 : 0;
    EXPECT_GT(lit, 100) << "the text, in the family named when it was recorded";

    // The painter is not left moved: a rectangle drawn next lands where it is asked to.
    painter.fillRect(CGRectMake(100, 70, 2, 2), {0, 0, 1, 1});
    EXPECT_EQ(target->pixelAt(201, 141), 0xFF0000FFu);
    EXPECT_EQ(target->pixelAt(211, 151), 0u);

    recording = PainterRecording{};
    EXPECT_TRUE(watched.expired()) << "and lets it go with its calls";
}

TEST(PainterRecording, KeepsEachCallAsARecordOfItsArguments)
{
    PainterRecording recording(kSize);
    const auto picture = solid();
    {
        UIPainter painter(recording, kScale);
        paintSample(painter, *picture, "Nimbus Sans");
    }
    const auto& steps = recording.steps();
    ASSERT_EQ(steps.size(), 14u);
    EXPECT_TRUE(std::holds_alternative<paint::Fill>(steps[0]));
    EXPECT_TRUE(std::holds_alternative<paint::Save>(steps[2]));
    const auto* moved = std::get_if<paint::Translate>(&steps[3]);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->dx, 7.25f);
    EXPECT_EQ(moved->dy, 3.5f);
    const auto* text = std::get_if<paint::DrawText>(&steps[7]);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, "Sky 12h");
    EXPECT_TRUE(text->named);
    EXPECT_EQ(text->family, "Nimbus Sans");
    EXPECT_EQ(text->weight, FontWeight::Bold);
    EXPECT_TRUE(std::holds_alternative<paint::Restore>(steps[8]));
    const auto* image = std::get_if<paint::DrawImage>(&steps[11]);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->image, picture) << "the picture itself, held";
    EXPECT_EQ(image->alpha, 0.75f);
    const auto* centred = std::get_if<paint::DrawText>(&steps[13]);
    ASSERT_TRUE(centred);
    EXPECT_EQ(centred->alignment, TextAlignment::Center);
}

TEST(PainterRecording, ARecordingPainterMeasuresTextAsAPainterOverAnImageDoes)
{
    PainterRecording recording;
    UIPainter recorder(recording, kScale);
    auto image = Image::create(kSize, kScale);
    UIPainter painter(*image);
    for (const FontSpec& font : {FontSpec{}, FontSpec{FontSpec::kSystemFamily, 11, FontWeight::Bold}}) {
        const CGSize recorded = recorder.measureText("Betelgeuse", font);
        const CGSize direct = painter.measureText("Betelgeuse", font);
        EXPECT_GT(recorded.width, 0);
        EXPECT_FLOAT_EQ(recorded.width, direct.width);
        EXPECT_FLOAT_EQ(recorded.height, direct.height);
    }
    EXPECT_EQ(recording.stepCount(), 0u) << "measuring draws nothing";
}

} // namespace
} // namespace dazed

namespace dazed {
namespace {

// Whether the recording's first call paints all of it opaquely, so that a flip need not clear the
// band it is made again into.
bool opaqueAfter(void (*calls)(UIPainter&))
{
    PainterRecording recording(kSize);
    UIPainter painter(recording, kScale);
    calls(painter);
    return recording.opaque();
}

TEST(PainterRecording, OnlyAnOpaqueFillOfItsWholeSizeFirstMakesItOpaque)
{
    EXPECT_TRUE(opaqueAfter([](UIPainter& p) { p.fillRect({{0, 0}, kSize}, {0.1f, 0.1f, 0.15f, 1}); }));
    EXPECT_TRUE(opaqueAfter([](UIPainter& p) {
        p.fillRect({{-5, -5}, {kSize.width + 10, kSize.height + 10}}, {0, 0, 0, 1});
        p.fillRect({{10, 10}, {5, 5}}, {1, 0, 0, 0.5f});
    }));
    EXPECT_FALSE(opaqueAfter([](UIPainter& p) { p.fillRect({{0, 0}, kSize}, {0, 0, 0, 0.9f}); }));
    EXPECT_FALSE(opaqueAfter([](UIPainter& p) { p.fillRect({{0, 1}, kSize}, {0, 0, 0, 1}); }));
    EXPECT_FALSE(opaqueAfter([](UIPainter& p) {
        p.fillRect({{0, 0}, {10, 10}}, {0, 0, 0, 1});
        p.fillRect({{0, 0}, kSize}, {0, 0, 0, 1});
    }));
    EXPECT_FALSE(opaqueAfter([](UIPainter& p) {
        p.save();
        p.fillRect({{0, 0}, kSize}, {0, 0, 0, 1});
        p.restore();
    }));
}

} // namespace
} // namespace dazed
