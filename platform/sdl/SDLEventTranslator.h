#pragma once

// Turns SDL events into the framework's host events: fingers and the mouse into touches in
// device-screen points, Ctrl+Left/Right into quarter turns, display orientation into device
// orientation codes, window changes into a redisplay, and quitting.
//
// The mouse plays one finger: the left button is the finger, SDL's click count its tap count.
// With Alt held when the button goes down it plays two: the second finger mirrors the first about
// the screen's centre, so dragging pinches.

#include "platform/sdl/Letterbox.h"
#include "platform/ui/Host.h"

#include <SDL.h>
#include <optional>

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

private:
    [[nodiscard]] CGPoint pointForWindow(float x, float y) const;
    [[nodiscard]] CGPoint mirrored(CGPoint p) const;
    void addMouseFingers(TouchInput& input, UITouchPhase phase, CGPoint p) const;
    std::optional<HostEvent> translateMouse(const SDL_Event& event, SDL_Keymod modifiers);

    Letterbox m_box;
    float m_pixelsPerWindowX{1};
    float m_pixelsPerWindowY{1};
    int m_pixelWidth{1};
    int m_pixelHeight{1};
    bool m_mouseDown{false};
    bool m_pinching{false};
};

// SDL's display orientation as a device orientation code (0..4).
int deviceOrientationForDisplay(int sdlDisplayOrientation);

} // namespace dazed
