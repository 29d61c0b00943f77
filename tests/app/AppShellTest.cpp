// The app's shell through the event loop on the headless host: launching with the shipped
// interface descriptions, the root controller's layout and page flip, and the information page.

#include "AppTestSupport.h"
#include "app/FlipsideView.h"
#include "app/FlipsideViewController.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIViewAnimation.h"
#include "platform/ui/UIWindow.h"
#include "render/QuartzView.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using test::LaunchedApp;

struct Screen {
    DeviceFamily family;
    UIDeviceOrientation orientation;
    CGSize size;
};

const Screen kScreens[] = {
    {DeviceFamily::Phone, UIDeviceOrientationPortrait, {320, 480}},
    {DeviceFamily::Phone, UIDeviceOrientationLandscapeLeft, {480, 320}},
    {DeviceFamily::Tablet, UIDeviceOrientationPortrait, {768, 1024}},
    {DeviceFamily::Tablet, UIDeviceOrientationLandscapeRight, {1024, 768}},
};

std::string describe(const Screen& s)
{
    return std::string(deviceFamilyName(s.family)) + " turned " + std::to_string(s.orientation);
}

TEST(Launch, TheSkyIsInPlaceBeforeTheRootViewJoinsTheWindow)
{
    for (DeviceFamily family : {DeviceFamily::Phone, DeviceFamily::Tablet}) {
        LaunchedApp app(family);
        ASSERT_TRUE(app.loop);
        auto& root = app.root();
        ASSERT_FALSE(root.log.empty());
        EXPECT_EQ(root.log.front(),
                  "root viewDidLoad: status bar 2, not in the window, window not shown, sky in place");
        // Then the root view joined the key window, which was shown.
        const auto& window = app.loop->interface().window;
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isKeyWindow());
        EXPECT_EQ(root.view()->superview(), window.get());
        EXPECT_EQ(UIApplication::sharedApplication().statusBarStyle(), UIStatusBarStyleBlackOpaque);
        // Bottom to top: the sky, then the info button.
        const auto& subviews = root.view()->subviews();
        ASSERT_EQ(subviews.size(), 2u);
        EXPECT_EQ(subviews[0], root.mainViewController()->view());
        EXPECT_EQ(subviews[1], root.infoButton());
        EXPECT_GT(app.host.presentCount(), 0) << "the first frame was shown";
    }
}

TEST(Launch, EachFamilyGetsItsDelegate)
{
    LaunchedApp phone(DeviceFamily::Phone);
    EXPECT_NE(dynamic_cast<AppDelegate_Phone*>(phone.loop->interface().delegate.get()), nullptr);
    EXPECT_TRUE(phone.loop->interface().delegate->applicationDidFinishLaunchingWithOptions(
        UIApplication::sharedApplication()))
        << "the phone delegate answers yes";
    LaunchedApp tablet(DeviceFamily::Tablet);
    EXPECT_NE(dynamic_cast<AppDelegate_Pad*>(tablet.loop->interface().delegate.get()), nullptr);
}

TEST(Launch, ADelegateWithoutWindowOrControllerSkipsWhatNeedsThem)
{
    HeadlessHost host;
    ApplicationLoop loop(host, DeviceFamily::Phone);
    AppDelegate_Pad lonely;
    lonely.applicationDidFinishLaunching(UIApplication::sharedApplication());
    EXPECT_EQ(UIApplication::sharedApplication().statusBarStyle(), UIStatusBarStyleBlackOpaque);
    EXPECT_FALSE(UIApplication::sharedApplication().keyWindow());
    AppDelegate_Phone windowOnly;
    windowOnly.setWindow(std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480)));
    windowOnly.setRootViewController(std::make_shared<UIViewController>()); // not a RootViewController
    EXPECT_TRUE(windowOnly.applicationDidFinishLaunchingWithOptions(UIApplication::sharedApplication()));
    EXPECT_TRUE(windowOnly.window()->isKeyWindow());
    EXPECT_TRUE(windowOnly.window()->subviews().empty());
}

TEST(InfoButton, IsFiftyPointsSquareAndCentredNearTheBottomRightOnEveryScreen)
{
    const CGPoint centres[] = {{290, 430}, {450, 270}, {738, 974}, {994, 718}};
    for (std::size_t i = 0; i < std::size(kScreens); ++i) {
        LaunchedApp app(kScreens[i].family, kScreens[i].orientation);
        auto& root = app.root();
        EXPECT_EQ(root.largeur(), kScreens[i].size.width) << describe(kScreens[i]);
        EXPECT_EQ(root.hauteur(), kScreens[i].size.height) << describe(kScreens[i]);
        EXPECT_EQ(root.infoButton()->center(), centres[i]) << describe(kScreens[i]);
        EXPECT_EQ(root.infoButton()->frame().size, (CGSize{50, 50}));
        EXPECT_EQ(root.mainViewController()->quartzView()->frame().size, kScreens[i].size)
            << describe(kScreens[i]);
    }
}

TEST(InfoButton, FlipsToThePageAndDoneFlipsBack)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    root.log.clear();
    app.tap({290, 430});
    ASSERT_TRUE(root.flipsideViewController());
    const auto& page = root.flipsideViewController()->view();
    const auto* flip = UIViewAnimation::shared().transitionFor(root.view().get());
    ASSERT_NE(flip, nullptr);
    EXPECT_EQ(flip->kind, UIViewAnimationTransitionFlipFromRight);
    EXPECT_EQ(flip->duration, 1.0);
    // Bottom to top: the page, then its bar; the info button is gone.
    ASSERT_EQ(root.view()->subviews().size(), 2u);
    EXPECT_EQ(root.view()->subviews()[0], page);
    EXPECT_EQ(root.view()->subviews()[1], root.flipsideNavigationBar());
    EXPECT_EQ(root.infoButton()->superview(), nullptr);
    EXPECT_EQ(root.log, (std::vector<std::string>{"sky viewWillDisappear animated (shown)",
                                                  "sky viewDidDisappear animated (hidden)"}));
    app.settle();

    root.log.clear();
    const CGRect done = root.flipsideNavigationBar()->rightButtonFrame();
    app.tap(done.center());
    flip = UIViewAnimation::shared().transitionFor(root.view().get());
    ASSERT_NE(flip, nullptr);
    EXPECT_EQ(flip->kind, UIViewAnimationTransitionFlipFromLeft);
    EXPECT_EQ(flip->duration, 1.0);
    ASSERT_EQ(root.view()->subviews().size(), 2u);
    EXPECT_EQ(root.view()->subviews()[0], root.mainViewController()->view());
    EXPECT_EQ(root.view()->subviews()[1], root.infoButton());
    EXPECT_EQ(root.infoButton()->center(), (CGPoint{290, 430}));
    EXPECT_EQ(root.log, (std::vector<std::string>{"sky viewWillAppear animated (hidden)",
                                                  "sky viewDidAppear animated (shown)"}));
    EXPECT_EQ(page->superview(), nullptr);
    EXPECT_EQ(root.flipsideNavigationBar()->superview(), nullptr);

    // The page is kept: the next flip shows the same objects.
    const auto keptPage = page;
    app.settle();
    app.tap({290, 430});
    EXPECT_EQ(root.flipsideViewController()->view(), keptPage);
}

// The page's elements as built on each screen (the page is built in the orientation shown).
TEST(InformationPage, ElementsAreLaidOutByTheScreenTheyAreBuiltOn)
{
    struct Layout {
        CGPoint logo, headline, line, webSite;
        CGRect store;
    };
    const Layout layouts[] = {
        {{160, 270}, {160, 70}, {160, 380}, {160, 420}, {{10, 90}, {310, 240}}},
        {{240, 190}, {240, -10}, {240, 220}, {240, 260}, {{10, 90}, {470, 160}}},
        {{384, 542}, {384, 342}, {384, 924}, {384, 964}, {{10, 90}, {758, 512}}},
        {{512, 414}, {512, 214}, {512, 668}, {512, 708}, {{10, 90}, {1014, 384}}},
    };
    for (std::size_t i = 0; i < std::size(kScreens); ++i) {
        LaunchedApp app(kScreens[i].family, kScreens[i].orientation);
        auto& root = app.root();
        root.toggleView();
        const auto& l = layouts[i];
        const std::string where = describe(kScreens[i]);
        const float w = kScreens[i].size.width;
        EXPECT_EQ(root.flipsideViewController()->view()->frame(),
                  CGRectMake(0, 0, w, kScreens[i].size.height));
        EXPECT_EQ(root.flipsideView()->qorviPrg()->center(), l.logo) << where;
        EXPECT_EQ(root.flipsideView()->label()->center(), l.headline) << where;
        EXPECT_EQ(root.flipsideView()->label()->frame().size, (CGSize{280, 40})) << where;
        EXPECT_EQ(root.flipsideView()->label1()->center(), l.line) << where;
        EXPECT_EQ(root.flipsideView()->label1()->frame().size, (CGSize{280, 40})) << where;
        EXPECT_EQ(root.flipsideView()->ch2Button()->center(), l.webSite) << where;
        EXPECT_EQ(root.flipsideView()->ch2Button()->frame().size, (CGSize{240, 57})) << where;
        EXPECT_EQ(root.flipsideView()->ch1Button()->frame(), l.store) << where;
        EXPECT_EQ(root.flipsideNavigationBar()->frame(), CGRectMake(0, 0, w, 44)) << where;
    }
}

TEST(InformationPage, PhonePortraitFramesAndTheElementsLooks)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    root.toggleView();
    EXPECT_EQ(root.flipsideView()->label()->frame(), CGRectMake(20, 50, 280, 40));
    EXPECT_EQ(root.flipsideView()->label1()->frame(), CGRectMake(20, 360, 280, 40));
    EXPECT_EQ(root.flipsideView()->ch2Button()->frame(), CGRectMake(40, 391.5f, 240, 57));

    const auto& page = root.flipsideViewController()->view();
    EXPECT_NE(dynamic_cast<FlipsideView*>(page.get()), nullptr);
    EXPECT_EQ(page->backgroundColor(), UIColor::blackColor()) << "black replaces the flipside colour";
    // Logo, headline, line, then the invisible store button beneath the web-site button.
    const std::vector<std::shared_ptr<UIView>> order{
        root.flipsideView()->qorviPrg(), root.flipsideView()->label(), root.flipsideView()->label1(),
        root.flipsideView()->ch1Button(), root.flipsideView()->ch2Button()};
    EXPECT_EQ(page->subviews(), order);
    EXPECT_EQ(root.flipsideNavigationBar()->superview(), root.view().get());

    EXPECT_EQ(root.flipsideView()->label()->text(), "a New Ipod/Iphone/Ipad application");
    EXPECT_EQ(root.flipsideView()->label1()->text(), "Please visit our web site :");
    for (const auto& label : {root.flipsideView()->label(), root.flipsideView()->label1()}) {
        EXPECT_EQ(label->textColor(), UIColor::whiteColor());
        EXPECT_EQ(label->backgroundColor(), UIColor::blackColor());
        EXPECT_EQ(label->textAlignment(), UITextAlignmentCenter);
        EXPECT_EQ(label->font().pointSize(), 15.0f);
    }
    EXPECT_EQ(root.flipsideView()->ch2Button()->buttonType(), UIButtonTypeRoundedRect);
    EXPECT_EQ(root.flipsideView()->ch2Button()->titleForState(UIControlStateNormal),
              "      stars.example.org");
    EXPECT_EQ(root.flipsideView()->ch2Button()->titleColorForState(UIControlStateNormal),
              UIColor::whiteColor());
    EXPECT_EQ(root.flipsideView()->ch2Button()->contentHorizontalAlignment(),
              UIControlContentHorizontalAlignmentLeft);
    EXPECT_EQ(root.flipsideView()->ch2Button()->backgroundImageForState(UIControlStateNormal),
              UIImage::imageNamed("DevoRod1.png"));
    EXPECT_EQ(root.flipsideView()->ch1Button()->buttonType(), UIButtonTypeCustom);
    EXPECT_TRUE(root.flipsideView()->ch1Button()->titleForState(UIControlStateNormal).empty());
    EXPECT_EQ(root.flipsideView()->qorviPrg()->frame().size, UIImage::imageNamed("qorvilan.png")->size())
        << "at its own size";

    const auto item = root.flipsideNavigationBar()->topItem();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->title(), "Dazed");
    ASSERT_TRUE(item->rightBarButtonItem());
    EXPECT_EQ(item->rightBarButtonItem()->systemItem(), UIBarButtonSystemItemDone);
    EXPECT_EQ(root.flipsideNavigationBar()->barStyle(), UIBarStyleBlack);
}

TEST(InformationPage, TheFlipsideControllerShowsItsColourUntilTheRootPaintsItBlack)
{
    HeadlessHost host;
    ApplicationLoop loop(host, DeviceFamily::Phone);
    FlipsideViewController page;
    EXPECT_EQ(page.view()->backgroundColor(), UIColor::viewFlipsideBackgroundColor());
}

TEST(InformationPage, ButtonsOpenTheirLinksAndAFailureChangesNothing)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.tap({290, 430});
    app.settle();
    app.tap(root.flipsideView()->ch2Button()->center());
    app.tap(root.flipsideView()->qorviPrg()->center()); // the invisible store button lies over the logo
    EXPECT_EQ(app.host.openedURLs(),
              (std::vector<std::string>{test::kTestLinks.webSite, test::kTestLinks.storePage}));

    app.host.setOpenURLSucceeds(false);
    const auto before = root.view()->subviews();
    app.tap(root.flipsideView()->ch2Button()->center());
    EXPECT_EQ(app.host.openedURLs().size(), 3u);
    EXPECT_EQ(root.view()->subviews(), before) << "the page stays as it was";
    EXPECT_FALSE(root.isShowingSky());
}

TEST(InformationPage, WithoutLinksTheButtonsOpenNothing)
{
    HeadlessHost host;
    ApplicationLoop loop(host, DeviceFamily::Phone);
    RootViewController root;
    root.loadFlipsideViewController();
    EXPECT_EQ(root.flipsideView()->ch2Button()->titleForState(UIControlStateNormal), "      ");
    root.choice2();
    root.choiceApp();
    EXPECT_TRUE(host.openedURLs().empty());
}

TEST(InformationPage, BuiltBeforeTheDimensionsAreKnownItDetectsThemFirst)
{
    HeadlessHost host;
    ApplicationLoop loop(host, DeviceFamily::Tablet);
    RootViewController root; // its view never loaded: no dimensions yet
    EXPECT_EQ(root.largeur(), 0.0f);
    root.loadFlipsideViewController();
    EXPECT_EQ(root.largeur(), 768.0f);
    EXPECT_EQ(root.flipsideViewController()->view()->frame(), CGRectMake(0, 0, 768, 1024));
    EXPECT_EQ(root.flipsideNavigationBar()->frame(), CGRectMake(0, 0, 768, 44));
}

TEST(Rotation, BeforeThePageExistsOnlyTheInfoButtonMoves)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.send(RotateInput{RotationDirection::Right});
    EXPECT_EQ(root.largeur(), 480.0f);
    EXPECT_EQ(root.infoButton()->center(), (CGPoint{450, 270}));
    EXPECT_FALSE(root.flipsideViewController());
    EXPECT_EQ(root.mainViewController()->quartzView()->frame(), CGRectMake(0, 0, 480, 320));
    // The button is still tapped where it now is.
    app.tap({450, 270});
    EXPECT_TRUE(root.flipsideViewController());
    EXPECT_FALSE(root.isShowingSky());
}

TEST(Rotation, WhileThePageIsShownThePageAndItsBarAreLaidOutAgain)
{
    LaunchedApp app(DeviceFamily::Tablet);
    auto& root = app.root();
    root.toggleView();
    app.settle();
    app.send(RotateInput{RotationDirection::Left});
    EXPECT_EQ(root.flipsideViewController()->view()->frame(), CGRectMake(0, 0, 1024, 768));
    EXPECT_EQ(root.flipsideNavigationBar()->frame(), CGRectMake(0, 0, 1024, 44));
    EXPECT_EQ(root.flipsideView()->qorviPrg()->center(), (CGPoint{512, 414}));
    EXPECT_EQ(root.infoButton()->center(), (CGPoint{994, 718})) << "re-centred, though not on screen";
    app.send(OrientationInput{UIDeviceOrientationFaceUp});
    EXPECT_EQ(root.largeur(), 1024.0f) << "lying flat keeps the layout";
    // Back on the sky, the button sits where the turned screen has it.
    root.toggleView();
    EXPECT_EQ(root.infoButton()->center(), (CGPoint{994, 718}));
}

TEST(StoreButton, FollowsItsLogoThroughTurnsAndNeverCoversTheWebSiteButton)
{
    // A phone page built in landscape: the store button (y 90 to 250) reaches over the top of the
    // web-site button (y 231.5 to 288.5); a tap there opens the web site.
    LaunchedApp app(DeviceFamily::Phone, UIDeviceOrientationLandscapeLeft);
    auto& root = app.root();
    app.tap({450, 270});
    app.settle();
    ASSERT_EQ(root.flipsideView()->ch2Button()->frame(), CGRectMake(120, 231.5f, 240, 57));
    app.tap({240, 240});
    EXPECT_EQ(app.host.openedURLs(), (std::vector<std::string>{test::kTestLinks.webSite}));

    // Turned to portrait, the store button covers the logo again.
    app.send(RotateInput{RotationDirection::Left});
    EXPECT_EQ(root.flipsideView()->ch1Button()->frame(), CGRectMake(10, 90, 310, 240));
    EXPECT_TRUE(
        root.flipsideView()->ch1Button()->frame().contains(root.flipsideView()->qorviPrg()->center()));
    app.tap(root.flipsideView()->qorviPrg()->center());
    EXPECT_EQ(app.host.openedURLs().back(), test::kTestLinks.storePage);
}

TEST(DesktopKeys, ITogglesThePageAndEscapeLeavesIt)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.send(KeyInput{UIKey{UIKeyCode::Escape}});
    EXPECT_TRUE(root.isShowingSky()) << "Escape on the sky does nothing";
    app.send(KeyInput{UIKey::fromCharacter('i')});
    EXPECT_FALSE(root.isShowingSky());
    app.settle(); // keys wait for the flip to end
    app.send(KeyInput{UIKey{UIKeyCode::LeftArrow}});
    EXPECT_EQ(root.mainViewController()->navigation().xs, 17.0f) << "the hidden sky does not pan";
    app.send(KeyInput{UIKey{UIKeyCode::Escape}});
    EXPECT_TRUE(root.isShowingSky());
    app.settle();
    app.send(KeyInput{UIKey::fromCharacter('i')});
    app.settle();
    app.send(KeyInput{UIKey::fromCharacter('i')});
    EXPECT_TRUE(root.isShowingSky());
    app.settle();
    app.send(KeyInput{UIKey{UIKeyCode::LeftArrow}});
    EXPECT_EQ(root.mainViewController()->navigation().xs, 17.24f) << "back on the sky, keys steer it";
}

TEST(DesktopKeys, TheWheelOverTheInfoButtonStillZooms)
{
    LaunchedApp app(DeviceFamily::Phone);
    app.send(ScrollInput{{290, 430}, 1.0f});
    EXPECT_DOUBLE_EQ(app.root().mainViewController()->navigation().echelle, 1.1);
}

} // namespace
} // namespace dazed
