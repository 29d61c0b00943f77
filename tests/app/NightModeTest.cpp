#include "AppTestSupport.h"
#include "app/Cli.h"
#include "platform/graphics/image/Image.h"
#include "tests/platform/graphics/ImageDifference.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace dazed {
namespace {

using test::LaunchedApp;

// Green and blue above this, out of 255, would show to eyes adapted to the dark.
constexpr std::uint32_t kDarkAdaptedThreshold = 8;

// How many pixels of `screen` keep green or blue above the threshold.
int pixelsWithGreenOrBlue(const Image& screen)
{
    int count = 0;
    for (int y = 0; y < screen.pixelHeight(); ++y)
        for (int x = 0; x < screen.pixelWidth(); ++x) {
            const std::uint32_t p = screen.pixelAt(x, y);
            if (((p >> 8) & 0xFFu) > kDarkAdaptedThreshold || (p & 0xFFu) > kDarkAdaptedThreshold)
                ++count;
        }
    return count;
}

// A copy of the last screen presented, which the host overwrites with the next.
std::shared_ptr<Image> lastScreen(const LaunchedApp& app)
{
    const auto& shown = app.host.lastPresented();
    if (!shown)
        return nullptr;
    auto copy = Image::create(shown->size(), shown->scale());
    UIPainter painter(*copy);
    painter.copyPixels(*shown);
    return copy;
}

const UIKey kR = UIKey::fromCharacter('r');

TEST(NightMode, TheKeyTurnsTheSkyRedAndBackToTheSamePixels)
{
    LaunchedApp app(DeviceFamily::Phone);
    ASSERT_TRUE(app.loop);
    const auto day = lastScreen(app);
    ASSERT_TRUE(day);
    ASSERT_GT(pixelsWithGreenOrBlue(*day), 1000) << "the day chart has blue lines and white stars";
    app.send(KeyInput{kR});
    EXPECT_TRUE(app.root().nightMode());
    const auto night = lastScreen(app);
    EXPECT_EQ(pixelsWithGreenOrBlue(*night), 0);
    const test::NightComparison c = test::compareNight(*day, *night);
    EXPECT_EQ(c.greenOrBlue, 0) << "not even a faint one";
    EXPECT_EQ(c.brighter, 0) << "the display is never made brighter";
    EXPECT_EQ(c.faded, 0) << "nothing the day shows is lost";
    EXPECT_EQ(app.host.pointerTint(), ScreenTint::Night);
    app.send(KeyInput{kR});
    EXPECT_FALSE(app.root().nightMode());
    EXPECT_TRUE(test::samePixels(*lastScreen(app), *day)) << "day again is today's picture exactly";
    EXPECT_EQ(app.host.pointerTint(), ScreenTint::Day);
}

TEST(NightMode, EachSwitchIsReportedOnceToBeRemembered)
{
    LaunchedApp app(DeviceFamily::Phone);
    std::vector<bool> heard;
    app.root().setNightModeObserver([&heard](bool on) { heard.push_back(on); });
    app.send(KeyInput{kR});
    app.root().setNightMode(true); // already on: nothing to remember
    app.send(KeyInput{kR});
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
}

TEST(NightMode, AHeldKeyDoesNotFlickerAndModifiedKeysAreNotIt)
{
    LaunchedApp app(DeviceFamily::Phone);
    app.send(KeyInput{kR});
    app.send(KeyInput{UIKey{UIKeyCode::Character, 'r', 0, true}});
    app.send(KeyInput{UIKey{UIKeyCode::Character, 'r', 0, true}});
    EXPECT_TRUE(app.root().nightMode()) << "repeats of a held key change nothing";
    app.send(KeyInput{UIKey::fromCharacter('r', UIKeyModifierControl)});
    EXPECT_TRUE(app.root().nightMode()) << "Ctrl+R is not night mode";
}

TEST(NightMode, ThePageTheFlipAndTheTurnedTabletAreRedToo)
{
    for (const float scale : {1.0f, 2.0f}) {
        SCOPED_TRACE(testing::Message() << scale << " pixels a point");
        LaunchedApp app(DeviceFamily::Tablet);
        app.host.setScale(scale);
        app.send(KeyInput{kR});
        // Halfway through the flip to the page.
        app.send(KeyInput{UIKey::fromCharacter('i')});
        app.host.advance(0.3);
        app.loop->display();
        EXPECT_EQ(pixelsWithGreenOrBlue(*app.host.lastPresented()), 0) << "a quarter through the flip";
        app.host.advance(0.4);
        app.loop->display();
        EXPECT_EQ(pixelsWithGreenOrBlue(*app.host.lastPresented()), 0) << "past the middle of the flip";
        app.settle();
        ASSERT_FALSE(app.root().isShowingSky());
        EXPECT_EQ(pixelsWithGreenOrBlue(*app.host.lastPresented()), 0) << "the information page";
        app.send(RotateInput{RotationDirection::Left});
        EXPECT_EQ(pixelsWithGreenOrBlue(*app.host.lastPresented()), 0) << "the page turned";
        const auto page = lastScreen(app);
        app.send(KeyInput{kR});
        EXPECT_GT(pixelsWithGreenOrBlue(*app.host.lastPresented()), 0) << "the page's day colours return";
        // The page's pictures and text, drawn in night colours, against the page by day.
        const test::NightComparison c = test::compareNight(*app.host.lastPresented(), *page);
        EXPECT_EQ(c.brighter, 0);
        EXPECT_EQ(c.faded, 0);
        app.send(KeyInput{kR});
        EXPECT_TRUE(test::samePixels(*app.host.lastPresented(), *page)) << "switching twice is no change";
    }
}

TEST(NightMode, DrawnStraightIntoTheWindowsPixelsTheMarginStaysUntouched)
{
    LaunchedApp app(DeviceFamily::Phone);
    app.host.setLendsPixels(true);
    app.send(KeyInput{kR});
    EXPECT_EQ(pixelsWithGreenOrBlue(*app.host.lastPresented()), 0);
    EXPECT_TRUE(app.host.lentMarginIntact());
}

TEST(NightMode, SwitchingDrawsOneFrameAndNothingMoreWhileIdle)
{
    LaunchedApp app(DeviceFamily::Phone);
    const int before = app.host.presentCount();
    app.send(KeyInput{kR});
    EXPECT_EQ(app.host.presentCount(), before + 1);
    app.host.advance(5.0);
    app.loop->display();
    EXPECT_EQ(app.host.presentCount(), before + 1) << "night mode itself needs no frames";
    app.root().setNightMode(true);
    app.loop->display();
    EXPECT_EQ(app.host.presentCount(), before + 1) << "asking again for what is on changes nothing";
}

TEST(NightMode, TheOptionStartsTheWindowAtNight)
{
    std::ostringstream out, err;
    const auto plain = parseCli({"dazed"}, out, err);
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(plain));
    EXPECT_FALSE(std::get<ChartOptions>(plain).night);
    const auto night = parseCli({"dazed", "--night", "--device", "tablet"}, out, err);
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(night));
    EXPECT_TRUE(std::get<ChartOptions>(night).night);
    const auto valued = parseCli({"dazed", "--night=maybe"}, out, err);
    ASSERT_TRUE(std::holds_alternative<int>(valued)) << "a flag takes no word";
    EXPECT_EQ(std::get<int>(valued), 2);
}

} // namespace
} // namespace dazed
