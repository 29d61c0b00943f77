#include "platform/sdl/SDLEventTranslator.h"

#include <gtest/gtest.h>
#include <limits>

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
    // The mirrored finger only pinches with the mouse's: it is marked as that finger's partner, so
    // that it never presses whatever lies under it.
    EXPECT_FALSE(down.changes[0].pinchPartnerOf);
    EXPECT_EQ(down.changes[1].pinchPartnerOf, down.changes[0].id);

    // Moving away from the centre spreads both fingers: the distance grows twice as fast.
    auto move = touches(t.translate(mouseMotion(180, 200), KMOD_NONE)); // Alt may be let go
    ASSERT_EQ(move.changes.size(), 2u);
    EXPECT_EQ(move.changes[0].location, (CGPoint{90, 200}));
    EXPECT_EQ(move.changes[1].location, (CGPoint{230, 280}));
    auto up = touches(t.translate(mouseButton(SDL_MOUSEBUTTONUP, 180, 200), KMOD_NONE));
    ASSERT_EQ(up.changes.size(), 2u);
    EXPECT_EQ(up.changes[1].phase, UITouchPhase::Ended);
    EXPECT_EQ(move.changes[1].pinchPartnerOf, move.changes[0].id);
    EXPECT_EQ(up.changes[1].pinchPartnerOf, up.changes[0].id);

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
    auto arrow = t.translate(key, KMOD_NONE);
    ASSERT_TRUE(arrow && std::holds_alternative<KeyInput>(*arrow)) << "an arrow alone is a key press";
    EXPECT_EQ(std::get<KeyInput>(*arrow).key.code, UIKeyCode::RightArrow);

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

SDL_Event keyDown(SDL_Keycode sym, Uint16 mod = KMOD_NONE, bool repeat = false)
{
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat ? 1 : 0;
    return e;
}

std::optional<UIKey> keyOf(const std::optional<HostEvent>& e)
{
    if (e && std::holds_alternative<KeyInput>(*e))
        return std::get<KeyInput>(*e).key;
    return std::nullopt;
}

TEST_F(TranslatorFixture, DesktopKeysBecomeKeyPressesOrWindowActions)
{
    EXPECT_EQ(keyOf(t.translate(keyDown(SDLK_UP), KMOD_NONE))->code, UIKeyCode::UpArrow);
    EXPECT_EQ(keyOf(t.translate(keyDown(SDLK_ESCAPE), KMOD_NONE))->code, UIKeyCode::Escape);
    for (SDL_Keycode plus : {SDLK_PLUS, SDLK_EQUALS, SDLK_KP_PLUS})
        EXPECT_EQ(keyOf(t.translate(keyDown(plus, KMOD_LSHIFT), KMOD_LSHIFT))->character, '+');
    for (SDL_Keycode minus : {SDLK_MINUS, SDLK_KP_MINUS})
        EXPECT_EQ(keyOf(t.translate(keyDown(minus), KMOD_NONE))->character, '-');
    const auto l = keyOf(t.translate(keyDown(SDLK_l, KMOD_NONE, true), KMOD_NONE));
    ASSERT_TRUE(l);
    EXPECT_EQ(*l, (UIKey{UIKeyCode::Character, 'l', 0, true}));
    EXPECT_EQ(keyOf(t.translate(keyDown(SDLK_i, KMOD_LSHIFT), KMOD_LSHIFT))->modifierFlags,
              UIKeyModifierShift);

    EXPECT_TRUE(std::holds_alternative<QuitInput>(*t.translate(keyDown(SDLK_q, KMOD_RCTRL), KMOD_RCTRL)));
    EXPECT_TRUE(std::holds_alternative<FullScreenInput>(*t.translate(keyDown(SDLK_F11), KMOD_NONE)));
    EXPECT_FALSE(t.translate(keyDown(SDLK_F11, KMOD_NONE, true), KMOD_NONE)) << "held F11 toggles once";
    EXPECT_FALSE(t.translate(keyDown(SDLK_F5), KMOD_NONE)) << "keys the chart has no use for";
}

TEST_F(TranslatorFixture, TheListOfNamesKeysAreTyped)
{
    // / opens the list; Return chooses, Backspace takes a letter back, a space is typed.
    for (SDL_Keycode slash : {SDLK_SLASH, SDLK_KP_DIVIDE})
        EXPECT_EQ(keyOf(t.translate(keyDown(slash), KMOD_NONE)), UIKey::fromCharacter('/'));
    for (SDL_Keycode enter : {SDLK_RETURN, SDLK_KP_ENTER})
        EXPECT_EQ(keyOf(t.translate(keyDown(enter), KMOD_NONE))->code, UIKeyCode::Return);
    EXPECT_EQ(keyOf(t.translate(keyDown(SDLK_BACKSPACE), KMOD_NONE))->code, UIKeyCode::Backspace);
    EXPECT_EQ(keyOf(t.translate(keyDown(SDLK_SPACE), KMOD_NONE)), UIKey::fromCharacter(' '));
}

TEST_F(TranslatorFixture, TheWheelScrollsWhereThePointerIs)
{
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.preciseY = 1.5f;
    e.wheel.y = 1;
    e.wheel.mouseX = 250;
    e.wheel.mouseY = 240;
    auto scroll = t.translate(e, KMOD_NONE);
    ASSERT_TRUE(scroll && std::holds_alternative<ScrollInput>(*scroll));
    EXPECT_EQ(std::get<ScrollInput>(*scroll).location, (CGPoint{160, 240}));
    EXPECT_EQ(std::get<ScrollInput>(*scroll).dy, 1.5f);
    e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    EXPECT_EQ(std::get<ScrollInput>(*t.translate(e, KMOD_NONE)).dy, -1.5f) << "natural scrolling undone";
    e.wheel.preciseY = 0;
    EXPECT_FALSE(t.translate(e, KMOD_NONE)) << "a sideways scroll does nothing";
}

TEST_F(TranslatorFixture, ReleasingOutsideTheWindowOrLosingTheFocusCancels)
{
    ASSERT_TRUE(t.translate(mouseButton(SDL_MOUSEBUTTONDOWN, 250, 240), KMOD_NONE));
    auto outside = touches(t.translate(mouseButton(SDL_MOUSEBUTTONUP, 600, 240), KMOD_NONE));
    ASSERT_EQ(outside.changes.size(), 1u);
    EXPECT_EQ(outside.changes[0].phase, UITouchPhase::Cancelled);
    EXPECT_FALSE(t.translate(mouseMotion(260, 240), KMOD_NONE)) << "the mouse no longer plays a finger";

    // A release that never arrived: the next motion without the button cancels.
    ASSERT_TRUE(t.translate(mouseButton(SDL_MOUSEBUTTONDOWN, 250, 240), KMOD_NONE));
    SDL_Event buttonless = mouseMotion(255, 240);
    buttonless.motion.state = 0;
    EXPECT_EQ(touches(t.translate(buttonless, KMOD_NONE)).changes[0].phase, UITouchPhase::Cancelled);

    ASSERT_TRUE(t.translate(mouseButton(SDL_MOUSEBUTTONDOWN, 250, 240), KMOD_NONE));
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    auto lost = t.translate(focus, KMOD_NONE);
    EXPECT_TRUE(lost && std::holds_alternative<CancelTouchesInput>(*lost));
    EXPECT_FALSE(t.translate(mouseButton(SDL_MOUSEBUTTONUP, 250, 240), KMOD_NONE)) << "nothing left to lift";
}

TEST_F(TranslatorFixture, FingersSDLNoLongerKnowsAreCancelled)
{
    SDL_Event e{};
    e.type = SDL_FINGERDOWN;
    e.tfinger.touchId = 7;
    e.tfinger.fingerId = 1;
    const auto first = touches(t.translate(e, KMOD_NONE));
    e.tfinger.fingerId = 2;
    (void)t.translate(e, KMOD_NONE);
    EXPECT_FALSE(t.cancelLostFingers([](SDL_TouchID, SDL_FingerID) { return true; })) << "all still down";
    // Finger 1's lift was lost; finger 2 is still down.
    auto lost = t.cancelLostFingers([](SDL_TouchID, SDL_FingerID finger) { return finger == 2; });
    ASSERT_TRUE(lost && std::holds_alternative<TouchInput>(*lost));
    const auto& changes = std::get<TouchInput>(*lost).changes;
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].id, first.changes[0].id);
    EXPECT_EQ(changes[0].phase, UITouchPhase::Cancelled);
    EXPECT_FALSE(t.cancelLostFingers([](SDL_TouchID, SDL_FingerID finger) { return finger == 2; }))
        << "cancelled once";
    e.type = SDL_FINGERUP;
    (void)t.translate(e, KMOD_NONE);
    EXPECT_FALSE(t.cancelLostFingers([](SDL_TouchID, SDL_FingerID) { return false; })) << "lifted normally";
}

TEST_F(TranslatorFixture, FingersAtPlacesThatAreNotNumbersNeverReachTheChart)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    SDL_Event e{};
    e.tfinger.touchId = 3;
    e.tfinger.fingerId = 1;
    e.type = SDL_FINGERDOWN;
    e.tfinger.x = nan;
    e.tfinger.y = 0.5f;
    EXPECT_FALSE(t.translate(e, KMOD_NONE)) << "a finger put down nowhere is not begun";
    e.type = SDL_FINGERUP;
    EXPECT_FALSE(t.translate(e, KMOD_NONE)) << "nor lifted";

    e.type = SDL_FINGERDOWN;
    e.tfinger.x = 0.5f;
    const auto down = touches(t.translate(e, KMOD_NONE));
    e.type = SDL_FINGERMOTION;
    e.tfinger.y = inf;
    EXPECT_FALSE(t.translate(e, KMOD_NONE)) << "a move to nowhere is dropped";
    e.type = SDL_FINGERUP;
    e.tfinger.x = -inf;
    const auto up = touches(t.translate(e, KMOD_NONE));
    ASSERT_EQ(up.changes.size(), 1u);
    EXPECT_EQ(up.changes[0].id, down.changes[0].id);
    EXPECT_EQ(up.changes[0].phase, UITouchPhase::Cancelled) << "lifted where it last was";
    EXPECT_FALSE(t.cancelLostFingers([](SDL_TouchID, SDL_FingerID) { return false; })) << "and not held";
}

} // namespace
} // namespace dazed
