// The chart drawn into a night image: red on black as it is drawn, with no pass over the finished
// picture. Against the same frame drawn by day, no pixel keeps green or blue, gives more light or
// loses what the day shows (see test::NightComparison).

#include "RenderTestSupport.h"
#include "platform/graphics/image/Image.h"
#include "platform/graphics/image/ImageContext.h"
#include "tests/platform/graphics/ImageDifference.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

struct NightFrame {
    ChartSetup setup;
    float scale;
};

// The frame drawn into an image of `tint`, recorded and then rasterised in bands as the window does
// (or straight through one context).
std::shared_ptr<Image> frameIn(ScreenTint tint, const NightFrame& f, bool banded)
{
    auto view = test::makeView(f.setup);
    auto image = Image::create(view->bounds().size, f.scale);
    image->setTint(tint);
    if (banded) {
        RecordingContext recording;
        test::drawFrame(*view, &recording);
        drawRecorded(*image, {}, ImageContext::Clear::Black, recording.ops());
    } else {
        ImageContext context(*image, {}, ImageContext::Clear::Black);
        test::drawFrame(*view, context.context());
    }
    return image;
}

TEST(NightChart, IsTheDayFrameInRedWithoutAnyMoreLight)
{
    const NightFrame frames[] = {
        {{.width = 320, .height = 480, .ra = 17, .dec = 31, .labelMode = 0}, 2.0f},
        {{.width = 320, .height = 480, .ra = 6, .dec = 0, .labelMode = 1}, 1.0f},
        {{.width = 1024, .height = 768, .ra = 18, .dec = -30, .labelMode = 2}, 1.0f},
    };
    for (const NightFrame& f : frames)
        for (const bool banded : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << f.setup.width << " x " << f.setup.height << " at " << f.scale << "x, labels "
                         << f.setup.labelMode << (banded ? ", banded" : ""));
            const auto day = frameIn(ScreenTint::Day, f, banded);
            const auto night = frameIn(ScreenTint::Night, f, banded);
            ASSERT_EQ(night->tint(), ScreenTint::Night);
            const test::NightComparison c = test::compareNight(*day, *night);
            EXPECT_EQ(c.greenOrBlue, 0);
            EXPECT_EQ(c.brighter, 0);
            EXPECT_EQ(c.faded, 0);
            // Most of the sky is black or one colour over black, where the two agree.
            EXPECT_GT(c.asNightForm, c.pixels * 9 / 10) << "of " << c.pixels;
            // And the sky is drawn at all: the stars, lines and names are there in red.
            int lit = 0;
            for (int y = 0; y < night->pixelHeight(); ++y)
                for (int x = 0; x < night->pixelWidth(); ++x)
                    lit += ((night->pixelAt(x, y) >> 16) & 0xFFu) > 64u;
            EXPECT_GT(lit, 1000);
        }
}

TEST(NightChart, DrawingByDayAgainGivesTheDayPixels)
{
    // The text cache keeps rendered names for each colour; night names must not come back by day.
    const NightFrame f{{.width = 320, .height = 480, .ra = 17, .dec = 31, .labelMode = 1}, 2.0f};
    const auto before = frameIn(ScreenTint::Day, f, true);
    (void)frameIn(ScreenTint::Night, f, true);
    EXPECT_TRUE(test::samePixels(*frameIn(ScreenTint::Day, f, true), *before));
}

} // namespace
} // namespace dazed
