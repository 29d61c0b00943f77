#include "AppTestSupport.h"
#include "app/Cli.h"
#include "app/FlipsideView.h"
#include "platform/graphics/image/Image.h"
#include "platform/ui/LaunchOptions.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIScreen.h"
#include "render/QuartzView.h"
#include "tests/platform/graphics/ImageDifference.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace dazed {
namespace {

using test::LaunchedApp;

LaunchedApp fitted(CGSize window, UIDeviceOrientation orientation = UIDeviceOrientationPortrait)
{
    return LaunchedApp(DeviceFamily::Phone, orientation, ScreenFit::Window, window);
}

// The window changes size, as its user or the shell resizes it.
void resize(LaunchedApp& app, CGSize window)
{
    app.host.setWindowSize(window);
    app.send(ResizeInput{});
}

// Everything on the sky screen is laid out for a screen of `w` x `h` points.
void expectSkyLaidOutFor(LaunchedApp& app, float w, float h)
{
    auto& root = app.root();
    EXPECT_EQ(app.loop->screenSize(), (CGSize{w, h}));
    EXPECT_EQ(app.host.screenSize(), (CGSize{w, h}));
    EXPECT_EQ(root.view()->frame(), CGRectMake(0, 0, w, h));
    EXPECT_EQ(root.largeur(), w);
    EXPECT_EQ(root.hauteur(), h);
    auto& sky = *root.mainViewController();
    EXPECT_EQ(sky.view()->frame(), CGRectMake(0, 0, w, h));
    EXPECT_EQ(sky.quartzView()->frame(), CGRectMake(0, 0, w, h));
    EXPECT_EQ(sky.navigation().largeur, w);
    EXPECT_EQ(sky.navigation().hauteur, h);
    EXPECT_EQ(sky.quartzView()->fields().largeur, w);
    // The info button: 50 points square, centred 30 in from the right and 50 up from the bottom.
    EXPECT_EQ(root.infoButton()->frame(), CGRectMake(w - 55, h - 75, 50, 50));
    ASSERT_TRUE(app.host.lastPresented());
    EXPECT_EQ(app.host.lastPresented()->size(), (CGSize{w, h}));
}

TEST(DeviceFit, AWindowOfAPhonesSizeIsThePhoneExactly)
{
    LaunchedApp phone(DeviceFamily::Phone);
    LaunchedApp fit = fitted({320, 480});
    ASSERT_TRUE(phone.loop && fit.loop);
    expectSkyLaidOutFor(fit, 320, 480);
    EXPECT_TRUE(test::samePixels(*fit.host.lastPresented(), *phone.host.lastPresented()));
}

TEST(DeviceFit, AWindowOfATabletsSizeIsLaidOutAsTheTablet)
{
    LaunchedApp fit = fitted({1024, 768});
    LaunchedApp tablet(DeviceFamily::Tablet, UIDeviceOrientationLandscapeLeft);
    ASSERT_TRUE(fit.loop && tablet.loop);
    expectSkyLaidOutFor(fit, 1024, 768);
    EXPECT_EQ(tablet.root().infoButton()->frame(), fit.root().infoButton()->frame());
    EXPECT_TRUE(test::samePixels(*fit.host.lastPresented(), *tablet.host.lastPresented()))
        << "the tablet's screen is drawn by the same formulas as any window of its size";
}

TEST(DeviceFit, ResizingLaysTheSkyOutAgainWithTheRatesOfItsWidth)
{
    LaunchedApp app = fitted({320, 480});
    resize(app, {360, 720});
    expectSkyLaidOutFor(app, 360, 720);
    EXPECT_TRUE(app.root().mainViewController()->quartzView()->fields().iphone) << "at most 480 wide";
    // A drag of 100 points moves the centre by an hour at zoom 1 on a phone-sized screen (100 x 1 x
    // zoom points an hour), by two thirds of an hour on a tablet-sized one (100 x 1.5 x zoom).
    const auto dragHours = [&app] {
        const float before = app.root().mainViewController()->navigation().xs;
        app.send(TouchInput{{{1, UITouchPhase::Began, {200, 200}}}});
        app.send(TouchInput{{{1, UITouchPhase::Moved, {300, 200}}}});
        app.send(TouchInput{{{1, UITouchPhase::Ended, {300, 200}}}});
        return app.root().mainViewController()->navigation().xs - before;
    };
    EXPECT_NEAR(std::fabs(dragHours()), 1.0, 1e-4);
    resize(app, {1000, 700});
    expectSkyLaidOutFor(app, 1000, 700);
    EXPECT_FALSE(app.root().mainViewController()->quartzView()->fields().iphone) << "beyond 480 wide";
    EXPECT_NEAR(std::fabs(dragHours()), 1.0 / 1.5, 1e-4);
}

TEST(DeviceFit, ThePageIsLaidOutAgainWhileItIsShown)
{
    LaunchedApp app = fitted({320, 480});
    app.send(KeyInput{UIKey::fromCharacter('i')});
    app.settle();
    auto& root = app.root();
    ASSERT_FALSE(root.isShowingSky());
    resize(app, {600, 900});
    const auto page = root.flipsideView();
    EXPECT_EQ(page->frame(), CGRectMake(0, 0, 600, 900));
    EXPECT_EQ(page->ch2Button()->center(), (CGPoint{300, 840})) << "the web-site button, 60 up, centred";
    EXPECT_EQ(root.flipsideNavigationBar()->frame(), CGRectMake(0, 0, 600, 44));
    app.send(KeyInput{UIKey::fromCharacter('i')});
    app.settle();
    expectSkyLaidOutFor(app, 600, 900);
}

TEST(DeviceFit, TurningTheDeviceSwapsTheWindowsSides)
{
    LaunchedApp app = fitted({400, 700});
    app.send(RotateInput{RotationDirection::Left});
    expectSkyLaidOutFor(app, 700, 400);
    EXPECT_EQ(app.host.windowSize(), (CGSize{700, 400})) << "the window turns with the device";
    EXPECT_EQ(UIScreen::mainScreen()->bounds().size, (CGSize{400, 700})) << "bounds are the portrait size";
    app.send(RotateInput{RotationDirection::Right});
    expectSkyLaidOutFor(app, 400, 700);
}

TEST(DeviceFit, AResizeWhileTheDeviceLiesFlatStillLaysOut)
{
    LaunchedApp app = fitted({320, 480});
    app.send(OrientationInput{UIDeviceOrientationFaceUp});
    resize(app, {500, 500});
    expectSkyLaidOutFor(app, 500, 500);
}

TEST(DeviceFit, TinyAndHugeWindowsAreClampedToScreensThatDrawWhole)
{
    LaunchedApp app = fitted({320, 480});
    for (const CGSize window : {CGSize{1, 1}, CGSize{50, 50}, CGSize{0, 0}, CGSize{-5, 300},
                                CGSize{std::numeric_limits<float>::quiet_NaN(), 400}}) {
        SCOPED_TRACE(testing::Message() << window.width << "x" << window.height);
        resize(app, window);
        const float w = std::max(kMinFittedScreenSide, std::round(window.width >= 0 ? window.width : 0));
        const float h = std::max(kMinFittedScreenSide, std::round(window.height >= 0 ? window.height : 0));
        expectSkyLaidOutFor(app, std::isnan(window.width) ? kMinFittedScreenSide : w, h);
    }
    resize(app, {100000, 30000});
    expectSkyLaidOutFor(app, kMaxFittedScreenSide, kMaxFittedScreenSide);
    resize(app, {333.4f, 481.6f});
    expectSkyLaidOutFor(app, 333, 482);
}

TEST(DeviceFit, ShrinkingToOnePixelDuringTheFlipEndsCleanly)
{
    LaunchedApp app = fitted({320, 480});
    app.send(KeyInput{UIKey::fromCharacter('i')});
    app.host.advance(0.4);
    app.loop->display();
    resize(app, {1, 1});
    app.settle();
    EXPECT_FALSE(app.root().isShowingSky());
    app.send(KeyInput{UIKey::fromCharacter('i')});
    app.settle();
    expectSkyLaidOutFor(app, kMinFittedScreenSide, kMinFittedScreenSide);
}

TEST(DeviceFit, AFixedDeviceIgnoresTheWindowsSize)
{
    LaunchedApp app(DeviceFamily::Phone, UIDeviceOrientationPortrait, ScreenFit::Device, CGSize{900, 900});
    expectSkyLaidOutFor(app, 320, 480);
    resize(app, {1200, 300});
    expectSkyLaidOutFor(app, 320, 480);
}

TEST(DeviceFit, TheOptionIsTheWindowsAndNotRenders)
{
    const char* fit[] = {"dazed", "--device", "fit"};
    const auto options = parseLaunchOptions(3, fit);
    ASSERT_TRUE(options);
    EXPECT_EQ(options.value().fit, ScreenFit::Window);
    EXPECT_EQ(options.value().family, DeviceFamily::Phone);
    const char* phone[] = {"dazed", "--device=fit", "--device", "phone"};
    EXPECT_EQ(parseLaunchOptions(4, phone).value().fit, ScreenFit::Device) << "the last word wins";

    std::ostringstream out, err;
    const auto window = parseCli({"dazed", "--device", "fit"}, out, err);
    ASSERT_TRUE(std::holds_alternative<ChartOptions>(window));
    EXPECT_EQ(std::get<ChartOptions>(window).device, "fit");
    const auto render = parseCli({"dazed", "render", "--device", "fit", "-o", "x.png"}, out, err);
    ASSERT_TRUE(std::holds_alternative<int>(render)) << "a file has no window to fit";
    EXPECT_EQ(std::get<int>(render), 2);
    const auto bad = parseCli({"dazed", "--device", "fits"}, out, err);
    ASSERT_TRUE(std::holds_alternative<int>(bad));
    EXPECT_EQ(std::get<int>(bad), 2);
}

} // namespace
} // namespace dazed
