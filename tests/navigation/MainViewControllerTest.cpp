#include "SkyScreenTestSupport.h"
#include "render/QuartzView.h"
#include "render/SkyCentre.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using test::DeviceSetUp;
using test::RecordingMainViewController;

constexpr CGSize kPhone{320, 480};
constexpr CGSize kTablet{768, 1024};

TEST(SkyScreenSetUp, SendsTheStartCommandsInOrderBeforeAnyTouch)
{
    DeviceSetUp device(kPhone);
    DeviceSetUp::startSensor();
    RecordingMainViewController controller("MainView");
    EXPECT_TRUE(controller.commands.empty()) << "nothing before the view is asked for";
    const auto& container = controller.view();

    const std::vector<SkyViewCommand> expected{WritexsCommand{17, 31, 320, 480}, SetEchCommand{1.0},
                                               WritexsCommand{17, 31, 320, 480}};
    EXPECT_EQ(controller.commands, expected);
    EXPECT_EQ(xs1, 17.0);
    EXPECT_EQ(ys1, 31.0);
    EXPECT_EQ(controller.navigation().echelle, 1.0);
    EXPECT_EQ(controller.quartzView()->fields().ech, 1.0);

    // A plain opaque container holding the opaque sky view, both filling the screen.
    ASSERT_TRUE(container);
    EXPECT_EQ(container->frame(), CGRectMake(0, 0, 320, 480));
    EXPECT_TRUE(container->isOpaque());
    ASSERT_EQ(container->subviews().size(), 1u);
    EXPECT_EQ(container->subviews()[0], controller.quartzView());
    EXPECT_EQ(controller.quartzView()->frame(), CGRectMake(0, 0, 320, 480));
    EXPECT_TRUE(controller.quartzView()->isOpaque());
    EXPECT_FALSE(container->backgroundColor()) << "no background colour on either view";
}

TEST(SkyScreenSetUp, ScreenSizesByTheSumOfTheMainScreensSides)
{
    struct Case {
        CGSize screen;
        int orientation;
        CGSize expected;
    };
    const Case cases[] = {
        {kTablet, 1, {768, 1024}},     {kTablet, 3, {1024, 768}},
        {{1024, 768}, 1, {768, 1024}}, {kPhone, 1, {320, 480}},
        {kPhone, 4, {480, 320}},       {{320, 568}, 1, {320, 480}},
        {{320, 568}, 3, {480, 320}},   {{800, 1000}, 1, {320, 480}},
        {{800, 992}, 1, {768, 1024}}, // only the sum is looked at
        {{0, 0}, 1, {320, 480}},
    };
    for (const auto& c : cases) {
        DeviceSetUp device(c.screen, c.orientation);
        DeviceSetUp::startSensor();
        RecordingMainViewController controller;
        (void)controller.view();
        EXPECT_EQ(controller.navigation().largeur, c.expected.width)
            << c.screen << " turned " << c.orientation;
        EXPECT_EQ(controller.navigation().hauteur, c.expected.height)
            << c.screen << " turned " << c.orientation;
    }
}

TEST(SkyScreenSetUp, WithoutAMainScreenItIsAPhone)
{
    DeviceSetUp device(kTablet);
    UIScreen::setMainScreen(std::nullopt);
    RecordingMainViewController controller;
    (void)controller.view();
    EXPECT_EQ(controller.quartzView()->frame(), CGRectMake(0, 0, 320, 480));
}

TEST(SkyScreenSetUp, StartingBeforeTheDeviceKnowsItsOrientationGivesPortrait)
{
    // The device is held in landscape, but nobody has asked for orientation notifications yet:
    // it reports "unknown", and the first detection takes the portrait size.
    DeviceSetUp device(kTablet, UIDeviceOrientationLandscapeLeft);
    RecordingMainViewController controller;
    (void)controller.view();
    EXPECT_EQ(UIDevice::currentDevice().orientation(), UIDeviceOrientationUnknown);
    EXPECT_EQ(controller.navigation().largeur, 768.0f);
    EXPECT_EQ(controller.navigation().hauteur, 1024.0f);

    // The autorotation question starts the sensor; its first reading turns the screen.
    EXPECT_TRUE(controller.shouldAutorotateToInterfaceOrientation(UIInterfaceOrientationPortrait));
    UIDevice::currentDevice().postPendingChange();
    EXPECT_EQ(controller.navigation().largeur, 1024.0f);
    EXPECT_EQ(controller.quartzView()->frame(), CGRectMake(0, 0, 1024, 768));
}

TEST(SkyScreenOrientation, EachCodeOnPhoneAndTablet)
{
    struct Expect {
        int code;
        bool changes;
        bool landscape;
    };
    const Expect codes[] = {{0, false, false}, {1, true, false},  {2, true, false}, {3, true, true},
                            {4, true, true},   {5, false, false}, {6, false, false}};
    for (CGSize screen : {kPhone, kTablet}) {
        for (const auto& e : codes) {
            // From landscape, so that a change to portrait shows, and a code that changes nothing
            // leaves the landscape layout.
            DeviceSetUp device(screen, UIDeviceOrientationLandscapeRight);
            DeviceSetUp::startSensor();
            RecordingMainViewController controller;
            (void)controller.view();
            controller.commands.clear();
            controller.detectOrientation(); // the sensor's reading: landscape, as at start
            controller.commands.clear();

            UIDevice::currentDevice().reset();
            DeviceSetUp::startSensor();
            DeviceSetUp::turn(e.code);
            controller.detectOrientation();

            const bool landscape = e.changes ? e.landscape : true;
            const CGSize size = landscape ? CGSize{screen.height, screen.width} : screen;
            const auto& nav = controller.navigation();
            EXPECT_EQ(nav.largeur, size.width) << "code " << e.code << " on " << screen;
            EXPECT_EQ(nav.hauteur, size.height) << "code " << e.code << " on " << screen;
            EXPECT_EQ(controller.quartzView()->frame(), CGRectMake(0, 0, size.width, size.height));
            EXPECT_EQ(controller.view()->frame(), CGRectMake(0, 0, size.width, size.height));
            if (e.changes)
                EXPECT_EQ(controller.commands,
                          (std::vector<SkyViewCommand>{WritexsCommand{17, 31, size.width, size.height}}))
                    << "code " << e.code;
            else
                EXPECT_TRUE(controller.commands.empty()) << "code " << e.code << " keeps the layout";
        }
    }
}

TEST(SkyScreenOrientation, TurningKeepsTheCentreAndLyingFlatKeepsTheLayout)
{
    DeviceSetUp device(kPhone);
    RecordingMainViewController controller;
    (void)controller.view();
    (void)controller.shouldAutorotateToInterfaceOrientation(UIInterfaceOrientationPortrait);
    UIDevice::currentDevice().postPendingChange();
    controller.commands.clear();

    DeviceSetUp::turn(UIDeviceOrientationLandscapeLeft);
    EXPECT_EQ(controller.commands, (std::vector<SkyViewCommand>{WritexsCommand{17, 31, 480, 320}}));
    EXPECT_EQ(controller.quartzView()->frame(), CGRectMake(0, 0, 480, 320));
    EXPECT_EQ(controller.view()->frame(), CGRectMake(0, 0, 480, 320));

    DeviceSetUp::turn(UIDeviceOrientationFaceUp);
    DeviceSetUp::turn(UIDeviceOrientationFaceDown);
    EXPECT_EQ(controller.commands.size(), 1u) << "lying flat changes nothing";
    EXPECT_EQ(controller.view()->frame(), CGRectMake(0, 0, 480, 320));

    DeviceSetUp::turn(UIDeviceOrientationPortraitUpsideDown); // stood up: portrait again
    EXPECT_EQ(controller.commands.back(), (SkyViewCommand{WritexsCommand{17, 31, 320, 480}}));
    DeviceSetUp::turn(UIDeviceOrientationLandscapeRight);
    EXPECT_EQ(controller.commands.back(), (SkyViewCommand{WritexsCommand{17, 31, 480, 320}}));
}

TEST(SkyScreenOrientation, RepeatedQuestionsLeaveOneSubscription)
{
    DeviceSetUp device(kPhone);
    RecordingMainViewController controller;
    (void)controller.view();
    const int asked[] = {UIInterfaceOrientationPortrait,
                         UIInterfaceOrientationPortraitUpsideDown,
                         UIInterfaceOrientationLandscapeLeft,
                         UIInterfaceOrientationLandscapeRight,
                         1,
                         1,
                         1};
    for (int orientation : asked)
        EXPECT_TRUE(controller.shouldAutorotateToInterfaceOrientation(orientation));
    UIDevice::currentDevice().postPendingChange();
    controller.commands.clear();
    DeviceSetUp::turn(UIDeviceOrientationLandscapeLeft);
    EXPECT_EQ(controller.commands.size(), 1u) << "one change runs detectOrientation once";
}

TEST(SkyScreenOrientation, ADestroyedControllerHearsNothing)
{
    DeviceSetUp device(kPhone);
    {
        RecordingMainViewController controller;
        (void)controller.view();
        (void)controller.shouldAutorotateToInterfaceOrientation(UIInterfaceOrientationPortrait);
        EXPECT_EQ(NSNotificationCenter::defaultCenter().observerCount(), 1u);
    }
    EXPECT_EQ(NSNotificationCenter::defaultCenter().observerCount(), 0u);
    DeviceSetUp::turn(UIDeviceOrientationLandscapeLeft); // would reach freed memory otherwise
}

TEST(SkyScreenSetUp, AChosenStartCentreIsUsedInPlaceOf17hPlus31)
{
    DeviceSetUp device(kPhone);
    RecordingMainViewController controller;
    controller.setInitialCentre(5.5f, -60.0f);
    (void)controller.view();
    EXPECT_EQ(controller.commands.front(), (SkyViewCommand{WritexsCommand{5.5f, -60.0f, 320, 480}}));
    EXPECT_EQ(controller.commands.back(), (SkyViewCommand{WritexsCommand{5.5f, -60.0f, 320, 480}}));
    EXPECT_EQ(xs1, 5.5);
    EXPECT_EQ(ys1, -60.0);
}

} // namespace
} // namespace dazed
