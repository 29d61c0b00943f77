#include "platform/sdl/SDLEventTranslator.h"

#include <algorithm>
#include <cstdint>

namespace dazed {

void SDLEventTranslator::setGeometry(int windowWidth, int windowHeight, int pixelWidth, int pixelHeight,
                                     CGSize screen)
{
    m_pixelWidth = std::max(1, pixelWidth);
    m_pixelHeight = std::max(1, pixelHeight);
    m_pixelsPerWindowX =
        windowWidth > 0 ? static_cast<float>(m_pixelWidth) / static_cast<float>(windowWidth) : 1.0f;
    m_pixelsPerWindowY =
        windowHeight > 0 ? static_cast<float>(m_pixelHeight) / static_cast<float>(windowHeight) : 1.0f;
    m_box = Letterbox::fit(m_pixelWidth, m_pixelHeight, screen);
}

CGPoint SDLEventTranslator::pointForWindow(float x, float y) const
{
    return m_box.pointForPixel(x * m_pixelsPerWindowX, y * m_pixelsPerWindowY);
}

CGPoint SDLEventTranslator::mirrored(CGPoint p) const
{
    return {m_box.screen.width - p.x, m_box.screen.height - p.y};
}

// The mouse is one finger; while Alt is held from the press it has a twin mirrored about the
// screen centre, so that a drag is a pinch.
void SDLEventTranslator::addMouseFingers(TouchInput& input, UITouchPhase phase, CGPoint p) const
{
    input.changes.push_back({kMouseFinger, phase, p});
    if (m_pinching)
        input.changes.push_back({kMirrorFinger, phase, mirrored(p)});
}

int deviceOrientationForDisplay(int sdlDisplayOrientation)
{
    switch (sdlDisplayOrientation) {
    case SDL_ORIENTATION_PORTRAIT:
        return 1;
    case SDL_ORIENTATION_PORTRAIT_FLIPPED:
        return 2;
    case SDL_ORIENTATION_LANDSCAPE: // the right side of portrait up: turned anticlockwise
        return 3;
    case SDL_ORIENTATION_LANDSCAPE_FLIPPED:
        return 4;
    default:
        return 0;
    }
}

std::optional<HostEvent> SDLEventTranslator::translateMouse(const SDL_Event& event, SDL_Keymod modifiers)
{
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN: {
        if (event.button.button != SDL_BUTTON_LEFT || m_mouseDown)
            return std::nullopt;
        const float px = static_cast<float>(event.button.x) * m_pixelsPerWindowX;
        const float py = static_cast<float>(event.button.y) * m_pixelsPerWindowY;
        if (!m_box.containsPixel(px, py))
            return std::nullopt; // a click on the bars touches nothing
        const CGPoint p = m_box.pointForPixel(px, py);
        m_mouseDown = true;
        m_pinching = (modifiers & KMOD_ALT) != 0;
        TouchInput input;
        input.tapCount = m_pinching ? 1 : std::max<int>(1, event.button.clicks);
        addMouseFingers(input, UITouchPhase::Began, p);
        return input;
    }
    case SDL_MOUSEMOTION: {
        if (!m_mouseDown)
            return std::nullopt;
        const CGPoint p =
            pointForWindow(static_cast<float>(event.motion.x), static_cast<float>(event.motion.y));
        TouchInput input;
        addMouseFingers(input, UITouchPhase::Moved, p);
        return input;
    }
    case SDL_MOUSEBUTTONUP: {
        if (event.button.button != SDL_BUTTON_LEFT || !m_mouseDown)
            return std::nullopt;
        const CGPoint p =
            pointForWindow(static_cast<float>(event.button.x), static_cast<float>(event.button.y));
        TouchInput input;
        addMouseFingers(input, UITouchPhase::Ended, p);
        m_mouseDown = false;
        m_pinching = false;
        return input;
    }
    default:
        return std::nullopt;
    }
}

std::optional<HostEvent> SDLEventTranslator::translate(const SDL_Event& event, SDL_Keymod modifiers)
{
    switch (event.type) {
    case SDL_QUIT:
        return QuitInput{};
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
        // Touch screens may still send mouse events for fingers; the finger events are used instead.
        if ((event.type == SDL_MOUSEMOTION ? event.motion.which : event.button.which) == SDL_TOUCH_MOUSEID)
            return std::nullopt;
        return translateMouse(event, modifiers);
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: {
        const UITouchPhase phase = event.type == SDL_FINGERDOWN ? UITouchPhase::Began
                                   : event.type == SDL_FINGERUP ? UITouchPhase::Ended
                                                                : UITouchPhase::Moved;
        // Finger positions are fractions of the window.
        const CGPoint p = m_box.pointForPixel(event.tfinger.x * static_cast<float>(m_pixelWidth),
                                              event.tfinger.y * static_cast<float>(m_pixelHeight));
        // Finger ids are small per device; fold the device in so two devices never share an id.
        const std::int64_t id = (static_cast<std::int64_t>(event.tfinger.touchId) << 16) ^
                                static_cast<std::int64_t>(event.tfinger.fingerId);
        TouchInput input;
        input.changes.push_back({id & INT64_MAX, phase, p}); // negative ids belong to the mouse
        return input;
    }
    case SDL_KEYDOWN:
        if ((event.key.keysym.mod & KMOD_CTRL) != 0) {
            if (event.key.keysym.sym == SDLK_LEFT)
                return RotateInput{RotationDirection::Left};
            if (event.key.keysym.sym == SDLK_RIGHT)
                return RotateInput{RotationDirection::Right};
        }
        return std::nullopt;
    case SDL_DISPLAYEVENT:
        if (event.display.event == SDL_DISPLAYEVENT_ORIENTATION)
            return OrientationInput{deviceOrientationForDisplay(event.display.data1)};
        return std::nullopt;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            return ResizeInput{};
        default:
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

} // namespace dazed
