// The mouse's Alt+drag pinch through the event loop on the headless host: the mouse's finger and its
// mirror image about the screen's centre, marked as its pinch partner as the desktop host marks it.
// The partner pinches the sky and never presses a control, on every screen and either orientation.

#include "AppTestSupport.h"
#include "app/FlipsideView.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIViewAnimation.h"

#include <gtest/gtest.h>
#include <string>

namespace dazed {
namespace {

using test::LaunchedApp;

struct Screen {
    DeviceFamily family;
    UIDeviceOrientation orientation;
    CGSize size;
    CGPoint infoButton;
};

// The info button's centre on each screen: 30 points in from the bottom right corner.
const Screen kScreens[] = {
    {DeviceFamily::Phone, UIDeviceOrientationPortrait, {320, 480}, {290, 430}},
    {DeviceFamily::Phone, UIDeviceOrientationLandscapeLeft, {480, 320}, {450, 270}},
    {DeviceFamily::Tablet, UIDeviceOrientationPortrait, {768, 1024}, {738, 974}},
    {DeviceFamily::Tablet, UIDeviceOrientationLandscapeRight, {1024, 768}, {994, 718}},
};

std::string describe(const Screen& s)
{
    return std::string(deviceFamilyName(s.family)) + " turned " + std::to_string(s.orientation);
}

constexpr std::int64_t kMouse = -1;
constexpr std::int64_t kMirror = -2;

// The point opposite `p` through the centre of a screen of `size`.
CGPoint mirrored(CGPoint p, CGSize size)
{
    return {size.width - p.x, size.height - p.y};
}

// The mouse's finger at `p` and its partner opposite, both changing in one input.
TouchInput altMouse(UITouchPhase phase, CGPoint p, CGSize screen)
{
    TouchInput input;
    input.tapCount = 1;
    input.changes.push_back({kMouse, phase, p});
    input.changes.push_back({kMirror, phase, mirrored(p, screen), kMouse});
    return input;
}

bool flipRuns(const LaunchedApp& app)
{
    return UIViewAnimation::shared().transitionFor(app.root().view().get()) != nullptr;
}

TEST(MirroredFinger, AnAltClickWhoseMirrorLandsOnTheInfoButtonDoesNotFlip)
{
    for (const Screen& screen : kScreens) {
        LaunchedApp app(screen.family, screen.orientation);
        auto& root = app.root();
        ASSERT_EQ(root.infoButton()->center(), screen.infoButton) << describe(screen);
        // The mouse over the readout's corner of the screen, its mirror on the info button.
        const CGPoint mouse = mirrored(screen.infoButton, screen.size);
        app.send(altMouse(UITouchPhase::Began, mouse, screen.size));
        EXPECT_FALSE(root.infoButton()->isHighlighted()) << describe(screen);
        app.send(altMouse(UITouchPhase::Ended, mouse, screen.size));
        app.settle();
        EXPECT_TRUE(root.isShowingSky()) << describe(screen);
        EXPECT_FALSE(root.flipsideViewController()) << describe(screen) << ": the page was never built";
        EXPECT_FALSE(flipRuns(app)) << describe(screen);
    }
}

TEST(MirroredFinger, AnAltDragFromOppositeTheInfoButtonPinchesTheSky)
{
    for (const Screen& screen : kScreens) {
        LaunchedApp app(screen.family, screen.orientation);
        auto& root = app.root();
        const double zoom = root.mainViewController()->navigation().echelle;
        CGPoint mouse = mirrored(screen.infoButton, screen.size);
        app.send(altMouse(UITouchPhase::Began, mouse, screen.size));
        // Towards the centre: the two fingers come together and the chart zooms out, to its limit.
        for (int i = 0; i < 5; ++i) {
            mouse = mouse.translated(10, 10);
            app.send(altMouse(UITouchPhase::Moved, mouse, screen.size));
        }
        EXPECT_FALSE(root.infoButton()->isHighlighted()) << describe(screen);
        app.send(altMouse(UITouchPhase::Ended, mouse, screen.size));
        app.settle();
        EXPECT_LT(root.mainViewController()->navigation().echelle, zoom) << describe(screen);
        EXPECT_TRUE(root.isShowingSky()) << describe(screen);
        EXPECT_FALSE(flipRuns(app)) << describe(screen);
    }
}

TEST(MirroredFinger, OnTheInformationPageItPressesNeitherDoneNorTheLinks)
{
    for (const Screen& screen : kScreens) {
        LaunchedApp app(screen.family, screen.orientation);
        auto& root = app.root();
        app.tap(screen.infoButton);
        app.settle();
        ASSERT_FALSE(root.isShowingSky()) << describe(screen);
        // Done and the web-site button, each as the mirror image of the mouse.
        for (const CGPoint control : {root.flipsideNavigationBar()->rightButtonFrame().center(),
                                      root.flipsideView()->ch2Button()->center()}) {
            const CGPoint mouse = mirrored(control, screen.size);
            app.send(altMouse(UITouchPhase::Began, mouse, screen.size));
            app.send(altMouse(UITouchPhase::Ended, mouse, screen.size));
            app.settle();
        }
        EXPECT_FALSE(root.isShowingSky()) << describe(screen);
        EXPECT_TRUE(app.host.openedURLs().empty()) << describe(screen);
    }
}

// A second real finger is another matter: it presses what it touches, as on a touch screen.
TEST(MirroredFinger, ASecondRealFingerOnTheInfoButtonStillPressesIt)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.send(TouchInput{{{1, UITouchPhase::Began, {30, 50}}, {2, UITouchPhase::Began, {290, 430}}}, 0});
    EXPECT_TRUE(root.infoButton()->isHighlighted());
    app.send(TouchInput{{{1, UITouchPhase::Ended, {30, 50}}, {2, UITouchPhase::Ended, {290, 430}}}, 0});
    EXPECT_FALSE(root.isShowingSky());
}

} // namespace
} // namespace dazed
