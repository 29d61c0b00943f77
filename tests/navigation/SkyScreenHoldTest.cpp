// A hold on the sky beside the gestures the sky screen already knows: a drag that starts with a
// pause, a double tap and a pinch work as they always have, and the hold itself moves nothing.

#include "../platform/ui/UITestSupport.h"
#include "SkyScreenTestSupport.h"

#include <gtest/gtest.h>
#include <utility>

namespace dazed {
namespace {

using test::RecordingMainViewController;

constexpr double kHold = UILongPressGestureRecognizer::kMinimumPressDuration;

struct SkyHold : ::testing::Test {
    test::HeadlessApp app;
    RecordingMainViewController controller{"MainView"};
    std::vector<CGPoint> holds;

    void SetUp() override
    {
        app.window->addSubview(controller.view());
        controller.setHoldAction([this](CGPoint p) { holds.push_back(p); });
        controller.commands.clear();
    }
    void finger(std::int64_t id, UITouchPhase phase, CGPoint p) { app.touch(id, phase, p); }
    // The loop sleeps to its next deadline with nothing to handle (the fake clock jumps).
    void sleepToDeadline() { app.loop.step(); }
    [[nodiscard]] std::vector<SkyViewCommand> take() { return std::exchange(controller.commands, {}); }
};

TEST_F(SkyHold, ADragThatStartsWithAPauseStillDragsFromWhereTheFingerWentDown)
{
    finger(1, UITouchPhase::Began, {100, 100});
    app.host.advance(kHold * 0.8);
    finger(1, UITouchPhase::Moved, {150, 140});
    sleepToDeadline(); // the hold's time passes while dragging
    finger(1, UITouchPhase::Moved, {200, 180});
    finger(1, UITouchPhase::Ended, {200, 180});
    // The travel from the touch-down: 50 points right is half an hour, 40 down five degrees.
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WritexsCommand{17.5f, 36, 320, 480},
                                                   WritexsCommand{18, 41, 320, 480}}));
    EXPECT_TRUE(holds.empty());
}

TEST_F(SkyHold, AHoldSendsNoCommandAndItsFingerMovesNothingAfterwards)
{
    finger(1, UITouchPhase::Began, {100, 100});
    sleepToDeadline();
    ASSERT_EQ(holds.size(), 1u);
    EXPECT_EQ(holds[0], (CGPoint{100, 100}));
    finger(1, UITouchPhase::Moved, {200, 200});
    finger(2, UITouchPhase::Began, {10, 10});
    finger(2, UITouchPhase::Moved, {50, 50});
    finger(2, UITouchPhase::Ended, {50, 50});
    finger(1, UITouchPhase::Ended, {200, 200});
    EXPECT_TRUE(take().empty());
    EXPECT_FLOAT_EQ(controller.navigation().xs, 17.0f);
    EXPECT_FLOAT_EQ(controller.navigation().ys, 31.0f);

    // The next drag drags again, from its own touch-down.
    finger(1, UITouchPhase::Began, {100, 100});
    finger(1, UITouchPhase::Moved, {150, 140});
    finger(1, UITouchPhase::Ended, {150, 140});
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WritexsCommand{17.5f, 36, 320, 480}}));
}

TEST_F(SkyHold, ADoubleTapStillAdvancesTheLabelsAndAHeldSecondTapDoesNot)
{
    finger(1, UITouchPhase::Began, {200, 300});
    app.host.advance(0.05);
    finger(1, UITouchPhase::Ended, {200, 300});
    app.host.advance(0.1);
    finger(1, UITouchPhase::Began, {200, 300});
    app.host.advance(0.05);
    finger(1, UITouchPhase::Ended, {200, 300});
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WriteStarNamesCommand{}}));
    EXPECT_TRUE(holds.empty());

    app.host.advance(1.0);
    finger(1, UITouchPhase::Began, {200, 300});
    app.host.advance(0.05);
    finger(1, UITouchPhase::Ended, {200, 300});
    app.host.advance(0.1);
    finger(1, UITouchPhase::Began, {200, 300});
    sleepToDeadline();
    finger(1, UITouchPhase::Ended, {200, 300});
    EXPECT_EQ(holds.size(), 1u);
    EXPECT_TRUE(take().empty()) << "the hold's lift is no second tap";
}

TEST_F(SkyHold, APinchStillZoomsHoweverLongItsFingersRest)
{
    app.send(TouchInput{{{1, UITouchPhase::Began, {100, 200}}, {2, UITouchPhase::Began, {200, 200}}}, 0});
    app.host.advance(2.0);
    app.send(TouchInput{{{1, UITouchPhase::Moved, {50, 200}}, {2, UITouchPhase::Moved, {250, 200}}}, 0});
    // 100 points further apart on a phone: 100 / 2000 more zoom.
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{SetEchCommand{1.05}}));

    // One finger rests first, a second joins before the hold comes due.
    app.send(TouchInput{{{1, UITouchPhase::Ended, {50, 200}}, {2, UITouchPhase::Ended, {250, 200}}}, 0});
    app.host.advance(1.0);
    finger(1, UITouchPhase::Began, {100, 200});
    app.host.advance(kHold * 0.5);
    finger(2, UITouchPhase::Began, {200, 200});
    app.host.advance(2.0);
    app.send(TouchInput{{{1, UITouchPhase::Moved, {100, 200}}, {2, UITouchPhase::Moved, {300, 200}}}, 0});
    EXPECT_TRUE(holds.empty());
    const auto commands = take();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<SetEchCommand>(commands[0]));
}

TEST_F(SkyHold, WithoutAHoldActionAHeldFingerIsAnOrdinaryTouch)
{
    controller.setHoldAction(nullptr);
    finger(1, UITouchPhase::Began, {100, 100});
    EXPECT_FALSE(UIApplication::sharedApplication().nextTimerFireDate()) << "nothing to wait for";
    app.host.advance(3.0);
    finger(1, UITouchPhase::Moved, {150, 140});
    finger(1, UITouchPhase::Ended, {150, 140});
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WritexsCommand{17.5f, 36, 320, 480}}));
}

} // namespace
} // namespace dazed
