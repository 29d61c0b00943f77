#include "navigation/NavigationState.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace dazed {
namespace {

constexpr float kPhoneWidth = 320.0f;
constexpr float kTabletWidth = 768.0f;

NavigationState startState(float width, double zoom = 1.0)
{
    NavigationState s;
    s.xs = 17.0f;
    s.ys = 31.0f;
    s.largeur = width;
    s.hauteur = width == kPhoneWidth ? 480.0f : 1024.0f;
    s.echelle = zoom;
    return s;
}

TouchSample one(CGPoint p, int taps = 1)
{
    return {1, p, {}, taps};
}

TouchSample two(CGPoint a, CGPoint b)
{
    return {2, a, b, 1};
}

// Puts a finger down at `from` and drags it to `to` in one move event.
WritexsCommand drag(NavigationState& s, CGPoint from, CGPoint to)
{
    touchDown(s, one(from));
    auto command = touchMove(s, one(to));
    EXPECT_TRUE(command && std::holds_alternative<WritexsCommand>(*command));
    return command ? std::get<WritexsCommand>(*command) : WritexsCommand{};
}

TEST(Drag, RatesOnPhoneAndTabletFollowTheZoom)
{
    // Phone at zoom 1: 100 points right is one hour, 80 points down ten degrees.
    auto phone = startState(kPhoneWidth);
    const auto moved = drag(phone, {100, 100}, {200, 180});
    EXPECT_FLOAT_EQ(phone.xs, 18.0f);
    EXPECT_FLOAT_EQ(phone.ys, 41.0f);
    EXPECT_EQ(moved, (WritexsCommand{phone.xs, phone.ys, 320, 480}));
    EXPECT_EQ(phone.oldTouch, (CGPoint{200, 180})) << "each step moves the anchor";

    // Phone at zoom 2: twice the travel for the same change.
    auto zoomed = startState(kPhoneWidth, 2.0);
    drag(zoomed, {10, 10}, {210, 10});
    EXPECT_FLOAT_EQ(zoomed.xs, 18.0f);

    // Tablet at zoom 2: 300 points for one hour, 24 points for one degree.
    auto tablet = startState(kTabletWidth, 2.0);
    drag(tablet, {100, 100}, {400, 124});
    EXPECT_FLOAT_EQ(tablet.xs, 18.0f);
    EXPECT_FLOAT_EQ(tablet.ys, 32.0f);

    // A phone in landscape is exactly 480 wide and still steered as a phone.
    auto landscape = startState(480.0f);
    drag(landscape, {0, 0}, {100, 0});
    EXPECT_FLOAT_EQ(landscape.xs, 18.0f);
}

TEST(Drag, StoresEachStepInSinglePrecision)
{
    // 1/3 of an hour is not a float: the stored value is the double sum rounded once.
    auto s = startState(kPhoneWidth);
    drag(s, {0, 0}, {100.0f / 3.0f, 0});
    const float expected = static_cast<float>(17.0 + static_cast<double>(100.0f / 3.0f) / 100.0);
    EXPECT_EQ(s.xs, expected);
}

TEST(Drag, RightAscensionWrapsOnceEachWayAndKeepsExactEnds)
{
    auto below = startState(kPhoneWidth);
    below.xs = 0.2f;
    drag(below, {100, 0}, {50, 0}); // -0.5 h
    EXPECT_NEAR(below.xs, 23.7f, 1e-5f);

    auto above = startState(kPhoneWidth);
    above.xs = 23.9f;
    drag(above, {0, 0}, {50, 0}); // +0.5 h
    EXPECT_NEAR(above.xs, 0.4f, 1e-5f);

    auto toZero = startState(kPhoneWidth);
    toZero.xs = 0.5f;
    drag(toZero, {100, 0}, {50, 0});
    EXPECT_EQ(toZero.xs, 0.0f) << "exactly 0 h stays 0 h";

    auto toTwentyFour = startState(kPhoneWidth);
    toTwentyFour.xs = 23.5f;
    drag(toTwentyFour, {0, 0}, {50, 0});
    EXPECT_EQ(toTwentyFour.xs, 24.0f) << "exactly 24 h stays 24 h";
}

TEST(Drag, TravelOfSeveralTurnsStillEndsWithinTheDay)
{
    // A mouse held down and dragged far beyond the window: 100 points an hour on a phone at zoom 1.
    auto right = startState(kPhoneWidth);
    drag(right, {0, 0}, {5050, 0}); // +50.5 h from 17 h
    EXPECT_NEAR(right.xs, 19.5f, 1e-4f);

    auto left = startState(kPhoneWidth);
    drag(left, {5050, 0}, {0, 0}); // -50.5 h from 17 h
    EXPECT_NEAR(left.xs, 14.5f, 1e-4f);

    // The jump after a pinch measures from an anchor that may lie far off the screen.
    auto jump = startState(kTabletWidth, 0.9);
    jump.oldTouch = {-15000, 0};
    (void)touchMove(jump, one({15000, 0})); // 30,000 points at 135 points an hour
    EXPECT_GE(jump.xs, 0.0f);
    EXPECT_LE(jump.xs, 24.0f);
    EXPECT_NEAR(jump.xs, std::fmod(17.0 + 30000.0 / 135.0, 24.0), 1e-3);

    // A travel too large to measure leaves the right ascension where it was.
    auto huge = startState(kPhoneWidth);
    huge.oldTouch = {-std::numeric_limits<float>::max(), 0};
    (void)touchMove(huge, one({std::numeric_limits<float>::max(), 0}));
    EXPECT_EQ(huge.xs, 17.0f);
}

TEST(Drag, DeclinationStopsAtThePolesAndComesBackAtOnce)
{
    auto s = startState(kPhoneWidth);
    s.ys = 85.0f;
    drag(s, {0, 0}, {0, 80}); // +10 degrees asked, 5 possible
    EXPECT_EQ(s.ys, 90.0f);
    (void)touchMove(s, one({0, 160})); // further north changes nothing
    EXPECT_EQ(s.ys, 90.0f);
    (void)touchMove(s, one({0, 152})); // 8 points back is one degree back, at once
    EXPECT_FLOAT_EQ(s.ys, 89.0f);

    s.ys = -85.0f;
    drag(s, {0, 200}, {0, 0});
    EXPECT_EQ(s.ys, -90.0f);
}

TEST(Pinch, ZoomGrowsWithTheStretchFromTheInitialSeparation)
{
    auto s = startState(kPhoneWidth);
    touchDown(s, two({0, 0}, {100, 0}));
    EXPECT_EQ(s.initialDistance, 100.0f);
    auto first = touchMove(s, two({0, 0}, {150, 0}));
    ASSERT_TRUE(first && std::holds_alternative<SetEchCommand>(*first));
    EXPECT_DOUBLE_EQ(std::get<SetEchCommand>(*first).zoom, 1.025);
    (void)touchMove(s, two({0, 0}, {150, 0}));
    EXPECT_DOUBLE_EQ(s.echelle, 1.05) << "each move adds the whole stretch again";
    EXPECT_EQ(s.initialDistance, 100.0f) << "the initial separation is never replaced";

    auto closing = startState(kPhoneWidth);
    touchDown(closing, two({0, 0}, {100, 0}));
    (void)touchMove(closing, two({0, 0}, {50, 0}));
    EXPECT_DOUBLE_EQ(closing.echelle, 0.975);

    auto tablet = startState(kTabletWidth);
    touchDown(tablet, two({0, 0}, {100, 0}));
    (void)touchMove(tablet, two({0, 0}, {400, 0}));
    EXPECT_DOUBLE_EQ(tablet.echelle, 1.1) << "a tablet divides by 3000";
}

TEST(Pinch, ZoomIsClampedAndStillSentAtTheLimits)
{
    auto s = startState(kPhoneWidth, 2.99);
    touchDown(s, two({0, 0}, {100, 0}));
    for (int i = 0; i < 3; ++i) {
        auto command = touchMove(s, two({0, 0}, {300, 0}));
        ASSERT_TRUE(command && std::holds_alternative<SetEchCommand>(*command));
        EXPECT_EQ(std::get<SetEchCommand>(*command).zoom, 3.0) << "move " << i;
    }

    auto low = startState(kPhoneWidth, 0.95);
    touchDown(low, two({0, 0}, {300, 0}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::get<SetEchCommand>(*touchMove(low, two({0, 0}, {10, 0}))).zoom, 0.9);
}

TEST(Pinch, AMoveWithoutATwoFingerTouchDownStartsThePinchWhereItIs)
{
    auto fresh = startState(kPhoneWidth);
    fresh.initialDistance = 0.0f; // a new controller
    (void)touchMove(fresh, two({0, 0}, {120, 0}));
    EXPECT_EQ(fresh.echelle, 1.0);
    EXPECT_EQ(fresh.initialDistance, 120.0f);

    auto afterLift = startState(kPhoneWidth);
    (void)touchUp(afterLift, one({0, 0}));
    EXPECT_EQ(afterLift.initialDistance, -1.0f);
    (void)touchMove(afterLift, two({0, 0}, {80, 0}));
    EXPECT_EQ(afterLift.echelle, 1.0);
    EXPECT_EQ(afterLift.initialDistance, 80.0f);
}

TEST(Taps, DoubleAndTripleTaps)
{
    auto s = startState(kPhoneWidth);
    touchDown(s, one({40, 40}, 1));
    EXPECT_FALSE(touchUp(s, one({40, 40}, 1))) << "the first tap changes only the pinch state";
    EXPECT_EQ(s.initialDistance, -1.0f);
    touchDown(s, one({42, 41}, 2));
    EXPECT_EQ(s.oldTouch, (CGPoint{42, 41}));
    auto second = touchUp(s, one({42, 41}, 2));
    ASSERT_TRUE(second);
    EXPECT_TRUE(std::holds_alternative<WriteStarNamesCommand>(*second));

    touchDown(s, one({90, 90}, 3));
    EXPECT_EQ(s.oldTouch, (CGPoint{42, 41})) << "a third tap does not move the anchor";
    EXPECT_FALSE(touchUp(s, one({90, 90}, 3))) << "nor advance the mode";
}

TEST(Fingers, ThreeOrMoreDoNothingButEndThePinch)
{
    auto s = startState(kPhoneWidth);
    s.initialDistance = 50.0f;
    const NavigationState before = s;
    const TouchSample three{3, {0, 0}, {100, 0}, 1};
    touchDown(s, three);
    EXPECT_FALSE(touchMove(s, three));
    EXPECT_EQ(s.xs, before.xs);
    EXPECT_EQ(s.echelle, before.echelle);
    EXPECT_EQ(s.initialDistance, 50.0f);
    EXPECT_FALSE(touchUp(s, {3, {0, 0}, {100, 0}, 2}));
    EXPECT_EQ(s.initialDistance, -1.0f);
}

TEST(Fingers, LiftingOneFingerOfAPinchJumpsFromTheOldAnchor)
{
    auto s = startState(kPhoneWidth);
    touchDown(s, one({100, 100}));
    touchDown(s, two({100, 100}, {200, 100}));
    (void)touchMove(s, two({100, 100}, {220, 100}));
    // The lifting finger is still in the set: no tap is looked at, and the pinch ends.
    EXPECT_FALSE(touchUp(s, {2, {100, 100}, {220, 100}, 2}));
    EXPECT_EQ(s.initialDistance, -1.0f);
    // The finger left on the screen moves: measured from the anchor before the pinch, 120 points
    // at the pinch's zoom of 1.01.
    EXPECT_DOUBLE_EQ(s.echelle, 1.01);
    (void)touchMove(s, one({220, 100}));
    EXPECT_FLOAT_EQ(s.xs, static_cast<float>(17.0 + 120.0 / (100.0 * s.echelle)));
}

TEST(Distance, IsComputedInSinglePrecision)
{
    EXPECT_EQ(distanceBetweenTwoPoints({0, 0}, {3, 4}), 5.0f);
    EXPECT_EQ(distanceBetweenTwoPoints({3, 4}, {0, 0}), 5.0f);
    const float dx = 0.1f, dy = 0.2f;
    EXPECT_EQ(distanceBetweenTwoPoints({0, 0}, {dx, dy}), std::sqrt(dx * dx + dy * dy));
}

TEST(DesktopControls, PanAndZoomKeepTheInvariants)
{
    auto s = startState(kPhoneWidth);
    s.oldTouch = {5, 6};
    s.xs = 0.1f;
    (void)panBy(s, {-24, 0});
    EXPECT_NEAR(s.xs, 23.86f, 1e-5f) << "wraps like a drag";
    EXPECT_EQ(s.oldTouch, (CGPoint{5, 6})) << "a pan leaves a drag's anchor alone";
    s.ys = 89.0f;
    (void)panBy(s, {0, 24});
    EXPECT_EQ(s.ys, 90.0f);

    for (int i = 0; i < 40; ++i)
        (void)zoomBy(s, 1.1);
    EXPECT_EQ(s.echelle, 3.0);
    for (int i = 0; i < 40; ++i)
        (void)zoomBy(s, 1 / 1.1);
    EXPECT_EQ(s.echelle, 0.9);
    EXPECT_EQ(zoomBy(s, std::numeric_limits<double>::quiet_NaN()).zoom, 0.9)
        << "a bad factor changes nothing";
    EXPECT_EQ(zoomBy(s, 0.0).zoom, 0.9);
}

} // namespace
} // namespace dazed
