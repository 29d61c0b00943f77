#pragma once

// What the framework needs from the machine it runs on: a window that shows the device screen,
// events, a clock and a browser. The SDL host is one implementation; HeadlessHost (injected
// events, a fake clock) is the other.

#include "platform/graphics/Geometry.h"
#include "platform/graphics/ScreenTint.h"
#include "platform/graphics/image/Image.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/UIResponder.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace dazed {

// One finger's change, in device-screen points (the screen as currently turned).
struct PointerChange {
    PointerChange() = default;
    PointerChange(std::int64_t finger, UITouchPhase change, CGPoint at,
                  std::optional<std::int64_t> partnerOf = std::nullopt)
        : id(finger)
        , phase(change)
        , location(at)
        , pinchPartnerOf(partnerOf)
    {
    }

    std::int64_t id{0};
    UITouchPhase phase{UITouchPhase::Began};
    CGPoint location;
    // Set on a finger the host makes up so that one real finger can pinch (the mouse's mirrored
    // finger with Alt): the id of that real finger, which goes down before it or in the same input.
    // Such a finger is never hit-tested: it goes to the view its real finger went to, whatever lies
    // under it, and nowhere when the real finger touched nothing.
    std::optional<std::int64_t> pinchPartnerOf;
};

// Fingers that changed together: a finger event, or both fingers of a mouse pinch.
struct TouchInput {
    std::vector<PointerChange> changes;
    // The tap count the host already knows (a mouse's click count); 0 lets the framework count taps.
    int tapCount{0};
};

// The device reports an orientation code (0..6).
struct OrientationInput {
    int orientation{0};
};

enum class RotationDirection { Left, Right };

// The user asks to turn the emulated device a quarter turn (Ctrl+Left / Ctrl+Right).
struct RotateInput {
    RotationDirection direction{RotationDirection::Right};
};

// Every finger on the screen is lost at once: the window lost the keyboard focus, the mouse button
// was released outside the window, or the system took the touches away.
struct CancelTouchesInput {};

// A key press, for the desktop's keyboard controls.
struct KeyInput {
    UIKey key{};
};

// A scroll of the mouse wheel or a touchpad at `location` (device-screen points). `dy` is in wheel
// notches, positive away from the user; a touchpad gives fractions.
struct ScrollInput {
    CGPoint location{};
    float dy{0};
};

// The user asks for the window to fill the display, or to leave full screen (F11).
struct FullScreenInput {};

// The window changed size or pixel density: the screen must be drawn again.
struct ResizeInput {};
struct QuitInput {};

using HostEvent = std::variant<TouchInput, OrientationInput, RotateInput, CancelTouchesInput, KeyInput,
                               ScrollInput, FullScreenInput, ResizeInput, QuitInput>;

class Host {
public:
    virtual ~Host() = default;

    // Shows a device screen of `size` points (the window keeps its size; the screen is fitted).
    virtual void showScreen(CGSize size) = 0;
    // Whose size the screens shown from now on have. For ScreenFit::Window the window opens at the
    // first screen's size in points and follows the screen only when the device turns (its sides
    // swap); the loop reads windowSize() after each ResizeInput. Told before the first showScreen.
    virtual void setScreenFit(ScreenFit /*fit*/) {}
    // The window's size in points (the desktop's coordinates, before any HiDPI scaling); nothing
    // where there is no window.
    [[nodiscard]] virtual std::optional<CGSize> windowSize() const { return std::nullopt; }
    // Pixels per point at which the screen is drawn to fill the window exactly.
    [[nodiscard]] virtual float displayScale() const = 0;
    // Shows `screen`, drawn at displayScale(), in the window.
    virtual void present(const Image& screen) = 0;
    // Where the window lends its own pixels: `draw` draws the screen of `size` points at
    // displayScale() straight into them, and the host shows them, with no screen image of the
    // caller's and no copy. False, with nothing drawn, where it does not (no window surface of a
    // format the drawing uses, or a screen that does not fit in it): the caller draws into an
    // image of its own and present()s that. The image handed to `draw` is valid during the call only.
    virtual bool drawScreenInPlace(CGSize /*size*/, const std::function<void(Image&)>& /*draw*/)
    {
        return false;
    }
    // Sleeps until an event arrives (returned) or the deadline on now()'s clock passes (nothing).
    virtual std::optional<HostEvent> waitEvent(std::optional<double> deadline) = 0;
    // An event already waiting, without sleeping.
    virtual std::optional<HostEvent> pollEvent() = 0;
    // Seconds on a monotonic clock.
    [[nodiscard]] virtual double now() const = 0;
    // Seconds between two frames of the display.
    [[nodiscard]] virtual double frameInterval() const = 0;
    // False when the URL could not be handed to a browser.
    virtual bool openURL(const std::string& url) = 0;
    // Switches the window between full screen and its own size; does nothing without a window.
    virtual void toggleFullScreen() {}
    // Shows the mouse pointer over the window in the screen's tint (the system's own pointer by
    // day); does nothing where there is no pointer.
    virtual void setPointerTint(ScreenTint /*tint*/) {}
    // Makes a waitEvent under way on the loop's thread return soon, with or without an event.
    // Safe to call from any thread; the one thing the host offers other threads.
    virtual void interruptWait() {}

protected:
    Host() = default;
    Host(const Host&) = default;
    Host& operator=(const Host&) = default;
};

} // namespace dazed
