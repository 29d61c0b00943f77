#include "UITestSupport.h"
#include "platform/graphics/CGContext.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/image/ImageContext.h"
#include "platform/graphics/image/NightPicture.h"
#include "platform/graphics/painter/UIPainter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIViewAnimation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

namespace dazed {
namespace {

using test::kBlack;
using test::kBlue;
using test::kRed;

// Fills its whole bounds red through the drawing context and counts its frames.
class CountingView : public UIView {
public:
    using UIView::UIView;
    int draws = 0;
    CGRect lastRect;
    bool hadContext = false;
    void drawRect(CGRect rect) override
    {
        ++draws;
        lastRect = rect;
        CGContextRef c = UIGraphicsGetCurrentContext();
        hadContext = c != nullptr;
        CGContextSetRGBFillColor(c, 1, 0, 0, 1);
        CGContextFillRect(c, rect);
    }
};

TEST(DisplayCycle, ManyMarksGiveOneDrawRect)
{
    test::HeadlessApp app;
    auto v = std::make_shared<CountingView>(CGRectMake(10, 20, 50, 40));
    app.window->addSubview(v);
    app.loop.display();
    const int first = v->draws;
    EXPECT_EQ(first, 1) << "a view joining the window draws once";

    for (int i = 0; i < 100; ++i)
        v->setNeedsDisplay();
    EXPECT_EQ(v->draws, first) << "a mark never draws by itself";
    app.send(ResizeInput{});
    EXPECT_EQ(v->draws, first + 1);
    EXPECT_TRUE(v->hadContext);
    EXPECT_EQ(v->lastRect, CGRectMake(0, 0, 50, 40));
    EXPECT_FALSE(v->needsDisplay());

    // Without a new mark the next cycle does not draw it again.
    app.send(ResizeInput{});
    EXPECT_EQ(v->draws, first + 1);
}

TEST(DisplayCycle, ViewsDrawAtTheirPlaceAndInOrder)
{
    test::HeadlessApp app;
    auto v = std::make_shared<CountingView>(CGRectMake(10, 20, 50, 40));
    auto cover = std::make_shared<UIView>(CGRectMake(40, 20, 20, 40));
    cover->setBackgroundColor(UIColor(0, 0, 1, 1));
    app.window->addSubview(v);
    app.window->addSubview(cover);
    app.loop.display();
    const auto& screen = app.host.lastPresented();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->pixelAt(15, 25), kRed) << "drawRect's (0, 0) is the view's top left";
    EXPECT_EQ(screen->pixelAt(9, 25), kBlack);
    EXPECT_EQ(screen->pixelAt(15, 61), kBlack);
    EXPECT_EQ(screen->pixelAt(45, 25), kBlue) << "the later subview lies above";

    // Moving the view moves its picture without drawing it again.
    const int draws = v->draws;
    v->setFrame(CGRectMake(100, 100, 50, 40));
    app.loop.display();
    EXPECT_EQ(v->draws, draws);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(105, 105), kRed);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(15, 25), kBlack);
}

TEST(DisplayCycle, IdleCyclesPresentNothing)
{
    test::HeadlessApp app;
    app.loop.display();
    const int presented = app.host.presentCount();
    app.loop.display();
    app.loop.display();
    EXPECT_EQ(app.host.presentCount(), presented);
    auto v = std::make_shared<CountingView>(CGRectMake(0, 0, 10, 10));
    app.window->addSubview(v);
    app.loop.display();
    EXPECT_EQ(app.host.presentCount(), presented + 1);
}

TEST(DisplayCycle, ViewsOutsideTheWindowAreNotDrawn)
{
    test::HeadlessApp app;
    auto v = std::make_shared<CountingView>(CGRectMake(0, 0, 10, 10));
    v->setNeedsDisplay();
    app.loop.display();
    EXPECT_EQ(v->draws, 0);
    EXPECT_TRUE(v->needsDisplay()) << "the mark waits until the view is shown";
}

TEST(DisplayCycle, DrawsAtThePixelDensityOfTheDisplay)
{
    test::HeadlessApp app;
    app.host.setScale(2.0f);
    auto v = std::make_shared<CountingView>(CGRectMake(10, 20, 50, 40));
    app.window->addSubview(v);
    app.loop.display();
    const auto& screen = app.host.lastPresented();
    EXPECT_EQ(screen->pixelWidth(), 640);
    EXPECT_EQ(screen->pixelHeight(), 960);
    EXPECT_EQ(screen->pixelAt(21, 41), kRed);
    EXPECT_EQ(screen->pixelAt(19, 41), kBlack);
}

TEST(DisplayCycle, AnOpaqueViewShowsBlackWhereItClears)
{
    test::HeadlessApp app;
    auto v = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
    v->setBackgroundColor(UIColor(0, 0, 1, 1));
    app.window->setBackgroundColor(UIColor::whiteColor());
    auto opaque = std::make_shared<UIView>(CGRectMake(0, 0, 50, 50));
    opaque->setOpaque(true);
    app.window->addSubview(v);
    app.window->addSubview(opaque);
    app.loop.display();
    EXPECT_EQ(app.host.lastPresented()->pixelAt(10, 10), kBlack);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(60, 60), kBlue);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(200, 200), 0xFFFFFFFFu);
}

// Draws a red square only once told to.
class SometimesDrawingView : public UIView {
public:
    using UIView::UIView;
    bool drawsSquare = false;
    int draws = 0;
    void drawRect(CGRect) override
    {
        ++draws;
        if (!drawsSquare)
            return;
        CGContextRef c = UIGraphicsGetCurrentContext();
        CGContextSetRGBFillColor(c, 1, 0, 0, 1);
        CGContextFillRect(c, CGRectMake(0, 0, 10, 10));
    }
};

TEST(DisplayCycle, ATransparentViewThatDrawsNothingKeepsNoPictureUntilItDraws)
{
    test::HeadlessApp app;
    auto under = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
    under->setBackgroundColor(UIColor(0, 0, 1, 1));
    auto container = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    auto drawing = std::make_shared<SometimesDrawingView>(CGRectMake(50, 50, 100, 100));
    app.window->addSubview(under);
    app.window->addSubview(container);
    container->addSubview(drawing);
    app.loop.display();
    EXPECT_FALSE(container->backingStore()) << "a plain container has nothing to show";
    EXPECT_FALSE(drawing->backingStore()) << "nor has a view whose drawRect made no call";
    EXPECT_FALSE(under->backingStore()) << "nor has a view that only shows its colour";
    ASSERT_TRUE(under->solidColour());
    EXPECT_FALSE(container->solidColour());
    EXPECT_EQ(drawing->draws, 1);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(60, 60), kBlue) << "what lies beneath shows through";

    // Without a picture the view is still up to date: the next frame does not draw it again.
    app.send(ResizeInput{});
    EXPECT_EQ(drawing->draws, 1);

    drawing->drawsSquare = true;
    drawing->setNeedsDisplay();
    app.loop.display();
    EXPECT_EQ(drawing->draws, 2);
    ASSERT_TRUE(drawing->backingStore());
    EXPECT_EQ(app.host.lastPresented()->pixelAt(55, 55), kRed);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(65, 65), kBlue);

    drawing->drawsSquare = false;
    drawing->setNeedsDisplay();
    app.loop.display();
    EXPECT_FALSE(drawing->backingStore());
    EXPECT_EQ(app.host.lastPresented()->pixelAt(55, 55), kBlue) << "the square it no longer draws is gone";
}

// Strokes, a disc, text and a fill that reaches past its bounds: everything a picture's edges and
// antialiasing could show differently.
class SkyLikeView : public UIView {
public:
    using UIView::UIView;
    void drawRect(CGRect) override
    {
        CGContextRef c = UIGraphicsGetCurrentContext();
        CGContextSetRGBFillColor(c, 0.2f, 0.4f, 1, 1);
        CGContextFillRect(c, CGRectMake(-20, 30.3f, 200, 10.4f));
        CGContextSetRGBStrokeColor(c, 1, 1, 0.5f, 0.7f);
        CGContextSetLineWidth(c, 1.3f);
        const CGPoint segments[] = {{3.2f, 5.7f}, {97.1f, 61.4f}, {10, 80.5f}, {60.3f, 2.2f}};
        CGContextStrokeLineSegments(c, segments, 4);
        CGContextSetRGBFillColor(c, 1, 1, 1, 1);
        CGContextFillEllipseInRect(c, CGRectMake(40.4f, 50.6f, 7.3f, 7.3f));
        CGContextSelectFont(c, "Helvetica", 11, kCGEncodingMacRoman);
        CGContextSetTextDrawingMode(c, kCGTextFill);
        CGContextSetTextMatrix(c, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
        CGContextShowTextAtPoint(c, 12.5f, 70.25f, "Vega", 4);
    }
};

TEST(DisplayCycle, AnOpaqueViewKeepsItsCallsAndTheScreenShowsWhatItsPictureWould)
{
    test::HeadlessApp app;
    app.host.setScale(2.0f);
    auto under = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    under->setBackgroundColor(UIColor(0, 0, 1, 1));
    auto sky = std::make_shared<SkyLikeView>(CGRectMake(30, 40, 100, 90));
    app.window->addSubview(under);
    app.window->addSubview(sky);

    // Made transparent, the view is drawn into a picture of its own, composited over the black of
    // its background colour: what it showed before it kept its calls.
    sky->setBackgroundColor(UIColor(0, 0, 0, 1));
    app.loop.display();
    ASSERT_TRUE(sky->backingStore());
    EXPECT_FALSE(sky->recordedDrawing());
    const std::shared_ptr<Image> withPicture = app.host.lastPresented();

    sky->setOpaque(true);
    sky->setNeedsDisplay();
    app.loop.display();
    EXPECT_FALSE(sky->backingStore()) << "an opaque view keeps no picture";
    ASSERT_TRUE(sky->recordedDrawing());
    EXPECT_FALSE(sky->recordedDrawing()->ops->empty());
    const std::shared_ptr<Image> withCalls = app.host.lastPresented();
    ASSERT_NE(withCalls, withPicture);

    EXPECT_LE(test::worstChannelDifference(*withPicture, *withCalls), 1);
    EXPECT_EQ(withCalls->pixelAt(2 * 29, 2 * 35), kBlue) << "the fill is cut at the view's left edge";
    EXPECT_EQ(withCalls->pixelAt(2 * 131, 2 * 75), kBlue) << "and at its right edge";

    // Moved, it is made again at its new place without drawRect running.
    sky->setFrame(CGRectMake(150, 300, 100, 90));
    app.loop.display();
    EXPECT_EQ(app.host.lastPresented()->pixelAt(2 * 35, 2 * 75), kBlue) << "nothing is left at the old place";
    EXPECT_NE(app.host.lastPresented()->pixelAt(2 * 155, 2 * 335), kBlue);

    // Made transparent again, it has a picture once more.
    sky->setOpaque(false);
    sky->setNeedsDisplay();
    app.loop.display();
    EXPECT_TRUE(sky->backingStore());
    EXPECT_FALSE(sky->recordedDrawing());
}

// Every way a view reaches the screen: a picture of its own, its calls made into the screen, a
// colour, and a loaded picture.
TEST(DisplayCycle, AtNightEveryWayAViewIsShownArrivesRedAndByDayAsBefore)
{
    test::HeadlessApp app;
    app.host.setScale(2.0f);
    auto under = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    under->setBackgroundColor(UIColor(0, 0.3f, 1, 1));
    auto withPicture = std::make_shared<SkyLikeView>(CGRectMake(30, 40, 100, 90));
    auto withCalls = std::make_shared<SkyLikeView>(CGRectMake(30, 200, 100, 90));
    withCalls->setOpaque(true);
    auto picture = Image::create({20, 20}, 2.0f);
    UIPainter(*picture).fill({0.1f, 0.9f, 0.4f, 1});
    auto loaded = std::make_shared<UIImage>(picture);
    auto imageView = std::make_shared<UIImageView>(loaded);
    imageView->setFrame(CGRectMake(200, 40, 20, 20));
    for (const auto& view :
         std::initializer_list<std::shared_ptr<UIView>>{under, withPicture, withCalls, imageView})
        app.window->addSubview(view);
    app.loop.display();
    const auto day = app.host.lastPresented();

    UIApplication::sharedApplication().setScreenTint(ScreenTint::Night);
    app.loop.display();
    ASSERT_TRUE(withPicture->backingStore());
    EXPECT_EQ(withPicture->backingStore()->tint(), ScreenTint::Night) << "its picture is drawn again";
    const auto night = app.host.lastPresented();
    ASSERT_NE(night, day);
    const test::NightComparison c = test::compareNight(*day, *night);
    EXPECT_EQ(c.greenOrBlue, 0);
    EXPECT_EQ(c.brighter, 0);
    EXPECT_EQ(c.faded, 0);
    EXPECT_EQ(night->pixelAt(2 * 210, 2 * 50), nightPixel(day->pixelAt(2 * 210, 2 * 50)))
        << "the loaded picture";
    EXPECT_EQ(night->pixelAt(2 * 300, 2 * 400), nightPixel(day->pixelAt(2 * 300, 2 * 400))) << "the colour";
    // The loaded picture's night form is made once, not at every frame.
    EXPECT_EQ(loaded->image(ScreenTint::Night), loaded->image(ScreenTint::Night));
    EXPECT_EQ(loaded->image(ScreenTint::Day), picture);

    UIApplication::sharedApplication().setScreenTint(ScreenTint::Day);
    app.loop.display();
    EXPECT_TRUE(test::samePixels(*app.host.lastPresented(), *day));
}

// A sky over the whole screen: its first call clears it all, as the chart's does.
class ClearingSkyView : public SkyLikeView {
public:
    using SkyLikeView::SkyLikeView;
    void drawRect(CGRect rect) override
    {
        CGContextClearRect(UIGraphicsGetCurrentContext(), rect);
        SkyLikeView::drawRect(rect);
    }
};

TEST(DisplayCycle, WhatAnOpaqueViewOverTheWholeScreenHidesIsNotDrawnAndTheScreenIsTheSame)
{
    test::HeadlessApp app;
    app.host.setScale(2.0f);
    auto under = std::make_shared<CountingView>(CGRectMake(0, 0, 200, 200));
    auto sky = std::make_shared<ClearingSkyView>(CGRectMake(0, 0, 320, 480));
    sky->setOpaque(true);
    sky->setBackgroundColor(UIColor(0, 1, 0, 1)); // cleared at once: never seen
    auto over = std::make_shared<CountingView>(CGRectMake(100, 100, 60, 60));
    app.window->addSubview(under);
    app.window->addSubview(sky);
    app.window->addSubview(over);
    app.loop.display();
    EXPECT_EQ(under->draws, 0) << "a view nobody can see is not drawn";
    EXPECT_EQ(over->draws, 1);
    ASSERT_TRUE(sky->recordedDrawing());
    EXPECT_TRUE(sky->recordedDrawing()->clearsFirst);

    // The screen is the sky's own picture with the view above it.
    const auto expected = Image::create({320, 480}, 2.0f);
    {
        UIPainter painter(*expected);
        painter.fill({0, 1, 0, 1});
        drawRecorded(*expected, {}, ImageContext::Clear::Black, *sky->recordedDrawing()->ops);
        painter.fillRect(CGRectMake(100, 100, 60, 60), {1, 0, 0, 1});
    }
    const std::shared_ptr<Image> covered = app.host.lastPresented();
    EXPECT_EQ(test::worstChannelDifference(*covered, *expected), 0);

    // Moved off the corner, the sky no longer covers the screen: what it leaves free shows, and
    // the view beneath is drawn once it can be seen.
    sky->setFrame(CGRectMake(0, 10, 320, 480));
    app.loop.display();
    EXPECT_EQ(under->draws, 1);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(2 * 50, 2 * 5), kRed) << "the view beneath, above the sky";

    // Nor does a transparent sky.
    sky->setFrame(CGRectMake(0, 0, 320, 480));
    sky->setOpaque(false);
    under->setNeedsDisplay();
    app.loop.display();
    EXPECT_EQ(under->draws, 2);
}

TEST(DisplayCycle, AScreenDrawnIntoPixelsTheHostLendsIsTheScreenItWouldHavePresented)
{
    test::HeadlessApp app;
    app.host.setScale(2.0f);
    auto under = std::make_shared<UIView>(CGRectMake(0, 0, 200, 200));
    under->setBackgroundColor(UIColor(0, 0, 1, 1));
    auto sky = std::make_shared<SkyLikeView>(CGRectMake(30, 40, 100, 90));
    sky->setOpaque(true);
    auto over = std::make_shared<CountingView>(CGRectMake(100, 100, 60, 60));
    app.window->addSubview(under);
    app.window->addSubview(sky);
    app.window->addSubview(over);
    app.loop.display();
    const std::shared_ptr<Image> own = app.host.lastPresented();
    ASSERT_TRUE(own);
    const int presented = app.host.presentCount();

    app.host.setLendsPixels(true);
    sky->setNeedsDisplay();
    app.loop.display();
    EXPECT_EQ(app.host.presentCount(), presented + 1);
    const std::shared_ptr<Image> lent = app.host.lastPresented();
    ASSERT_NE(lent, own);
    ASSERT_EQ(lent->pixelWidth(), own->pixelWidth());
    ASSERT_EQ(lent->pixelHeight(), own->pixelHeight());
    EXPECT_EQ(test::worstChannelDifference(*lent, *own), 0);
    EXPECT_TRUE(app.host.lentMarginIntact()) << "nothing is drawn outside the lent screen";

    // A frame of the same screen later (the host does not clear what the last one left).
    over->setFrame(CGRectMake(0, 0, 60, 60));
    app.loop.display();
    EXPECT_EQ(app.host.lastPresented()->pixelAt(2 * 150, 2 * 150), kBlue)
        << "what lies beneath where the red view was";
    EXPECT_EQ(app.host.lastPresented()->pixelAt(10, 10), kRed);
    EXPECT_TRUE(app.host.lentMarginIntact());
}

TEST(DisplayCycle, ViewsThatPaintThemselvesArePaintedIntoTheScreenAndKeepNoPicture)
{
    test::HeadlessApp app;
    app.host.setScale(2.0f);
    auto red = Image::create({4, 4}, 1.0f);
    {
        UIPainter painter(*red);
        painter.fill({1, 0, 0, 1});
    }
    auto imageView = std::make_shared<UIImageView>(std::make_shared<UIImage>(red));
    imageView->setFrame(CGRectMake(10, 20, 40, 30));
    auto label = std::make_shared<UILabel>(CGRectMake(100, 100, 120, 30));
    label->setBackgroundColor(UIColor(0, 0, 1, 1));
    app.window->addSubview(imageView);
    app.window->addSubview(label);
    app.loop.display();
    EXPECT_FALSE(imageView->backingStore());
    EXPECT_FALSE(label->backingStore());
    ASSERT_TRUE(label->solidColour()) << "the label's colour is filled beneath what it paints";
    const auto& screen = app.host.lastPresented();
    EXPECT_EQ(screen->pixelAt(2 * 15, 2 * 25), kRed) << "the image is painted at the view's place";
    EXPECT_EQ(screen->pixelAt(2 * 40, 2 * 35), kRed);
    EXPECT_EQ(screen->pixelAt(2 * 51, 2 * 45), kBlack) << "and no further";
    EXPECT_EQ(screen->pixelAt(2 * 101, 2 * 101), kBlue);

    // Moved, it is painted at its new place, and nothing is left at the old one.
    imageView->setFrame(CGRectMake(200, 300, 40, 30));
    app.loop.display();
    EXPECT_EQ(app.host.lastPresented()->pixelAt(2 * 15, 2 * 25), kBlack);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(2 * 215, 2 * 315), kRed);
}

TEST(HeadlessHost, AFrameSomebodyKeptStaysAsItWasAndAFrameNobodyKeptIsDrawnOver)
{
    test::HeadlessApp app;
    auto v = std::make_shared<CountingView>(CGRectMake(10, 20, 50, 40));
    app.window->addSubview(v);
    app.loop.display();
    const std::shared_ptr<Image> kept = app.host.lastPresented();
    ASSERT_TRUE(kept);

    v->setFrame(CGRectMake(100, 100, 50, 40));
    app.loop.display();
    EXPECT_NE(app.host.lastPresented(), kept) << "a frame somebody holds is never drawn over";
    EXPECT_EQ(kept->pixelAt(15, 25), kRed);
    EXPECT_EQ(kept->pixelAt(105, 105), kBlack);

    const Image* unkept = app.host.lastPresented().get();
    v->setFrame(CGRectMake(10, 20, 50, 40));
    app.loop.display();
    EXPECT_EQ(app.host.lastPresented().get(), unkept) << "nobody held it: its pixels are reused";
    EXPECT_EQ(app.host.lastPresented()->pixelAt(15, 25), kRed);
    EXPECT_EQ(app.host.lastPresented()->pixelAt(105, 105), kBlack) << "nothing of the frame before is left";
}

} // namespace
} // namespace dazed

namespace dazed {
namespace {

TEST(EventLoop, SleepsUntilTheNextEventWhenIdleAndWakesPerFrameOnlyWhileAnimating)
{
    test::HeadlessApp app;
    auto root = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    app.window->addSubview(root);
    app.send(ResizeInput{});
    app.send(ResizeInput{});
    ASSERT_EQ(app.host.waits().size(), 2u);
    EXPECT_FALSE(app.host.waits()[0]) << "no deadline: the host sleeps until an event";
    EXPECT_FALSE(app.host.waits()[1]);

    UIView::beginAnimations();
    UIView::setAnimationDuration(0.1);
    UIView::setAnimationTransition(UIViewAnimationTransitionFlipFromLeft, root.get(), true);
    root->setBackgroundColor(UIColor::whiteColor());
    UIView::commitAnimations();
    app.loop.display();
    while (app.loop.step() && app.host.waits().back()) {
    }
    // Every wait during the flip had a deadline one frame after the previous frame, and once it
    // ended the loop went back to sleeping without one.
    std::size_t framed = 0;
    for (std::size_t i = 2; i + 1 < app.host.waits().size(); ++i) {
        ASSERT_TRUE(app.host.waits()[i]);
        if (i > 2) {
            EXPECT_NEAR(*app.host.waits()[i] - *app.host.waits()[i - 1], 1.0 / 60.0, 1e-9);
        }
        ++framed;
    }
    EXPECT_NEAR(static_cast<double>(framed), 6.0, 1.0);
    EXPECT_FALSE(app.host.waits().back());
}

TEST(EventLoop, AScheduledWakeUpIsTheWaitsDeadlineAndRunsOnceBeforeTheDisplay)
{
    test::HeadlessApp app;
    int runs = 0;
    UIApplication::sharedApplication().scheduleWakeUp(60.0, [&runs] { ++runs; });
    const double due = app.host.now() + 60.0;
    ASSERT_TRUE(app.loop.step());
    ASSERT_EQ(app.host.waits().size(), 1u);
    ASSERT_TRUE(app.host.waits()[0]);
    EXPECT_DOUBLE_EQ(*app.host.waits()[0], due);
    EXPECT_EQ(runs, 1);
    // Run once: the next wait sleeps until an event again.
    app.send(ResizeInput{});
    EXPECT_FALSE(app.host.waits().back());
    EXPECT_EQ(runs, 1);
}

TEST(EventLoop, AWakeUpScheduledAgainReplacesTheFirstAndACancelledOneNeverRuns)
{
    test::HeadlessApp app;
    int first = 0, second = 0;
    UIApplication& application = UIApplication::sharedApplication();
    application.scheduleWakeUp(10.0, [&first] { ++first; });
    application.scheduleWakeUp(20.0, [&second] { ++second; });
    ASSERT_TRUE(app.loop.step());
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    application.scheduleWakeUp(5.0, [&first] { ++first; });
    application.cancelWakeUp();
    app.send(ResizeInput{});
    EXPECT_FALSE(app.host.waits().back());
    EXPECT_EQ(first, 0);
    // A delay that is not a number schedules nothing.
    application.scheduleWakeUp(std::nan(""), [&first] { ++first; });
    EXPECT_FALSE(application.wakeUpTime());
}

// Hands CountingView's drawRect a recording instead of its picture, and notes who drew when.
class RecordingObserver : public UIViewDrawingObserver {
public:
    RecordingContext recording;
    std::vector<std::string> log;
    bool substitute = true;

    CGContextRef willDraw(UIView& view, CGContextRef picture) override
    {
        log.push_back(dynamic_cast<CountingView*>(&view) ? "will counting" : "will other");
        return substitute ? &recording : picture;
    }
    void didDraw(UIView& view) override
    {
        log.push_back(dynamic_cast<CountingView*>(&view) ? "did counting" : "did other");
    }
};

// Clears the process-wide observer however the test ends.
struct ObserverScope {
    explicit ObserverScope(UIViewDrawingObserver* observer) { UIView::setDrawingObserver(observer); }
    ~ObserverScope() { UIView::setDrawingObserver(nullptr); }
    ObserverScope(const ObserverScope&) = delete;
    ObserverScope& operator=(const ObserverScope&) = delete;
};

TEST(DrawingObserver, SeesEveryDrawRectAndCanRedirectItIntoAnotherContext)
{
    test::HeadlessApp app;
    auto v = std::make_shared<CountingView>(CGRectMake(10, 20, 50, 40));
    app.window->addSubview(v);
    app.loop.display(); // the window's and the view's first pictures
    RecordingObserver observer;
    {
        ObserverScope scope(&observer);
        v->setNeedsDisplay();
        app.loop.display();
        EXPECT_EQ(observer.log, (std::vector<std::string>{"will counting", "did counting"}));
        EXPECT_EQ(observer.recording.all<op::FillRect>(),
                  (std::vector<op::FillRect>{{CGRectMake(0, 0, 50, 40)}}))
            << "drawRect drew into the observer's context";
        EXPECT_NE(app.host.lastPresented()->pixelAt(15, 25), kRed) << "and not into the view's picture";
        EXPECT_EQ(v->draws, 2);

        // Handing back the picture draws as without an observer, still told.
        observer.substitute = false;
        observer.recording.clear();
        v->setNeedsDisplay();
        app.loop.display();
        EXPECT_EQ(observer.log.size(), 4u);
        EXPECT_TRUE(observer.recording.ops().empty());
        EXPECT_EQ(app.host.lastPresented()->pixelAt(15, 25), kRed);
    }
    // Once cleared, nobody is told.
    v->setNeedsDisplay();
    app.loop.display();
    EXPECT_EQ(observer.log.size(), 4u);
    EXPECT_EQ(v->draws, 4);
}

TEST(EventObserver, IsToldOfEachEventOfABatchBeforeTheDisplayCycle)
{
    test::HeadlessApp app;
    auto v = std::make_shared<CountingView>(CGRectMake(0, 0, 320, 480));
    app.window->addSubview(v);
    app.loop.display();
    std::vector<std::string> seen;
    app.loop.setEventObserver([&](const HostEvent& event) {
        seen.push_back(std::holds_alternative<KeyInput>(event)      ? "key"
                       : std::holds_alternative<ResizeInput>(event) ? "resize"
                                                                    : "other");
        seen.push_back("presented " + std::to_string(app.host.presentCount()));
    });
    const int presented = app.host.presentCount();
    const std::vector<HostEvent> batch{KeyInput{UIKey::fromCharacter('x')}, ResizeInput{}, FullScreenInput{}};
    for (const HostEvent& event : batch)
        app.host.inject(event);
    app.loop.step();
    const std::string before = "presented " + std::to_string(presented);
    EXPECT_EQ(seen, (std::vector<std::string>{"key", before, "resize", before, "other", before}))
        << "one call per event, in order, all before the batch's one display";
    EXPECT_EQ(app.host.presentCount(), presented + 1);
}

TEST(HeadlessHost, CountsScreensWithoutCopyingThemWhenAskedTo)
{
    test::HeadlessApp app;
    auto v = std::make_shared<CountingView>(CGRectMake(10, 20, 50, 40));
    app.window->addSubview(v);
    app.loop.display();
    ASSERT_TRUE(app.host.lastPresented());
    const int presented = app.host.presentCount();

    app.host.setKeepsPresented(false);
    EXPECT_FALSE(app.host.lastPresented()) << "the copy kept so far is let go";
    app.send(ResizeInput{});
    EXPECT_EQ(app.host.presentCount(), presented + 1);
    EXPECT_FALSE(app.host.lastPresented());

    app.host.setKeepsPresented(true);
    app.send(ResizeInput{});
    ASSERT_TRUE(app.host.lastPresented());
    EXPECT_EQ(app.host.lastPresented()->pixelAt(15, 25), kRed);
}

} // namespace
} // namespace dazed
