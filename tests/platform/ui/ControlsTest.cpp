#include "UITestSupport.h"
#include "platform/graphics/image/RasterSurface.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "tests/support/ReportedProblems.h"
#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace dazed {
namespace {

TEST(Button, TouchUpInsideRunsTheActionOnce)
{
    test::HeadlessApp app;
    auto button = UIButton::buttonWithType(UIButtonTypeRoundedRect);
    button->setFrame(CGRectMake(40, 391.5f, 240, 57));
    int inside = 0, down = 0;
    button->addTarget([&] { ++inside; }, UIControlEventTouchUpInside);
    button->addTarget([&] { ++down; }, UIControlEventTouchDown);
    app.window->addSubview(button);

    app.tap({160, 420});
    EXPECT_EQ(inside, 1);
    EXPECT_EQ(down, 1);

    // Lifting outside the button cancels the press.
    app.touch(2, UITouchPhase::Began, {160, 420});
    EXPECT_TRUE(button->isHighlighted());
    app.touch(2, UITouchPhase::Moved, {160, 200});
    EXPECT_FALSE(button->isHighlighted());
    app.touch(2, UITouchPhase::Ended, {160, 200});
    EXPECT_EQ(inside, 1);
}

TEST(Button, AnActionMayTakeTheButtonOutOfTheTree)
{
    test::HeadlessApp app;
    std::weak_ptr<UIButton> weak;
    {
        auto button = UIButton::buttonWithType(UIButtonTypeInfoLight);
        button->setFrame(CGRectMake(265, 405, 50, 50));
        button->addTarget([b = button.get()] { b->removeFromSuperview(); }, UIControlEventTouchUpInside);
        app.window->addSubview(button);
        weak = button;
    }
    app.tap({290, 430});
    EXPECT_TRUE(weak.expired());
}

TEST(Button, TitlesAndColoursFallBackToTheNormalState)
{
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setTitle("      example.org", UIControlStateNormal);
    button->setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    EXPECT_EQ(button->titleForState(UIControlStateHighlighted), "      example.org");
    EXPECT_EQ(button->titleColorForState(UIControlStateHighlighted), UIColor::whiteColor());
    button->setTitle("pressed", UIControlStateHighlighted);
    EXPECT_EQ(button->titleForState(UIControlStateHighlighted), "pressed");
    EXPECT_EQ(UIButton::buttonWithType(UIButtonTypeInfoLight)->frame().size.width, 18);
}

TEST(Button, AClearCustomButtonDrawsNothingButStillTakesTouches)
{
    test::HeadlessApp app;
    app.window->setBackgroundColor(UIColor(0, 1, 0, 1));
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(10, 90, 310, 240));
    button->setBackgroundColor(UIColor::clearColor());
    int presses = 0;
    button->addTarget([&] { ++presses; }, UIControlEventTouchUpInside);
    app.window->addSubview(button);
    app.loop.display();
    EXPECT_EQ(app.host.lastPresented()->pixelAt(100, 200), 0xFF00FF00u);
    app.tap({100, 200});
    EXPECT_EQ(presses, 1);
}

struct ImageFixture : ::testing::Test {
    test::ScratchFolder scratch;
    std::filesystem::path dir = scratch.path();
    void SetUp() override
    {
        setenv("DAZED_RESOURCE_DIR", dir.c_str(), 1);
        RasterSurface png(30, 20, 1.0);
        CGContextSetRGBFillColor(png.context(), 1, 0, 0, 1);
        CGContextFillRect(png.context(), CGRectMake(0, 0, 30, 20));
        const Result<std::string> encoded = png.encodePng();
        ASSERT_TRUE(encoded) << encoded.error().message;
        const std::string& bytes = encoded.value();
        std::ofstream(dir / "logo.png", std::ios::binary) << bytes;
        std::ofstream(dir / "corrupt.png", std::ios::binary) << "\x89PNG not really";
    }
    void TearDown() override { unsetenv("DAZED_RESOURCE_DIR"); }
};

TEST_F(ImageFixture, ImagesLoadByNameAndSizeTheirViews)
{
    auto image = UIImage::imageNamed("logo.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (CGSize{30, 20}));
    EXPECT_EQ(UIImage::imageNamed("logo.png"), image) << "loaded once and shared";
    UIImageView view(image);
    EXPECT_EQ(view.frame(), CGRectMake(0, 0, 30, 20));
    view.setCenter({160, 270});
    EXPECT_EQ(view.frame(), CGRectMake(145, 260, 30, 20));

    test::HeadlessApp app;
    auto shown = std::make_shared<UIImageView>(image);
    app.window->addSubview(shown);
    app.loop.display();
    EXPECT_EQ(app.host.lastPresented()->pixelAt(15, 10), 0xFFFF0000u);
}

TEST_F(ImageFixture, AMissingOrCorruptImageGivesNoPictureAndNoCrash)
{
    EXPECT_EQ(UIImage::imageNamed("absent.png"), nullptr);
    EXPECT_EQ(UIImage::imageNamed("corrupt.png"), nullptr);
    EXPECT_EQ(UIImage::imageNamed("../logo.png"), nullptr);
    EXPECT_EQ(UIImage::imageNamed(""), nullptr);
    auto view = std::make_shared<UIImageView>(UIImage::imageNamed("absent.png"));
    EXPECT_EQ(view->frame().size, (CGSize{0, 0}));
    auto button = UIButton::buttonWithType(UIButtonTypeRoundedRect);
    button->setFrame(CGRectMake(40, 391.5f, 240, 57));
    button->setBackgroundImage(UIImage::imageNamed("corrupt.png"), UIControlStateNormal);

    test::HeadlessApp app;
    app.window->addSubview(view);
    app.window->addSubview(button);
    app.loop.display(); // draws without a picture
    EXPECT_GT(app.host.presentCount(), 0);
}

TEST(Label, DrawsCentredTextOnItsBackground)
{
    test::HeadlessApp app;
    auto label = std::make_shared<UILabel>(CGRectMake(20, 70, 280, 40));
    EXPECT_FALSE(label->isUserInteractionEnabled());
    label->setText("a New application");
    label->setBackgroundColor(UIColor::blackColor());
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(UITextAlignmentCenter);
    label->setFont(UIFont::systemFontOfSize(15));
    EXPECT_EQ(label->font().pointSize(), 15);
    app.window->setBackgroundColor(UIColor(0, 0, 1, 1));
    app.window->addSubview(label);
    app.loop.display();
    const auto& screen = *app.host.lastPresented();
    // Some white ink lies in the middle of the label and none near its ends.
    int middle = 0, ends = 0;
    for (int y = 70; y < 110; ++y) {
        for (int x = 60; x < 260; ++x)
            middle += (screen.pixelAt(x, y) & 0xFF) > 0x80;
        for (int x = 21; x < 40; ++x)
            ends += (screen.pixelAt(x, y) & 0xFF) > 0x80;
    }
    EXPECT_GT(middle, 50);
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(screen.pixelAt(22, 72), 0xFF000000u) << "the label's background";
}

TEST(NavigationBar, DoneRunsItsActionAndTheBarKeepsItsItem)
{
    test::HeadlessApp app;
    auto bar = std::make_shared<UINavigationBar>(CGRectMake(0, 0, 320, 44));
    bar->setBarStyle(UIBarStyleBlack);
    int done = 0;
    auto item = std::make_shared<UINavigationItem>("Dazed");
    item->setRightBarButtonItem(
        std::make_shared<UIBarButtonItem>(UIBarButtonSystemItemDone, [&] { ++done; }));
    bar->pushNavigationItem(item, false);
    item.reset();
    ASSERT_TRUE(bar->topItem());
    EXPECT_EQ(bar->topItem()->title(), "Dazed");
    app.window->addSubview(bar);

    const CGRect button = bar->rightButtonFrame();
    EXPECT_GT(button.minX(), 200);
    EXPECT_LE(button.maxX(), 320);
    app.tap(button.center());
    EXPECT_EQ(done, 1);
    app.tap({160, 22}); // the title is not a button
    EXPECT_EQ(done, 1);
    // The bar is dark in the black style.
    EXPECT_LT(app.host.lastPresented()->pixelAt(5, 40) & 0xFF, 0x40u);
}

TEST(OpenURL, HandsTheURLToTheHostAndReportsAFailureOnce)
{
    test::HeadlessApp app;
    auto url = NSURL::URLWithString("https://example.org/");
    ASSERT_TRUE(url);
    EXPECT_TRUE(UIApplication::sharedApplication().openURL(*url));
    EXPECT_EQ(app.host.openedURLs(), (std::vector<std::string>{"https://example.org/"}));

    app.host.setOpenURLSucceeds(false);
    {
        const test::ReportedProblems reported;
        EXPECT_FALSE(UIApplication::sharedApplication().openURL(*url));
        EXPECT_FALSE(UIApplication::sharedApplication().openURL(*url));
        ASSERT_EQ(reported.messages().size(), 1u) << "a failing link is reported once";
        EXPECT_TRUE(reported.mention("https://example.org/"));
    }

    EXPECT_FALSE(NSURL::URLWithString("no scheme here"));
    {
        const test::ReportedProblems reported;
        EXPECT_FALSE(UIApplication::sharedApplication().openURL(NSURL::URLWithString("")));
        EXPECT_TRUE(reported.mention("(no URL)"));
    }

    UIApplication::sharedApplication().setStatusBarStyle(UIStatusBarStyleBlackOpaque, false);
    EXPECT_EQ(UIApplication::sharedApplication().statusBarStyle(), UIStatusBarStyleBlackOpaque);
}

} // namespace
} // namespace dazed
