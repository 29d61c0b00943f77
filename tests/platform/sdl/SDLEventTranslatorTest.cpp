#include "platform/sdl/SDLEventTranslator.h"

#include <gtest/gtest.h>

namespace dazed {
namespace {

SDL_Event mouseButton(Uint32 type, int x, int y, Uint8 clicks = 1)
{
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    e.button.clicks = clicks;
    e.button.which = 0;
    return e;
}

SDL_Event mouseMotion(int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = SDL_BUTTON_LMASK;
    return e;
}

TouchInput touches(const std::optional<HostEvent>& e)
{
    EXPECT_TRUE(e && std::holds_alternative<TouchInput>(*e));
    return e && std::holds_alternative<TouchInput>(*e) ? std::get<TouchInput>(*e) : TouchInput{};
}

struct TranslatorFixture : ::testing::Test {
    SDLEventTranslator t;
    // A 500 x 480 window on a 2x display: 1000 x 960 pixels, the phone at 2 px/pt, 180 px in.
    void SetUp() override { t.setGeometry(500, 480, 1000, 960, {320, 480}); }
};

TEST_F(TranslatorFixture, TheLeftButtonIsOneFingerWithSDLsClickCount)
{
    auto down = touches(t.translate(mouseButton(SDL_MOUSEBUTTONDOWN, 250, 240, 2), KMOD_NONE));
    ASSERT_EQ(down.changes.size(), 1u);
    EXPECT_EQ(down.changes[0].phase, UITouchPhase::Began);
    EXPECT_EQ(down.changes[0].location, (CGPoint{160, 240})) << "window coordinates are half the pixels";
    EXPECT_EQ(down.tapCount, 2);
    auto move = touches(t.translate(mouseMotion(260, 250), KMOD_NONE));
    EXPECT_EQ(move.changes[0].location, (CGPoint{170, 250}));
    auto up = touches(t.translate(mouseButton(SDL_MOUSEBUTTONUP, 260, 250), KMOD_NONE));
    EXPECT_EQ(up.changes[0].phase, UITouchPhase::Ended);
    EXPECT_FALSE(t.translate(mouseMotion(270, 250), KMOD_NONE)) << "no finger without the button";
}

TEST_F(TranslatorFixture, AltDragIsAPinchMirroredAboutTheScreenCentre)
{
    auto down = touches(t.translate(mouseButton(SDL_MOUSEBUTTONDOWN, 200, 200), KMOD_LALT));
    ASSERT_EQ(down.changes.size(), 2u);
    const CGPoint p = down.changes[0].location, q = down.changes[1].location;
    EXPECT_EQ(p, (CGPoint{110, 200}));
    EXPECT_EQ(q, (CGPoint{210, 280}));
    EXPECT_EQ((CGPoint{(p.x + q.x) / 2, (p.y + q.y) / 2}), (CGPoint{160, 240}));
    EXPECT_NE(down.changes[0].id, down.changes[1].id);
    EXPECT_EQ(down.changes[1].phase, UITouchPhase::Began);

    // Moving away from the centre spreads both fingers: the distance grows twice as fast.
    auto move = touches(t.translate(mouseMotion(180, 200), KMOD_NONE)); // Alt may be let go
    ASSERT_EQ(move.changes.size(), 2u);
    EXPECT_EQ(move.changes[0].location, (CGPoint{90, 200}));
    EXPECT_EQ(move.changes[1].location, (CGPoint{230, 280}));
    auto up = touches(t.translate(mouseButton(SDL_MOUSEBUTTONUP, 180, 200), KMOD_NONE));
    ASSERT_EQ(up.changes.size(), 2u);
    EXPECT_EQ(up.changes[1].phase, UITouchPhase::Ended);

    // The next plain drag is one finger again.
    EXPECT_EQ(touches(t.translate(mouseButton(SDL_MOUSEBUTTONDOWN, 250, 240), KMOD_NONE)).changes.size(), 1u);
}

TEST_F(TranslatorFixture, ClicksOnTheBarsAndSynthesizedMouseEventsAreDropped)
{
    EXPECT_FALSE(t.translate(mouseButton(SDL_MOUSEBUTTONDOWN, 20, 240), KMOD_NONE));
    SDL_Event fromTouch = mouseButton(SDL_MOUSEBUTTONDOWN, 250, 240);
    fromTouch.button.which = SDL_TOUCH_MOUSEID;
    EXPECT_FALSE(t.translate(fromTouch, KMOD_NONE));
    SDL_Event right = mouseButton(SDL_MOUSEBUTTONDOWN, 250, 240);
    right.button.button = SDL_BUTTON_RIGHT;
    EXPECT_FALSE(t.translate(right, KMOD_NONE));
}

TEST_F(TranslatorFixture, FingersArePlacedFromWindowFractions)
{
    SDL_Event e{};
    e.type = SDL_FINGERDOWN;
    e.tfinger.touchId = 1;
    e.tfinger.fingerId = 4;
    e.tfinger.x = 0.5f;
    e.tfinger.y = 0.25f;
    auto down = touches(t.translate(e, KMOD_NONE));
    EXPECT_EQ(down.changes[0].location, (CGPoint{160, 120}));
    EXPECT_EQ(down.tapCount, 0) << "the framework counts finger taps itself";
    EXPECT_GE(down.changes[0].id, 0);
    e.type = SDL_FINGERUP;
    auto up = touches(t.translate(e, KMOD_NONE));
    EXPECT_EQ(up.changes[0].phase, UITouchPhase::Ended);
    EXPECT_EQ(up.changes[0].id, down.changes[0].id);
}

TEST_F(TranslatorFixture, KeysAndDisplayEvents)
{
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_LEFT;
    key.key.keysym.mod = KMOD_LCTRL;
    auto left = t.translate(key, KMOD_LCTRL);
    ASSERT_TRUE(left && std::holds_alternative<RotateInput>(*left));
    EXPECT_EQ(std::get<RotateInput>(*left).direction, RotationDirection::Left);
    key.key.keysym.sym = SDLK_RIGHT;
    EXPECT_EQ(std::get<RotateInput>(*t.translate(key, KMOD_LCTRL)).direction, RotationDirection::Right);
    key.key.keysym.mod = KMOD_NONE;
    EXPECT_FALSE(t.translate(key, KMOD_NONE)) << "an arrow alone turns nothing";

    SDL_Event display{};
    display.type = SDL_DISPLAYEVENT;
    display.display.event = SDL_DISPLAYEVENT_ORIENTATION;
    display.display.data1 = SDL_ORIENTATION_LANDSCAPE_FLIPPED;
    auto o = t.translate(display, KMOD_NONE);
    ASSERT_TRUE(o && std::holds_alternative<OrientationInput>(*o));
    EXPECT_EQ(std::get<OrientationInput>(*o).orientation, 4);
    EXPECT_EQ(deviceOrientationForDisplay(SDL_ORIENTATION_PORTRAIT), 1);
    EXPECT_EQ(deviceOrientationForDisplay(SDL_ORIENTATION_PORTRAIT_FLIPPED), 2);
    EXPECT_EQ(deviceOrientationForDisplay(SDL_ORIENTATION_LANDSCAPE), 3);
    EXPECT_EQ(deviceOrientationForDisplay(SDL_ORIENTATION_UNKNOWN), 0);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_TRUE(std::holds_alternative<QuitInput>(*t.translate(quit, KMOD_NONE)));
}

} // namespace
} // namespace dazed
