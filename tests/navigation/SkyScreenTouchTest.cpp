// The sky screen driven through the framework: host events go through the event loop, the touch
// delivery and the responder chain to the controller, which sends its commands to the sky view.

#include "../platform/ui/UITestSupport.h"
#include "SkyScreenTestSupport.h"
#include "platform/ui/UIDevice.h"
#include "render/QuartzView.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using test::RecordingMainViewController;

constexpr std::int64_t kFinger1 = 1;
constexpr std::int64_t kFinger2 = 2;
constexpr std::int64_t kMouse = -1;

struct SkyScreen : ::testing::Test {
    test::HeadlessApp app;
    RecordingMainViewController controller{"MainView"};

    void SetUp() override
    {
        app.window->addSubview(controller.view());
        controller.commands.clear();
    }
    void finger(std::int64_t id, UITouchPhase phase, CGPoint p) { app.touch(id, phase, p); }
    // The mouse: the host knows its click count.
    void mouse(UITouchPhase phase, CGPoint p, int clicks = 1)
    {
        app.send(TouchInput{{{kMouse, phase, p}}, clicks});
    }
    void key(UIKey k) { app.send(KeyInput{k}); }
    [[nodiscard]] std::vector<SkyViewCommand> take() { return std::exchange(controller.commands, {}); }
};

TEST_F(SkyScreen, AFingerDragMovesTheCentreAndTheSkyViewRedraws)
{
    const int framesBefore = app.host.presentCount();
    finger(kFinger1, UITouchPhase::Began, {100, 100});
    finger(kFinger1, UITouchPhase::Moved, {150, 140});
    finger(kFinger1, UITouchPhase::Moved, {200, 180});
    finger(kFinger1, UITouchPhase::Ended, {200, 180});
    const auto commands = take();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0], (SkyViewCommand{WritexsCommand{17.5f, 36, 320, 480}}));
    EXPECT_EQ(commands[1], (SkyViewCommand{WritexsCommand{18, 41, 320, 480}}));
    EXPECT_EQ(xs1, 18.0);
    EXPECT_EQ(ys1, 41.0);
    EXPECT_GT(app.host.presentCount(), framesBefore) << "the display cycle drew the moved sky";
    EXPECT_FALSE(controller.quartzView()->needsDisplay());
}

TEST_F(SkyScreen, TheMouseDragsAndItsDoubleClickIsADoubleTap)
{
    mouse(UITouchPhase::Began, {60, 60});
    mouse(UITouchPhase::Moved, {10, 60}); // half an hour back
    mouse(UITouchPhase::Ended, {10, 60});
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WritexsCommand{16.5f, 31, 320, 480}}));

    mouse(UITouchPhase::Began, {10, 60}, 1);
    mouse(UITouchPhase::Ended, {10, 60}, 1);
    mouse(UITouchPhase::Began, {10, 60}, 2);
    mouse(UITouchPhase::Ended, {10, 60}, 2);
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WriteStarNamesCommand{}}));
    EXPECT_EQ(controller.quartzView()->fields().wLN, 1);
}

TEST_F(SkyScreen, QuickFingerTapsAreCountedByTheFramework)
{
    for (int i = 0; i < 3; ++i) {
        finger(kFinger1, UITouchPhase::Began, {200, 300});
        app.host.advance(0.05);
        finger(kFinger1, UITouchPhase::Ended, {200, 300});
        app.host.advance(0.1);
    }
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WriteStarNamesCommand{}})) << "the third tap does nothing";
}

TEST_F(SkyScreen, TwoFingersPinchFromTheirFirstSeparation)
{
    finger(kFinger1, UITouchPhase::Began, {100, 200});
    finger(kFinger2, UITouchPhase::Began, {200, 200}); // the set now holds both: 100 points apart
    app.send(TouchInput{
        {{kFinger1, UITouchPhase::Moved, {75, 200}}, {kFinger2, UITouchPhase::Moved, {225, 200}}}, 0});
    app.send(TouchInput{{{kFinger2, UITouchPhase::Moved, {225, 200}}}, 0});
    const auto zooms = take();
    ASSERT_EQ(zooms.size(), 2u);
    EXPECT_DOUBLE_EQ(std::get<SetEchCommand>(zooms[0]).zoom, 1.025);
    EXPECT_DOUBLE_EQ(std::get<SetEchCommand>(zooms[1]).zoom, 1.05);

    // One finger lifts: no tap, the pinch ends; the other moving on drags from the old anchor.
    finger(kFinger2, UITouchPhase::Ended, {225, 200});
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(controller.navigation().initialDistance, -1.0f);
    finger(kFinger1, UITouchPhase::Moved, {80, 200});
    const auto jump = take();
    ASSERT_EQ(jump.size(), 1u);
    EXPECT_NEAR(std::get<WritexsCommand>(jump[0]).rightAscension, 17.0f + (80.0f - 100.0f) / 105.0f, 0.01f)
        << "measured from the anchor of the first finger's touch-down, at zoom 1.05";
}

TEST_F(SkyScreen, AltDragPinchesWithTheMirroredMouseFinger)
{
    // Both fingers come down in one event, as the host's Alt+drag sends them.
    app.send(TouchInput{{{-1, UITouchPhase::Began, {110, 240}}, {-2, UITouchPhase::Began, {210, 240}}}, 1});
    app.send(TouchInput{{{-1, UITouchPhase::Moved, {60, 240}}, {-2, UITouchPhase::Moved, {260, 240}}}, 0});
    const auto zooms = take();
    ASSERT_EQ(zooms.size(), 1u);
    EXPECT_DOUBLE_EQ(std::get<SetEchCommand>(zooms[0]).zoom, 1.05);
}

TEST_F(SkyScreen, ALostTouchSequenceLeavesNoFingerBehind)
{
    finger(kFinger1, UITouchPhase::Began, {100, 100});
    app.send(CancelTouchesInput{}); // the window lost the focus: the lift never comes
    finger(kFinger1, UITouchPhase::Ended, {100, 100});
    EXPECT_TRUE(take().empty());

    // The next single finger drags; it is not taken for the second finger of a pinch.
    finger(kFinger2, UITouchPhase::Began, {100, 100});
    finger(kFinger2, UITouchPhase::Moved, {200, 100});
    const auto commands = take();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<WritexsCommand>(commands[0]));
}

TEST_F(SkyScreen, KeysSteerThroughTheSameRules)
{
    key({UIKeyCode::LeftArrow});
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WritexsCommand{17.24f, 31, 320, 480}}));
    key({UIKeyCode::UpArrow});
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WritexsCommand{17.24f, 34, 320, 480}}));
    key(UIKey::fromCharacter('+'));
    key(UIKey::fromCharacter('-'));
    const auto zooms = take();
    ASSERT_EQ(zooms.size(), 2u);
    EXPECT_DOUBLE_EQ(std::get<SetEchCommand>(zooms[0]).zoom, 1.1);
    EXPECT_DOUBLE_EQ(std::get<SetEchCommand>(zooms[1]).zoom, 1.0);
    key(UIKey::fromCharacter('l'));
    key({UIKeyCode::Character, 'l', 0, true}); // held down: no further mode
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WriteStarNamesCommand{}}));
    key(UIKey::fromCharacter('q'));
    key({UIKeyCode::LeftArrow, 0, UIKeyModifierControl});
    EXPECT_TRUE(take().empty()) << "keys the sky does not use pass it by";
}

TEST_F(SkyScreen, TheWheelZoomsAboutTheCentreWithinTheLimits)
{
    app.send(ScrollInput{{160, 240}, 1.0f});
    app.send(ScrollInput{{160, 240}, -2.0f});
    const auto zooms = take();
    ASSERT_EQ(zooms.size(), 2u);
    EXPECT_DOUBLE_EQ(std::get<SetEchCommand>(zooms[0]).zoom, 1.1);
    EXPECT_DOUBLE_EQ(std::get<SetEchCommand>(zooms[1]).zoom, 1.1 / 1.21);
    for (int i = 0; i < 30; ++i)
        app.send(ScrollInput{{20, 20}, 3.0f});
    EXPECT_EQ(controller.navigation().echelle, 3.0);
    EXPECT_EQ(controller.navigation().xs, 17.0f) << "the centre stays";
}

TEST_F(SkyScreen, TurningTheDeviceLaysTheSkyOutAgain)
{
    app.send(RotateInput{RotationDirection::Right});
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WritexsCommand{17, 31, 480, 320}}));
    EXPECT_EQ(controller.quartzView()->frame(), CGRectMake(0, 0, 480, 320));
    // Asked again at every turn, still subscribed once.
    app.send(RotateInput{RotationDirection::Left});
    EXPECT_EQ(take(), (std::vector<SkyViewCommand>{WritexsCommand{17, 31, 320, 480}}));
    app.send(OrientationInput{UIDeviceOrientationFaceUp});
    EXPECT_TRUE(take().empty());
}

} // namespace
} // namespace dazed
