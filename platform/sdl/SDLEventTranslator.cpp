#include "platform/sdl/SDLEventTranslator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace dazed {

void SDLEventTranslator::setGeometry(int windowWidth, int windowHeight, int pixelWidth, int pixelHeight,
                                     CGSize screen)
{
    m_windowWidth = std::max(1, windowWidth);
    m_windowHeight = std::max(1, windowHeight);
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
// screen centre, so that a drag is a pinch. The twin is only there to pinch with the mouse's
// finger: it is marked as its partner and goes where the mouse's finger goes, never to a control
// that happens to lie under the mirrored point (the info button opposite the readout).
void SDLEventTranslator::addMouseFingers(TouchInput& input, UITouchPhase phase, CGPoint p) const
{
    input.changes.push_back({kMouseFinger, phase, p});
    if (m_pinching)
        input.changes.push_back({kMirrorFinger, phase, mirrored(p), kMouseFinger});
}

bool SDLEventTranslator::isInsideWindow(int x, int y) const
{
    return x >= 0 && y >= 0 && x < m_windowWidth && y < m_windowHeight;
}

std::optional<HostEvent> SDLEventTranslator::cancelMouseFingers(CGPoint p)
{
    TouchInput input;
    addMouseFingers(input, UITouchPhase::Cancelled, p);
    m_mouseDown = false;
    m_pinching = false;
    return input;
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
        // The button was let go where no release reached the window.
        if ((event.motion.state & SDL_BUTTON_LMASK) == 0)
            return cancelMouseFingers(p);
        TouchInput input;
        addMouseFingers(input, UITouchPhase::Moved, p);
        return input;
    }
    case SDL_MOUSEBUTTONUP: {
        if (event.button.button != SDL_BUTTON_LEFT || !m_mouseDown)
            return std::nullopt;
        const CGPoint p =
            pointForWindow(static_cast<float>(event.button.x), static_cast<float>(event.button.y));
        // A finger cannot lift off the screen somewhere beside it: released outside the window,
        // the drag is abandoned rather than finished there.
        if (!isInsideWindow(event.button.x, event.button.y))
            return cancelMouseFingers(p);
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
    case SDL_FINGERUP:
        return translateFinger(event);
    case SDL_MOUSEWHEEL: {
        if (event.wheel.which == SDL_TOUCH_MOUSEID)
            return std::nullopt;
        float dy = event.wheel.preciseY;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            dy = -dy;
        if (dy == 0)
            return std::nullopt;
        return ScrollInput{
            pointForWindow(static_cast<float>(event.wheel.mouseX), static_cast<float>(event.wheel.mouseY)),
            dy};
    }
    case SDL_KEYDOWN:
        return translateKey(event);
    case SDL_APP_WILLENTERBACKGROUND:
        m_mouseDown = false;
        m_pinching = false;
        m_fingersDown.clear();
        return CancelTouchesInput{};
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
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Another window takes the input: no release of anything held here will arrive.
            m_mouseDown = false;
            m_pinching = false;
            m_fingersDown.clear();
            return CancelTouchesInput{};
        default:
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

std::optional<HostEvent> SDLEventTranslator::translateFinger(const SDL_Event& event)
{
    UITouchPhase phase = event.type == SDL_FINGERDOWN ? UITouchPhase::Began
                         : event.type == SDL_FINGERUP ? UITouchPhase::Ended
                                                      : UITouchPhase::Moved;
    const auto finger = std::make_pair(event.tfinger.touchId, event.tfinger.fingerId);
    // A driver's place that is not a number would make the centre not a number for good: such a
    // finger is not begun or moved, and lifted as cancelled, where the framework keeps its last place.
    if (!std::isfinite(event.tfinger.x) || !std::isfinite(event.tfinger.y)) {
        if (phase != UITouchPhase::Ended ||
            std::find(m_fingersDown.begin(), m_fingersDown.end(), finger) == m_fingersDown.end())
            return std::nullopt;
        phase = UITouchPhase::Cancelled;
    }
    if (phase == UITouchPhase::Began)
        m_fingersDown.push_back(finger);
    else if (phase == UITouchPhase::Ended || phase == UITouchPhase::Cancelled)
        std::erase(m_fingersDown, finger);
    // Finger positions are fractions of the window.
    const CGPoint p = phase == UITouchPhase::Cancelled
                          ? CGPoint{}
                          : m_box.pointForPixel(event.tfinger.x * static_cast<float>(m_pixelWidth),
                                                event.tfinger.y * static_cast<float>(m_pixelHeight));
    TouchInput input;
    input.changes.push_back({touchIdentifier(event.tfinger.touchId, event.tfinger.fingerId), phase, p});
    return input;
}

std::optional<HostEvent> SDLEventTranslator::cancelLostFingers(const FingerIsDown& isDown)
{
    TouchInput input;
    for (auto it = m_fingersDown.begin(); it != m_fingersDown.end();) {
        if (isDown(it->first, it->second)) {
            ++it;
            continue;
        }
        // Where the finger was last is not known here; the framework keeps the touch's last place.
        input.changes.push_back({touchIdentifier(it->first, it->second), UITouchPhase::Cancelled, {}});
        it = m_fingersDown.erase(it);
    }
    if (input.changes.empty())
        return std::nullopt;
    return input;
}

std::optional<HostEvent> SDLEventTranslator::translateKey(const SDL_Event& event)
{
    const SDL_Keycode sym = event.key.keysym.sym;
    const Uint16 mod = event.key.keysym.mod;
    const bool ctrl = (mod & KMOD_CTRL) != 0;
    if (ctrl && sym == SDLK_LEFT)
        return RotateInput{RotationDirection::Left};
    if (ctrl && sym == SDLK_RIGHT)
        return RotateInput{RotationDirection::Right};
    if (ctrl && sym == SDLK_q)
        return QuitInput{};
    if (sym == SDLK_F11)
        return event.key.repeat ? std::nullopt : std::optional<HostEvent>(FullScreenInput{});

    UIKey key;
    key.isRepeat = event.key.repeat != 0;
    key.modifierFlags = ((mod & KMOD_SHIFT) ? UIKeyModifierShift : 0u) | (ctrl ? UIKeyModifierControl : 0u) |
                        ((mod & KMOD_ALT) ? UIKeyModifierAlternate : 0u);
    switch (sym) {
    case SDLK_LEFT:
        key.code = UIKeyCode::LeftArrow;
        break;
    case SDLK_RIGHT:
        key.code = UIKeyCode::RightArrow;
        break;
    case SDLK_UP:
        key.code = UIKeyCode::UpArrow;
        break;
    case SDLK_DOWN:
        key.code = UIKeyCode::DownArrow;
        break;
    case SDLK_ESCAPE:
        key.code = UIKeyCode::Escape;
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        key.code = UIKeyCode::Return;
        break;
    case SDLK_BACKSPACE:
        key.code = UIKeyCode::Backspace;
        break;
    // The slash opens the list of names; a space is typed into its filter.
    case SDLK_SLASH:
    case SDLK_KP_DIVIDE:
        key.code = UIKeyCode::Character;
        key.character = '/';
        break;
    case SDLK_SPACE:
        key.code = UIKeyCode::Character;
        key.character = ' ';
        break;
    // "+" shares its key with "=" on most layouts; either zooms in, with or without Shift.
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS:
        key.code = UIKeyCode::Character;
        key.character = '+';
        break;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
        key.code = UIKeyCode::Character;
        key.character = '-';
        break;
    // Square brackets, and with Shift the braces that share their keys.
    case SDLK_LEFTBRACKET:
        key.code = UIKeyCode::Character;
        key.character = (mod & KMOD_SHIFT) ? '{' : '[';
        break;
    case SDLK_RIGHTBRACKET:
        key.code = UIKeyCode::Character;
        key.character = (mod & KMOD_SHIFT) ? '}' : ']';
        break;
    default:
        // Letters and digits as the keyboard layout names them, in lower case.
        if ((sym >= SDLK_a && sym <= SDLK_z) || (sym >= SDLK_0 && sym <= SDLK_9)) {
            key.code = UIKeyCode::Character;
            key.character = static_cast<char>(sym);
            break;
        }
        return std::nullopt;
    }
    return KeyInput{key};
}

std::int64_t touchIdentifier(SDL_TouchID touchId, SDL_FingerID fingerId)
{
    // Finger ids are small per device; fold the device in so two devices never share an id.
    // Negative ids belong to the mouse.
    const std::int64_t id = (static_cast<std::int64_t>(touchId) << 16) ^ static_cast<std::int64_t>(fingerId);
    return id & INT64_MAX;
}

} // namespace dazed
