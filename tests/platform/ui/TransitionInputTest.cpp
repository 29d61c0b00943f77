// The window during a view transition, on the headless host's fake clock: touches, keys and the
// wheel are not delivered from the moment a flip is committed until its duration has passed, and
// fingers that are down when it begins are cancelled then and forgotten.

#include "UITestSupport.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIViewAnimation.h"
#include "platform/ui/UIViewController.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dazed {
namespace {

// Notes every touch call, key and wheel turn that reaches it; F flips its view over for a second.
class FlippingController : public UIViewController {
public:
    std::vector<std::string> seen;

    void touchesBegan(const UITouchSet& t, const UIEvent& e) override { note("began", t, e); }
    void touchesMoved(const UITouchSet& t, const UIEvent& e) override { note("moved", t, e); }
    void touchesEnded(const UITouchSet& t, const UIEvent& e) override { note("ended", t, e); }
    void touchesCancelled(const UITouchSet& t, const UIEvent& e) override { note("cancelled", t, e); }
    bool keyDown(const UIKey& key) override
    {
        seen.push_back(std::string("key ") + key.character);
        if (key.character == 'f')
            flip();
        return true;
    }
    bool shouldAutorotateToInterfaceOrientation(int) override { return true; }
    bool scrollWheel(const UIScrollEvent&) override
    {
        seen.emplace_back("wheel");
        return true;
    }

    void flip()
    {
        UIView::beginAnimations();
        UIView::setAnimationDuration(1.0);
        UIView::setAnimationTransition(UIViewAnimationTransitionFlipFromRight, view().get(), true);
        view()->setBackgroundColor(UIColor::whiteColor());
        UIView::commitAnimations();
    }

private:
    void note(const char* phase, const UITouchSet& changed, const UIEvent& event)
    {
        seen.push_back(std::string(phase) + " " + std::to_string(changed.count()) + " of " +
                       std::to_string(event.allTouches().count()));
    }
};

struct TransitionFixture : ::testing::Test {
    test::HeadlessApp app;
    FlippingController controller;
    void SetUp() override
    {
        controller.setView(std::make_shared<UIView>(CGRectMake(0, 0, 320, 480)));
        app.window->addSubview(controller.view());
    }
    void finger(std::int64_t id, UITouchPhase phase, CGPoint p) { app.touch(id, phase, p); }
    void key(char c) { app.send(KeyInput{UIKey::fromCharacter(c)}); }
    void wheel() { app.send(ScrollInput{{100, 100}, 1}); }
};

TEST_F(TransitionFixture, NothingReachesTheWindowUntilTheFlipIsOver)
{
    key('f'); // the flip starts at this step's display cycle, at 0 s
    controller.seen.clear();
    for (double at : {0.0, 0.15, 0.9375}) {
        app.host.advance(at - app.host.now());
        app.tap({100, 100});
        key('x');
        wheel();
    }
    EXPECT_TRUE(controller.seen.empty());
    app.host.advance(0.0625); // 1 s after the flip began
    app.tap({100, 100});
    key('x');
    wheel();
    EXPECT_EQ(controller.seen, (std::vector<std::string>{"began 1 of 1", "ended 1 of 1", "key x", "wheel"}));
}

TEST_F(TransitionFixture, ACommittedFlipTurnsInputAwayBeforeItsFirstFrame)
{
    controller.flip();
    app.host.inject(KeyInput{UIKey::fromCharacter('x')});
    app.host.inject(TouchInput{{{1, UITouchPhase::Began, {100, 100}}}, 0});
    app.loop.step(); // both are handled before the display cycle starts the flip
    EXPECT_TRUE(controller.seen.empty());
}

TEST_F(TransitionFixture, FingersDownWhenTheFlipBeginsAreCancelledAndForgotten)
{
    finger(1, UITouchPhase::Began, {100, 100});
    finger(2, UITouchPhase::Began, {200, 200});
    finger(1, UITouchPhase::Moved, {110, 100});
    controller.seen.clear();
    key('f');
    EXPECT_EQ(controller.seen, (std::vector<std::string>{"key f", "cancelled 2 of 2"}));
    controller.seen.clear();
    app.host.advance(0.5);
    finger(1, UITouchPhase::Moved, {120, 100});
    app.host.advance(0.6);
    finger(1, UITouchPhase::Moved, {130, 100});
    finger(2, UITouchPhase::Ended, {200, 200});
    finger(1, UITouchPhase::Ended, {130, 100});
    EXPECT_TRUE(controller.seen.empty()) << "the cancelled fingers are not heard of again";
    finger(3, UITouchPhase::Began, {100, 100});
    EXPECT_EQ(controller.seen, (std::vector<std::string>{"began 1 of 1"})) << "a new finger is alone";
}

TEST_F(TransitionFixture, TurningLosingFocusAndQuittingStillWorkDuringTheFlip)
{
    key('f');
    app.host.advance(0.2);
    app.send(RotateInput{RotationDirection::Right});
    EXPECT_EQ(app.host.screenSize(), (CGSize{480, 320}));
    app.send(CancelTouchesInput{});
    app.host.inject(QuitInput{});
    EXPECT_FALSE(app.loop.step());
}

} // namespace
} // namespace dazed
