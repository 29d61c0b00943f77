#include "UITestSupport.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewController.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

TEST(NotificationCenter, DeliversByNameAndSender)
{
    NSNotificationCenter center;
    int any = 0, named = 0, fromSender = 0;
    const int sender = 0, other = 0;
    center.addObserver(
        &any, [&](const NSNotification&) { ++any; }, "", nullptr);
    center.addObserver(
        &named, [&](const NSNotification& n) { named += n.name == "A"; }, "A", nullptr);
    center.addObserver(
        &fromSender, [&](const NSNotification&) { ++fromSender; }, "A", &sender);

    center.postNotificationName("A", &sender);
    center.postNotificationName("A", &other);
    center.postNotificationName("B", &sender);
    EXPECT_EQ(any, 3);
    EXPECT_EQ(named, 2);
    EXPECT_EQ(fromSender, 1);

    center.removeObserver(&named);
    center.postNotificationName("A", nullptr);
    EXPECT_EQ(named, 2);
}

TEST(NotificationCenter, ARepeatedSubscriptionReplacesTheEarlierOne)
{
    NSNotificationCenter center;
    int calls = 0;
    const int observer = 0;
    for (int i = 0; i < 3; ++i)
        center.addObserver(
            &observer, [&](const NSNotification&) { ++calls; }, "A", nullptr);
    center.postNotificationName("A");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(center.observerCount(), 1u);
}

TEST(NotificationCenter, AnObserverMayUnsubscribeAnotherWhileBeingCalled)
{
    NSNotificationCenter center;
    int first = 0, second = 0;
    center.addObserver(
        &first, [&](const NSNotification&) { ++first, center.removeObserver(&second); }, "A", nullptr);
    center.addObserver(
        &second, [&](const NSNotification&) { ++second; }, "A", nullptr);
    center.postNotificationName("A");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

// Subscribes to orientation changes when asked about autorotation, as the sky-screen controller
// does: asked again on every turn, it subscribes again, and each change must still reach it once.
class OrientationController : public UIViewController {
public:
    std::vector<int> orientations;
    std::vector<CGRect> screens;
    ~OrientationController() override { NSNotificationCenter::defaultCenter().removeObserver(this); }
    bool shouldAutorotateToInterfaceOrientation(int) override
    {
        observeDeviceOrientation([this] {
            orientations.push_back(UIDevice::currentDevice().orientation());
            screens.push_back(UIScreen::mainScreen() ? UIScreen::mainScreen()->bounds() : CGRect{});
        });
        return true;
    }
};

TEST(DeviceOrientation, TurnsArePostedToSubscribersWithTheNewCode)
{
    test::HeadlessApp app;
    OrientationController controller;
    app.window->addSubview(controller.view());
    EXPECT_EQ(UIDevice::currentDevice().orientation(), UIDeviceOrientationUnknown)
        << "unknown until someone asks for orientation notifications";

    app.send(RotateInput{RotationDirection::Left}); // asked, subscribes, hears this change
    app.send(RotateInput{RotationDirection::Left});
    app.send(RotateInput{RotationDirection::Right});
    app.send(OrientationInput{UIDeviceOrientationFaceUp});
    app.send(OrientationInput{UIDeviceOrientationFaceUp}); // no change, no notification
    app.send(OrientationInput{42});                        // not a code
    app.send(RotateInput{RotationDirection::Right});       // from face up: turns the last upright one
    EXPECT_EQ(controller.orientations, (std::vector<int>{3, 2, 3, 5, 1}));
    // The main screen keeps its portrait bounds, whatever the device does.
    for (const auto& s : controller.screens)
        EXPECT_EQ(s, CGRectMake(0, 0, 320, 480));
}

TEST(DeviceOrientation, TheEmulatedScreenTurnsWithTheDevice)
{
    test::HeadlessApp app;
    OrientationController root;
    app.window->addSubview(root.view());
    EXPECT_EQ(app.host.screenSize(), (CGSize{320, 480}));
    app.send(OrientationInput{UIDeviceOrientationLandscapeRight});
    EXPECT_EQ(app.host.screenSize(), (CGSize{480, 320}));
    EXPECT_EQ(app.window->frame(), CGRectMake(0, 0, 480, 320));
    EXPECT_EQ(root.view()->frame(), CGRectMake(0, 0, 480, 320))
        << "a root controller's view fills the window";
    EXPECT_EQ(app.host.lastPresented()->pixelWidth(), 480);
    app.send(OrientationInput{UIDeviceOrientationFaceDown}); // lying flat keeps the layout
    EXPECT_EQ(app.host.screenSize(), (CGSize{480, 320}));
    app.send(OrientationInput{UIDeviceOrientationPortraitUpsideDown});
    EXPECT_EQ(app.host.screenSize(), (CGSize{320, 480}));
}

TEST(DeviceOrientation, NothingIsPostedBeforeNotificationsAreTurnedOn)
{
    test::HeadlessApp app;
    int calls = 0;
    NSNotificationCenter::defaultCenter().addObserver(
        &calls, [&](const NSNotification&) { ++calls; }, UIDeviceOrientationDidChangeNotification, nullptr);
    app.send(RotateInput{RotationDirection::Right});
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(UIDevice::currentDevice().orientation(), UIDeviceOrientationUnknown);
    EXPECT_EQ(UIDevice::currentDevice().sensedOrientation(), UIDeviceOrientationLandscapeRight);
    UIDevice::currentDevice().beginGeneratingDeviceOrientationNotifications();
    EXPECT_EQ(UIDevice::currentDevice().orientation(), UIDeviceOrientationLandscapeRight);
    EXPECT_EQ(calls, 0) << "the first reading waits until the current event is handled";
    app.send(ResizeInput{});
    EXPECT_EQ(calls, 1) << "then it is posted as a change from unknown";
    app.send(ResizeInput{});
    EXPECT_EQ(calls, 1);
    app.send(RotateInput{RotationDirection::Right});
    EXPECT_EQ(calls, 2);
}

TEST(DeviceOrientation, AStartInLandscapeTurnsTheScreenAndIsReportedOnceAsked)
{
    HeadlessHost host;
    ApplicationLoop loop(host, DeviceFamily::Tablet, UIDeviceOrientationLandscapeLeft);
    EXPECT_EQ(host.screenSize(), (CGSize{1024, 768}));
    EXPECT_EQ(UIDevice::currentDevice().orientation(), UIDeviceOrientationUnknown);
    UIDevice::currentDevice().beginGeneratingDeviceOrientationNotifications();
    EXPECT_EQ(UIDevice::currentDevice().orientation(), UIDeviceOrientationLandscapeLeft);
}

} // namespace
} // namespace dazed
