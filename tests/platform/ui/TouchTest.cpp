#include "UITestSupport.h"
#include "platform/ui/TapDetector.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIViewController.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dazed {
namespace {

// What a handler saw: the phase, the complete set's count, positions and tap counts in set order.
struct Seen {
    std::string phase;
    std::size_t changed;
    std::size_t all;
    std::vector<CGPoint> positions;
    std::vector<int> taps;
};

// Records the touches that reach it; its plain root view handles none itself.
class RecordingController : public UIViewController {
public:
    std::vector<Seen> seen;
    void touchesBegan(const UITouchSet& t, const UIEvent& e) override { record("began", t, e); }
    void touchesMoved(const UITouchSet& t, const UIEvent& e) override { record("moved", t, e); }
    void touchesEnded(const UITouchSet& t, const UIEvent& e) override { record("ended", t, e); }
    void touchesCancelled(const UITouchSet& t, const UIEvent& e) override { record("cancelled", t, e); }
    bool shouldAutorotateToInterfaceOrientation(int) override { return acceptsTurns; }
    bool acceptsTurns{true};

private:
    void record(const char* phase, const UITouchSet& changed, const UIEvent& event)
    {
        Seen s{phase, changed.count(), event.allTouches().count(), {}, {}};
        for (UITouch* t : event.allTouches().allObjects()) {
            s.positions.push_back(t->locationInView(view().get()));
            s.taps.push_back(t->tapCount());
        }
        seen.push_back(s);
    }
};

struct TouchFixture : ::testing::Test {
    test::HeadlessApp app;
    RecordingController controller;
    void SetUp() override
    {
        controller.setView(std::make_shared<UIView>(CGRectMake(0, 20, 320, 460)));
        controller.view()->addSubview(std::make_shared<UIView>(CGRectMake(0, 0, 320, 460))); // a plain child
        app.window->addSubview(controller.view());
    }
    void down(std::int64_t id, CGPoint p) { app.touch(id, UITouchPhase::Began, p); }
    void move(std::int64_t id, CGPoint p) { app.touch(id, UITouchPhase::Moved, p); }
    void up(std::int64_t id, CGPoint p) { app.touch(id, UITouchPhase::Ended, p); }
};

TEST_F(TouchFixture, UnhandledTouchesReachTheControllerInItsViewsPoints)
{
    down(1, {100, 120});
    move(1, {110, 140});
    up(1, {110, 140});
    ASSERT_EQ(controller.seen.size(), 3u);
    EXPECT_EQ(controller.seen[0].phase, "began");
    EXPECT_EQ(controller.seen[0].positions[0], (CGPoint{100, 100})) << "the root view starts 20 points down";
    EXPECT_EQ(controller.seen[1].positions[0], (CGPoint{110, 120}));
    EXPECT_EQ(controller.seen[2].phase, "ended");
    EXPECT_EQ(controller.seen[2].all, 1u) << "a lifting finger is still in the complete set";
}

TEST_F(TouchFixture, TapCountsSingleDoubleTriple)
{
    const CGPoint p{100, 200};
    app.tap(p);
    app.host.advance(0.2);
    app.tap(p.translated(5, 5));
    app.host.advance(0.2);
    app.tap(p);
    ASSERT_EQ(controller.seen.size(), 6u);
    EXPECT_EQ(controller.seen[0].taps[0], 1);
    EXPECT_EQ(controller.seen[1].taps[0], 1) << "the count holds through the touch";
    EXPECT_EQ(controller.seen[2].taps[0], 2);
    EXPECT_EQ(controller.seen[3].taps[0], 2);
    EXPECT_EQ(controller.seen[4].taps[0], 3);

    // Too slow: a new single tap.
    app.host.advance(TapDetector::kMultiTapInterval + 0.05);
    app.tap(p);
    EXPECT_EQ(controller.seen.back().taps[0], 1);
    // Too far: a new single tap.
    app.host.advance(0.1);
    app.tap(p.translated(TapDetector::kMultiTapRadius + 10, 0));
    EXPECT_EQ(controller.seen.back().taps[0], 1);
}

TEST_F(TouchFixture, ADragIsNotATap)
{
    const CGPoint p{100, 200};
    down(1, p);
    move(1, p.translated(100, 0));
    up(1, p.translated(100, 0));
    app.host.advance(0.1);
    app.tap(p);
    EXPECT_EQ(controller.seen.back().taps[0], 1);
}

TEST_F(TouchFixture, TwoFingersComeInOneCompleteSetInTheOrderTheyWentDown)
{
    down(7, {100, 100});
    down(3, {200, 300});
    ASSERT_EQ(controller.seen.size(), 2u);
    EXPECT_EQ(controller.seen[1].changed, 1u) << "only the new finger changed";
    EXPECT_EQ(controller.seen[1].all, 2u);
    EXPECT_EQ(controller.seen[1].positions[0], (CGPoint{100, 80}));
    EXPECT_EQ(controller.seen[1].positions[1], (CGPoint{200, 280}));
    EXPECT_EQ(controller.seen[1].taps, (std::vector<int>{1, 1}));

    move(3, {210, 310});
    EXPECT_EQ(controller.seen.back().all, 2u);
    EXPECT_EQ(controller.seen.back().positions[0], (CGPoint{100, 80})) << "a still finger keeps its place";
    EXPECT_EQ(controller.seen.back().positions[1], (CGPoint{210, 290}));

    // Lifting one of the two: the touch-up still sees both; afterwards one is left.
    up(7, {100, 100});
    EXPECT_EQ(controller.seen.back().phase, "ended");
    EXPECT_EQ(controller.seen.back().all, 2u);
    move(3, {220, 320});
    EXPECT_EQ(controller.seen.back().all, 1u);
    EXPECT_EQ(controller.seen.back().positions[0], (CGPoint{220, 300}));
    up(3, {220, 320});

    // A finger that was part of a two-finger gesture starts no multiple tap.
    app.tap({220, 320});
    EXPECT_EQ(controller.seen.back().taps[0], 1);
}

TEST_F(TouchFixture, BothFingersOfOneInputArriveInOneEvent)
{
    app.send(TouchInput{{{1, UITouchPhase::Began, {100, 100}}, {2, UITouchPhase::Began, {220, 380}}}, 1});
    ASSERT_EQ(controller.seen.size(), 1u);
    EXPECT_EQ(controller.seen[0].changed, 2u);
    EXPECT_EQ(controller.seen[0].all, 2u);
    app.send(TouchInput{{{1, UITouchPhase::Ended, {100, 100}}, {2, UITouchPhase::Ended, {220, 380}}}, 0});
    EXPECT_EQ(controller.seen.back().all, 2u);
}

TEST_F(TouchFixture, TheHostsTapCountIsUsedWhenGiven)
{
    app.send(TouchInput{{{1, UITouchPhase::Began, {100, 100}}}, 2});
    EXPECT_EQ(controller.seen.back().taps[0], 2);
}

TEST_F(TouchFixture, StrayChangesAreIgnored)
{
    move(9, {10, 10}); // never went down
    up(9, {10, 10});
    down(1, {10, 30});
    down(1, {10, 30}); // the same finger cannot go down twice
    EXPECT_EQ(controller.seen.size(), 1u);
    // Outside the window nothing is hit.
    down(2, {-10, -10});
    EXPECT_EQ(controller.seen.size(), 1u);
}

TEST_F(TouchFixture, TurningTheDeviceCancelsTouches)
{
    down(1, {10, 30});
    app.send(RotateInput{RotationDirection::Left});
    EXPECT_EQ(controller.seen.back().phase, "cancelled");
    move(1, {20, 30});
    EXPECT_EQ(controller.seen.back().phase, "cancelled") << "the cancelled finger is forgotten";
}

TEST_F(TouchFixture, AControllerThatRefusesToTurnKeepsItsLayoutAndItsTouches)
{
    controller.acceptsTurns = false;
    down(1, {10, 30});
    app.send(RotateInput{RotationDirection::Left});
    EXPECT_EQ(app.host.screenSize(), (CGSize{320, 480}));
    EXPECT_EQ(app.window->frame(), CGRectMake(0, 0, 320, 480));
    EXPECT_EQ(controller.view()->frame(), CGRectMake(0, 20, 320, 460));
    move(1, {20, 30});
    EXPECT_EQ(controller.seen.back().phase, "moved") << "the screen did not turn under the finger";
    EXPECT_EQ(UIDevice::currentDevice().sensedOrientation(), UIDeviceOrientationLandscapeLeft)
        << "the device itself did turn";
}

TEST_F(TouchFixture, LostTouchesAreCancelledAndForgotten)
{
    down(1, {10, 30});
    down(2, {50, 30});
    app.send(CancelTouchesInput{});
    ASSERT_EQ(controller.seen.back().phase, "cancelled");
    EXPECT_EQ(controller.seen.back().changed, 2u);
    up(1, {10, 30});
    EXPECT_EQ(controller.seen.back().phase, "cancelled") << "a lift after the cancel is ignored";
    down(3, {100, 100});
    EXPECT_EQ(controller.seen.back().all, 1u) << "no finger is left in later touch sets";
}

// A view of its own that notes how many touches changed in each call it gets.
class CountingView : public UIView {
public:
    using UIView::UIView;
    std::vector<std::size_t> changed;
    void touchesBegan(const UITouchSet& t, const UIEvent&) override { changed.push_back(t.count()); }
    void touchesMoved(const UITouchSet& t, const UIEvent&) override { changed.push_back(t.count()); }
    void touchesEnded(const UITouchSet& t, const UIEvent&) override { changed.push_back(t.count()); }
    void touchesCancelled(const UITouchSet& t, const UIEvent&) override { changed.push_back(t.count()); }
};

// The mouse's mirrored finger (Alt+drag) is marked as the pinch partner of the mouse's finger.
TouchInput withPartner(UITouchPhase phase, CGPoint real, CGPoint partner)
{
    TouchInput input;
    input.tapCount = 1;
    input.changes.push_back({-1, phase, real});
    input.changes.push_back({-2, phase, partner, -1});
    return input;
}

TEST_F(TouchFixture, APinchPartnerGoesToItsRealFingersViewNeverToTheViewUnderIt)
{
    auto corner = std::make_shared<CountingView>(CGRectMake(250, 400, 50, 50));
    app.window->addSubview(corner);
    app.send(withPartner(UITouchPhase::Began, {45, 30}, {275, 425}));
    app.send(withPartner(UITouchPhase::Moved, {35, 20}, {285, 435}));
    app.send(withPartner(UITouchPhase::Ended, {35, 20}, {285, 435}));
    EXPECT_TRUE(corner->changed.empty()) << "the view under the partner got nothing";
    ASSERT_EQ(controller.seen.size(), 3u);
    for (const Seen& seen : controller.seen) {
        EXPECT_EQ(seen.changed, 2u) << seen.phase << ": both fingers came to the real one's view";
        EXPECT_EQ(seen.all, 2u) << seen.phase;
    }
    EXPECT_EQ(controller.seen[1].positions[1], (CGPoint{285, 415})) << "the partner is where it is";

    // The real finger on the corner view takes its partner there, wherever that lies.
    controller.seen.clear();
    app.send(withPartner(UITouchPhase::Began, {275, 425}, {45, 30}));
    app.send(withPartner(UITouchPhase::Ended, {275, 425}, {45, 30}));
    EXPECT_EQ(corner->changed, (std::vector<std::size_t>{2, 2}));
    EXPECT_TRUE(controller.seen.empty());
}

TEST_F(TouchFixture, APinchPartnerWhoseRealFingerTouchedNothingTouchesNothing)
{
    // Beside the screen, with the partner over the controller's view.
    app.send(withPartner(UITouchPhase::Began, {-10, -10}, {100, 100}));
    app.send(withPartner(UITouchPhase::Ended, {-10, -10}, {100, 100}));
    // A partner that comes without its real finger ever going down.
    app.send(TouchInput{{{-2, UITouchPhase::Began, {100, 100}, -1}}, 1});
    app.send(TouchInput{{{-2, UITouchPhase::Ended, {100, 100}, -1}}, 1});
    EXPECT_TRUE(controller.seen.empty());
}

TEST_F(TouchFixture, ACancelledFingerWithoutAPlaceStaysWhereItWas)
{
    down(1, {10, 30});
    app.send(TouchInput{{{1, UITouchPhase::Cancelled, {}}}, 0});
    ASSERT_EQ(controller.seen.back().phase, "cancelled");
    EXPECT_EQ(controller.seen.back().positions[0], (CGPoint{10, 10})) << "in the controller's view";
}

} // namespace
} // namespace dazed
