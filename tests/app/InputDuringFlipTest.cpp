// Input while the root view flips between the sky and the information page, through the event loop
// on the headless host and its fake clock: the window takes none for the flip's second, a gesture
// begun before the flip is cancelled when it starts, and input works again once it is over.

#include "AppTestSupport.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIViewAnimation.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

using test::LaunchedApp;

constexpr CGPoint kInfoButton{290, 430}; // on a phone held upright

// The flip is one second long and starts at the display cycle that follows the press.
constexpr double kFlipSeconds = 1.0;

TouchInput finger(UITouchPhase phase, CGPoint p, std::int64_t id = 1)
{
    return TouchInput{{{id, phase, p}}, 0};
}

bool flipRuns(const LaunchedApp& app)
{
    return UIViewAnimation::shared().transitionFor(app.root().view().get()) != nullptr;
}

TEST(InputDuringTheFlip, AClickWhereDoneWillAppearDoesNotFlipBack)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.tap(kInfoButton);
    ASSERT_FALSE(root.isShowingSky());
    ASSERT_TRUE(flipRuns(app));
    const CGPoint done = root.flipsideNavigationBar()->rightButtonFrame().center();

    app.host.advance(0.15);
    app.tap(done);
    EXPECT_FALSE(root.isShowingSky()) << "the click did not reach Done";
    app.settle();
    EXPECT_FALSE(flipRuns(app));
    EXPECT_FALSE(root.isShowingSky()) << "the page stays once the flip is over";

    // Once the flip is over, Done works.
    app.tap(done);
    EXPECT_TRUE(root.isShowingSky());
}

TEST(InputDuringTheFlip, AFingerOnDoneJustBeforeTheFlipEndsIsNotLiftedOntoItAfterwards)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.tap(kInfoButton);
    const CGPoint done = root.flipsideNavigationBar()->rightButtonFrame().center();
    app.host.advance(kFlipSeconds - 0.01);
    app.send(finger(UITouchPhase::Began, done));
    app.host.advance(0.05);
    app.send(finger(UITouchPhase::Ended, done));
    app.settle();
    EXPECT_FALSE(root.isShowingSky()) << "a finger that went down during the flip presses nothing";
}

TEST(InputDuringTheFlip, ADragBegunBeforeTheFlipSendsNoCommandAfterItStarts)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    const float startRA = root.mainViewController()->navigation().xs;

    app.send(finger(UITouchPhase::Began, {100, 200}));
    app.send(finger(UITouchPhase::Moved, {120, 200}));
    const int sentByTheDrag = root.commandsSent;
    const float draggedRA = root.mainViewController()->navigation().xs;
    ASSERT_NE(draggedRA, startRA) << "the drag moved the sky before the flip";

    // I turns to the page while the finger is still down; the finger keeps moving during the flip,
    // after it, and lifts.
    app.send(KeyInput{UIKey::fromCharacter('i')});
    ASSERT_TRUE(flipRuns(app));
    for (float x : {140.0f, 160.0f, 180.0f}) {
        app.host.advance(0.2);
        app.send(finger(UITouchPhase::Moved, {x, 200}));
    }
    app.settle();
    app.send(finger(UITouchPhase::Moved, {200, 200}));
    app.send(finger(UITouchPhase::Ended, {200, 200}));
    EXPECT_EQ(root.commandsSent, sentByTheDrag);
    EXPECT_EQ(root.mainViewController()->navigation().xs, draggedRA);

    // Back on the sky after the flip back, a new drag moves it again.
    app.send(KeyInput{UIKey::fromCharacter('i')});
    app.settle();
    ASSERT_TRUE(root.isShowingSky());
    app.send(finger(UITouchPhase::Began, {100, 200}, 2));
    app.send(finger(UITouchPhase::Moved, {120, 200}, 2));
    EXPECT_GT(root.commandsSent, sentByTheDrag);
    EXPECT_NE(root.mainViewController()->navigation().xs, draggedRA);
}

TEST(InputDuringTheFlip, APinchBegunBeforeTheFlipIsCancelledAndLeavesTheZoomAlone)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.send(TouchInput{{{1, UITouchPhase::Began, {100, 200}}, {2, UITouchPhase::Began, {200, 300}}}, 0});
    app.send(TouchInput{{{1, UITouchPhase::Moved, {90, 190}}, {2, UITouchPhase::Moved, {210, 310}}}, 0});
    const double zoom = root.mainViewController()->navigation().echelle;
    const int sent = root.commandsSent;

    app.send(KeyInput{UIKey::fromCharacter('i')});
    app.host.advance(0.3);
    app.send(TouchInput{{{1, UITouchPhase::Moved, {50, 150}}, {2, UITouchPhase::Moved, {250, 350}}}, 0});
    app.settle();
    app.send(TouchInput{{{1, UITouchPhase::Moved, {40, 140}}, {2, UITouchPhase::Moved, {260, 360}}}, 0});
    app.send(TouchInput{{{1, UITouchPhase::Ended, {40, 140}}, {2, UITouchPhase::Ended, {260, 360}}}, 0});
    EXPECT_EQ(root.commandsSent, sent);
    EXPECT_EQ(root.mainViewController()->navigation().echelle, zoom);
}

TEST(InputDuringTheFlip, KeysAndTheWheelDoNothingWhileTheSkyTurnsBackIn)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.tap(kInfoButton);
    app.settle();
    const auto& sky = *root.mainViewController();
    const NavigationState before = sky.navigation();
    const int sent = root.commandsSent;

    app.tap(root.flipsideNavigationBar()->rightButtonFrame().center());
    ASSERT_TRUE(root.isShowingSky());
    ASSERT_TRUE(flipRuns(app));
    app.host.advance(0.3);
    for (const UIKey key :
         {UIKey{UIKeyCode::LeftArrow, 0, 0, false}, UIKey::fromCharacter('+'), UIKey::fromCharacter('l'),
          UIKey::fromCharacter('i'), UIKey{UIKeyCode::Escape, 0, 0, false}})
        app.send(KeyInput{key});
    app.send(ScrollInput{{160, 240}, 2});
    app.host.advance(0.5);
    app.tap({160, 240});
    app.tap({160, 240});
    app.settle();

    EXPECT_TRUE(root.isShowingSky()) << "neither I nor Escape turned it round again";
    EXPECT_EQ(root.commandsSent, sent);
    EXPECT_EQ(sky.navigation().xs, before.xs);
    EXPECT_EQ(sky.navigation().ys, before.ys);
    EXPECT_EQ(sky.navigation().echelle, before.echelle);

    // After the flip the same keys and the wheel steer the sky again.
    app.send(KeyInput{UIKey{UIKeyCode::LeftArrow, 0, 0, false}});
    EXPECT_NE(sky.navigation().xs, before.xs);
    app.send(ScrollInput{{160, 240}, 2});
    EXPECT_NE(sky.navigation().echelle, before.echelle);
}

TEST(InputDuringTheFlip, TurningTheDeviceStillWorksDuringTheFlip)
{
    LaunchedApp app(DeviceFamily::Phone);
    auto& root = app.root();
    app.tap(kInfoButton);
    app.host.advance(0.3);
    app.send(RotateInput{RotationDirection::Right});
    EXPECT_EQ(root.largeur(), 480.0f);
    app.settle();
    EXPECT_EQ(root.flipsideNavigationBar()->frame(), CGRectMake(0, 0, 480, 44));
}

} // namespace
} // namespace dazed
