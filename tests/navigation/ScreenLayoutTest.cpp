#include "navigation/ScreenLayout.h"

#include "platform/ui/UIScreen.h"

#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

// Each test leaves no main screen behind.
class ScreenLayoutFixture : public testing::Test {
protected:
    void TearDown() override { UIScreen::setMainScreen(std::nullopt); }
};

TEST_F(ScreenLayoutFixture, AFixedScreenIsAPhoneOrATabletByItsSum)
{
    EXPECT_EQ(portraitLayoutSize(nullptr), (CGSize{320, 480}));
    UIScreen::setMainScreen(DeviceFamily::Tablet);
    EXPECT_EQ(portraitLayoutSize(UIScreen::mainScreen()), (CGSize{768, 1024}));
    EXPECT_EQ(layoutSizeFor(UIScreen::mainScreen(), UIDeviceOrientationLandscapeRight), (CGSize{1024, 768}));
    EXPECT_EQ(layoutSizeFor(UIScreen::mainScreen(), UIDeviceOrientationFaceUp), std::nullopt)
        << "lying flat says nothing of the layout";
    UIScreen::setMainScreenSize({400, 700});
    EXPECT_EQ(portraitLayoutSize(UIScreen::mainScreen()), (CGSize{320, 480})) << "any other sum is a phone's";
}

TEST_F(ScreenLayoutFixture, AScreenThatFitsItsWindowIsLaidOutForItsOwnSizeWhateverTheCode)
{
    UIScreen::setMainScreenFittingWindow({700, 400}, true);
    EXPECT_EQ(UIScreen::mainScreen()->fit(), ScreenFit::Window);
    EXPECT_EQ(UIScreen::mainScreen()->bounds().size, (CGSize{400, 700})) << "bounds are held upright";
    EXPECT_EQ(portraitLayoutSize(UIScreen::mainScreen()), (CGSize{400, 700}));
    for (const auto code :
         {UIDeviceOrientationUnknown, UIDeviceOrientationPortrait, UIDeviceOrientationLandscapeLeft,
          UIDeviceOrientationFaceUp, UIDeviceOrientationFaceDown})
        EXPECT_EQ(layoutSizeFor(UIScreen::mainScreen(), code), (CGSize{700, 400})) << "code " << code;
    // A fitted screen of a tablet's sum is still its own size, not the tablet's.
    UIScreen::setMainScreenFittingWindow({800, 992}, false);
    EXPECT_EQ(portraitLayoutSize(UIScreen::mainScreen()), (CGSize{800, 992}));
}

TEST(FittedScreenSize, WholePointsWithinTheLimits)
{
    EXPECT_EQ(fittedScreenSize({360, 720}), (CGSize{360, 720}));
    EXPECT_EQ(fittedScreenSize({360.4f, 719.6f}), (CGSize{360, 720}));
    EXPECT_EQ(fittedScreenSize({1, 50}), (CGSize{kMinFittedScreenSide, kMinFittedScreenSide}));
    EXPECT_EQ(fittedScreenSize({-3, 0}), (CGSize{kMinFittedScreenSide, kMinFittedScreenSide}));
    EXPECT_EQ(
        fittedScreenSize({std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}),
        (CGSize{kMinFittedScreenSide, kMaxFittedScreenSide}));
    EXPECT_EQ(fittedScreenSize({1e30f, 5000}), (CGSize{kMaxFittedScreenSide, kMaxFittedScreenSide}));
}

} // namespace
} // namespace dazed
