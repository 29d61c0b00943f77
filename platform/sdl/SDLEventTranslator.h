#pragma once

// Turns SDL events into the framework's host events: fingers and the mouse into touches in
// device-screen points, Ctrl+Left/Right into quarter turns, display orientation into device
// orientation codes, window changes into a redisplay, and quitting.
//
// The mouse plays one finger: the left button is the finger, SDL's click count its tap count.
// With Alt held when the button goes down it plays two: the second finger mirrors the first about
// the screen's centre, so dragging pinches; it is the first one's pinch partner, delivered only
// where the first one goes. A button released outside the window, or lost altogether, cancels the
// mouse's fingers instead of lifting them; losing the keyboard focus cancels every finger.
//
// Keys: Ctrl+Left/Right turn the device, Ctrl+Q quits, F11 asks for full screen; arrows, Escape and
// characters go to the application as key presses. The wheel scrolls where the pointer is.

#include "platform/sdl/Letterbox.h"
#include "platform/ui/Host.h"

#include <SDL.h>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace dazed {

class SDLEventTranslator {
public:
    static constexpr std::int64_t kMouseFinger = -1;
    static constexpr std::int64_t kMirrorFinger = -2;

    // Window size in SDL window coordinates (what mouse events use) and in pixels (what the
    // picture uses; larger on HiDPI displays), and the device screen as turned.
    void setGeometry(int windowWidth, int windowHeight, int pixelWidth, int pixelHeight, CGSize screen);
    [[nodiscard]] const Letterbox& letterbox() const { return m_box; }

    // `modifiers` is the keyboard state when the event happened (SDL_GetModState()).
    std::optional<HostEvent> translate(const SDL_Event& event, SDL_Keymod modifiers);

    // SDL 2 has no event for a finger the system took away: its lift is simply never sent. Once
    // every queued event has been handled, the host asks SDL which fingers are still down; those
    // this translator believes down but SDL does not are cancelled here.
    using FingerIsDown = std::function<bool(SDL_TouchID, SDL_FingerID)>;
    std::optional<HostEvent> cancelLostFingers(const FingerIsDown& isDown);

private:
    [[nodiscard]] CGPoint pointForWindow(float x, float y) const;
    [[nodiscard]] CGPoint mirrored(CGPoint p) const;
    void addMouseFingers(TouchInput& input, UITouchPhase phase, CGPoint p) const;
    std::optional<HostEvent> translateMouse(const SDL_Event& event, SDL_Keymod modifiers);
    std::optional<HostEvent> translateFinger(const SDL_Event& event);
    std::optional<HostEvent> translateKey(const SDL_Event& event);
    std::optional<HostEvent> cancelMouseFingers(CGPoint p);
    [[nodiscard]] bool isInsideWindow(int x, int y) const;

    Letterbox m_box;
    float m_pixelsPerWindowX{1};
    float m_pixelsPerWindowY{1};
    int m_pixelWidth{1};
    int m_pixelHeight{1};
    int m_windowWidth{1};
    int m_windowHeight{1};
    bool m_mouseDown{false};
    bool m_pinching{false};
    std::vector<std::pair<SDL_TouchID, SDL_FingerID>> m_fingersDown;
};

// The framework's touch id of an SDL finger (never negative).
std::int64_t touchIdentifier(SDL_TouchID touchId, SDL_FingerID fingerId);

// SDL's display orientation as a device orientation code (0..4).
int deviceOrientationForDisplay(int sdlDisplayOrientation);

} // namespace dazed
