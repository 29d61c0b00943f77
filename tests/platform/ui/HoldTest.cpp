// The hold recogniser and the timers it waits with, on the headless host's fake clock: a finger (or
// the mouse) held still for half a second is a hold; one that drags, pinches, lifts early or comes
// during the flip is not.

#include "UITestSupport.h"
#include "platform/ui/NSTimer.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIViewAnimation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace dazed {
namespace {

// A view that feeds its touches to a recogniser, as the sky screen's controller does.
class HoldingView : public UIView {
public:
    using UIView::UIView;
    std::vector<CGPoint> holds;
    UILongPressGestureRecognizer recognizer{[this](CGPoint p) {
        holds.push_back(p);
    }};

    void touchesBegan(const UITouchSet&, const UIEvent& e) override { recognizer.touchesBegan(e); }
    void touchesMoved(const UITouchSet&, const UIEvent& e) override { recognizer.touchesMoved(e); }
    void touchesEnded(const UITouchSet&, const UIEvent& e) override { recognizer.touchesEnded(e); }
    void touchesCancelled(const UITouchSet&, const UIEvent& e) override { recognizer.touchesCancelled(e); }
};

struct Hold : ::testing::Test {
    test::HeadlessApp app;
    std::shared_ptr<HoldingView> view = std::make_shared<HoldingView>(CGRectMake(0, 0, 320, 480));

    void SetUp() override { app.window->addSubview(view); }
    // Runs the loop with nothing to handle: it sleeps to its next deadline (the fake clock jumps).
    void sleepToDeadline() { app.loop.step(); }
    [[nodiscard]] bool waitsForATimer() const
    {
        return UIApplication::sharedApplication().nextTimerFireDate().has_value();
    }
};

TEST_F(Hold, AFingerHeldStillForHalfASecondIsOneHoldWhereItWentDown)
{
    app.touch(1, UITouchPhase::Began, {100, 200});
    EXPECT_TRUE(view->holds.empty());
    ASSERT_TRUE(waitsForATimer());
    sleepToDeadline();
    ASSERT_EQ(view->holds.size(), 1u);
    EXPECT_EQ(view->holds[0], (CGPoint{100, 200}));
    EXPECT_DOUBLE_EQ(app.host.now(), UILongPressGestureRecognizer::kMinimumPressDuration)
        << "the loop slept exactly until the hold came due";
    EXPECT_TRUE(view->recognizer.hasRecognized());
    EXPECT_FALSE(waitsForATimer()) << "one hold, not one every half second";
    app.touch(1, UITouchPhase::Ended, {100, 200});
    EXPECT_FALSE(view->recognizer.hasRecognized()) << "the gesture ends with the finger";
}

TEST_F(Hold, AFingertipsWobbleIsStillAHoldButADragIsNot)
{
    app.touch(1, UITouchPhase::Began, {100, 200});
    app.host.advance(0.2);
    app.touch(1, UITouchPhase::Moved, {106, 206}); // 8.5 points away
    sleepToDeadline();
    EXPECT_EQ(view->holds.size(), 1u);
    app.touch(1, UITouchPhase::Ended, {106, 206});

    app.host.advance(1.0);
    app.touch(1, UITouchPhase::Began, {100, 200});
    app.host.advance(0.3); // a pause, then a drag
    app.touch(1, UITouchPhase::Moved, {100, 211});
    EXPECT_FALSE(waitsForATimer());
    app.host.advance(2.0);
    app.touch(1, UITouchPhase::Moved, {100, 200}); // back where it began: still a drag
    EXPECT_EQ(view->holds.size(), 1u);
    app.touch(1, UITouchPhase::Ended, {100, 200});
}

TEST_F(Hold, ASecondFingerMakesItAPinch)
{
    app.touch(1, UITouchPhase::Began, {100, 200});
    app.host.advance(0.2);
    app.touch(2, UITouchPhase::Began, {200, 300});
    EXPECT_FALSE(waitsForATimer());
    app.touch(2, UITouchPhase::Ended, {200, 300});
    app.host.advance(2.0);
    app.touch(1, UITouchPhase::Moved, {100, 200});
    EXPECT_TRUE(view->holds.empty()) << "the finger left alone does not start a hold again";
    app.touch(1, UITouchPhase::Ended, {100, 200});

    // Two fingers coming down together are no hold either.
    app.send(TouchInput{{{1, UITouchPhase::Began, {10, 10}}, {2, UITouchPhase::Began, {50, 50}}}, 0});
    EXPECT_FALSE(waitsForATimer());
}

TEST_F(Hold, ATapIsNoHoldAndTheNextTouchStartsAfresh)
{
    app.touch(1, UITouchPhase::Began, {100, 200});
    app.host.advance(0.45);
    app.touch(1, UITouchPhase::Ended, {100, 200});
    EXPECT_FALSE(waitsForATimer());
    app.touch(1, UITouchPhase::Began, {100, 200});
    app.host.advance(0.1);
    app.touch(1, UITouchPhase::Moved, {101, 200});
    sleepToDeadline();
    EXPECT_EQ(view->holds.size(), 1u);
    EXPECT_DOUBLE_EQ(app.host.now(), 0.45 + 0.5) << "timed from the second touch-down";
}

TEST_F(Hold, TheHostTakingTheTouchesAwayEndsIt)
{
    app.touch(1, UITouchPhase::Began, {100, 200});
    app.send(CancelTouchesInput{});
    EXPECT_FALSE(waitsForATimer());
    EXPECT_FALSE(view->recognizer.isWaiting());
}

TEST_F(Hold, AHoldDuringTheFlipIsIgnored)
{
    const auto flipping = std::make_shared<UIView>(CGRectMake(0, 0, 10, 10));
    app.window->addSubview(flipping);
    const auto flip = [&] {
        UIView::beginAnimations();
        UIView::setAnimationDuration(1.0);
        UIView::setAnimationTransition(UIViewAnimationTransitionFlipFromRight, flipping.get(), true);
        UIView::commitAnimations();
        app.loop.display();
    };
    // Going down while the flip runs.
    flip();
    ASSERT_TRUE(UIViewAnimation::shared().isAnimating());
    app.touch(1, UITouchPhase::Began, {100, 200});
    for (int i = 0; i < 90 && UIViewAnimation::shared().isAnimating(); ++i)
        sleepToDeadline();
    app.host.advance(1.0);
    app.touch(1, UITouchPhase::Moved, {100, 200});
    EXPECT_TRUE(view->holds.empty());
    app.touch(1, UITouchPhase::Ended, {100, 200});

    // Coming due while a flip that started after the finger went down runs.
    app.touch(1, UITouchPhase::Began, {100, 200});
    app.host.advance(0.3);
    flip();
    for (int i = 0; i < 90 && UIViewAnimation::shared().isAnimating(); ++i)
        sleepToDeadline();
    EXPECT_TRUE(view->holds.empty());
    app.touch(1, UITouchPhase::Ended, {100, 200});
}

TEST_F(Hold, ADisabledRecogniserWaitsForNothing)
{
    view->recognizer.setEnabled(false);
    app.touch(1, UITouchPhase::Began, {100, 200});
    EXPECT_FALSE(waitsForATimer());
    app.touch(1, UITouchPhase::Ended, {100, 200});
    EXPECT_TRUE(view->holds.empty());
}

TEST(Timers, FireOnceInOrderOfTheirDatesOnTheHostClock)
{
    test::HeadlessApp app;
    std::vector<int> fired;
    const auto late = NSTimer::scheduledTimerWithTimeInterval(0.3, [&] { fired.push_back(3); });
    const auto early = NSTimer::scheduledTimerWithTimeInterval(0.1, [&] { fired.push_back(1); });
    const auto stopped = NSTimer::scheduledTimerWithTimeInterval(0.2, [&] { fired.push_back(2); });
    stopped->invalidate();
    app.loop.step();
    EXPECT_DOUBLE_EQ(app.host.now(), 0.1);
    EXPECT_EQ(fired, (std::vector<int>{1}));
    EXPECT_FALSE(early->isValid());
    app.loop.step();
    EXPECT_DOUBLE_EQ(app.host.now(), 0.3) << "the invalidated timer woke nobody";
    EXPECT_EQ(fired, (std::vector<int>{1, 3}));
    EXPECT_FALSE(UIApplication::sharedApplication().nextTimerFireDate());
}

TEST(Timers, ATimerThatSchedulesAnotherDoesNotHoldTheLoop)
{
    test::HeadlessApp app;
    int runs = 0;
    std::shared_ptr<NSTimer> next;
    std::function<void()> again = [&] {
        ++runs;
        next = NSTimer::scheduledTimerWithTimeInterval(0.0, again);
    };
    next = NSTimer::scheduledTimerWithTimeInterval(0.0, again);
    app.loop.step();
    EXPECT_EQ(runs, 1) << "a due timer scheduled while firing waits for the next pass";
    next->invalidate();
}

TEST(Timers, WithoutAHostOrWithABadDelayNothingIsScheduled)
{
    {
        test::HeadlessApp app;
        int runs = 0;
        EXPECT_FALSE(NSTimer::scheduledTimerWithTimeInterval(std::nan(""), [&] { ++runs; })->isValid());
        EXPECT_FALSE(NSTimer::scheduledTimerWithTimeInterval(-1.0, [&] { ++runs; })->isValid());
        EXPECT_FALSE(NSTimer::scheduledTimerWithTimeInterval(1.0, nullptr)->isValid());
        EXPECT_FALSE(UIApplication::sharedApplication().nextTimerFireDate());
    }
    // The loop is gone: no host is attached.
    EXPECT_FALSE(NSTimer::scheduledTimerWithTimeInterval(1.0, [] {})->isValid());
}

} // namespace
} // namespace dazed
