#include "StressEvents.h"

#include <array>
#include <climits>
#include <cstdio>
#include <limits>
#include <variant>

namespace dazed::stress {

Random::Random(std::uint64_t seed)
    : m_engine(seed)
{
}

std::uint64_t Random::bits()
{
    return m_engine();
}

std::uint64_t Random::below(std::uint64_t n)
{
    // Draws above the largest multiple of n are thrown away, so every remainder is equally likely.
    const std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t limit = max - max % n;
    for (;;) {
        const std::uint64_t x = m_engine();
        if (x < limit)
            return x % n;
    }
}

int Random::between(int lo, int hi)
{
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo) + 1;
    return static_cast<int>(lo + static_cast<std::int64_t>(below(span)));
}

double Random::unit()
{
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}

std::uint64_t sessionSeed(std::uint64_t runSeed, std::uint64_t session)
{
    // splitmix64 of the pair: neighbouring seeds and sessions give unrelated engines.
    std::uint64_t z = runSeed * 0x9E3779B97F4A7C15ull + session + 0x632BE59BD9B4E019ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

// The chance that the loop runs after an event: about twelve events to a turn of the loop, as when a
// 1 kHz input device feeds a 60 Hz display.
constexpr double kStepChance = 0.08;

const char* phaseName(UITouchPhase phase)
{
    switch (phase) {
    case UITouchPhase::Began:
        return "Began";
    case UITouchPhase::Moved:
        return "Moved";
    case UITouchPhase::Stationary:
        return "Stationary";
    case UITouchPhase::Ended:
        return "Ended";
    case UITouchPhase::Cancelled:
        return "Cancelled";
    }
    return "?";
}

std::string keyName(const UIKey& key)
{
    std::string s;
    switch (key.code) {
    case UIKeyCode::Character: {
        char buf[16];
        const int c = static_cast<unsigned char>(key.character);
        if (c >= 32 && c < 127)
            std::snprintf(buf, sizeof buf, "'%c'", static_cast<char>(c));
        else
            std::snprintf(buf, sizeof buf, "char %d", c);
        s = buf;
        break;
    }
    case UIKeyCode::LeftArrow:
        s = "left";
        break;
    case UIKeyCode::RightArrow:
        s = "right";
        break;
    case UIKeyCode::UpArrow:
        s = "up";
        break;
    case UIKeyCode::DownArrow:
        s = "down";
        break;
    case UIKeyCode::Escape:
        s = "escape";
        break;
    case UIKeyCode::Return:
        s = "return";
        break;
    case UIKeyCode::Backspace:
        s = "backspace";
        break;
    case UIKeyCode::Other:
        s = "other";
        break;
    }
    if (key.modifierFlags & UIKeyModifierShift)
        s += " shift";
    if (key.modifierFlags & UIKeyModifierControl)
        s += " ctrl";
    if (key.modifierFlags & UIKeyModifierAlternate)
        s += " alt";
    if (key.isRepeat)
        s += " repeat";
    return s;
}

std::string point(CGPoint p)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%.9g, %.9g)", static_cast<double>(p.x), static_cast<double>(p.y));
    return buf;
}

} // namespace

std::string describe(const StressEvent& e)
{
    std::string s;
    char buf[96];
    if (e.advance > 0) {
        std::snprintf(buf, sizeof buf, "after %.6f s: ", e.advance);
        s += buf;
    }
    if (e.scale) {
        std::snprintf(buf, sizeof buf, "scale %g, ", static_cast<double>(*e.scale));
        s += buf;
    }
    if (e.window) {
        std::snprintf(buf, sizeof buf, "window %.9g x %.9g, ", static_cast<double>(e.window->width),
                      static_cast<double>(e.window->height));
        s += buf;
    }
    std::visit(
        [&](const auto& ev) {
            using T = std::decay_t<decltype(ev)>;
            if constexpr (std::is_same_v<T, TouchInput>) {
                s += "touch";
                for (const auto& c : ev.changes)
                    s += " [id " + std::to_string(c.id) + " " + phaseName(c.phase) + " " + point(c.location) +
                         "]";
                s += " taps " + std::to_string(ev.tapCount);
            } else if constexpr (std::is_same_v<T, OrientationInput>) {
                s += "orientation " + std::to_string(ev.orientation);
            } else if constexpr (std::is_same_v<T, RotateInput>) {
                s += ev.direction == RotationDirection::Left ? "turn left" : "turn right";
            } else if constexpr (std::is_same_v<T, CancelTouchesInput>) {
                s += "cancel touches";
            } else if constexpr (std::is_same_v<T, KeyInput>) {
                s += "key " + keyName(ev.key);
            } else if constexpr (std::is_same_v<T, ScrollInput>) {
                std::snprintf(buf, sizeof buf, "scroll %.9g at ", static_cast<double>(ev.dy));
                s += buf + point(ev.location);
            } else if constexpr (std::is_same_v<T, FullScreenInput>) {
                s += "full screen";
            } else if constexpr (std::is_same_v<T, ResizeInput>) {
                s += "resize";
            } else if constexpr (std::is_same_v<T, QuitInput>) {
                s += "quit";
            }
        },
        e.event);
    if (!e.stepAfter)
        s += " (more waiting)";
    return s;
}

EventStream::EventStream(std::uint64_t seed)
    : m_random(seed)
{
}

CGPoint EventStream::anyPoint(CGSize screen)
{
    const double w = screen.width, h = screen.height;
    const std::uint64_t where = m_random.below(100);
    if (where < 72) // inside
        return {static_cast<float>(m_random.uniform(0, w)), static_cast<float>(m_random.uniform(0, h))};
    if (where < 84) {
        // On an edge or a corner, exactly or a fraction either side.
        const std::array<double, 6> xs{0, -0.5, 0.25, w, w - 0.25, w + 0.5};
        const std::array<double, 6> ys{0, -0.5, 0.25, h, h - 0.25, h + 0.5};
        const bool vertical = m_random.chance(0.5);
        const double x = vertical ? xs[m_random.below(xs.size())] : m_random.uniform(0, w);
        const double y =
            vertical && m_random.chance(0.6) ? m_random.uniform(0, h) : ys[m_random.below(ys.size())];
        return {static_cast<float>(x), static_cast<float>(y)};
    }
    if (where < 94) // just outside: a mouse dragged out of the window
        return {static_cast<float>(m_random.uniform(-100, w + 100)),
                static_cast<float>(m_random.uniform(-100, h + 100))};
    if (where < 99) // several screens away: a captured mouse on a large display
        return {static_cast<float>(m_random.uniform(-3 * w, 4 * w)),
                static_cast<float>(m_random.uniform(-3 * h, 4 * h))};
    return {static_cast<float>(m_random.uniform(-20000, 20000)),
            static_cast<float>(m_random.uniform(-20000, 20000))};
}

CGPoint EventStream::movedFrom(CGPoint p, CGSize screen)
{
    const std::uint64_t how = m_random.below(100);
    if (how < 55) // a small step
        return {p.x + static_cast<float>(m_random.uniform(-15, 15)),
                p.y + static_cast<float>(m_random.uniform(-15, 15))};
    if (how < 75)
        return {p.x + static_cast<float>(m_random.uniform(-150, 150)),
                p.y + static_cast<float>(m_random.uniform(-150, 150))};
    if (how < 80)
        return p; // a move that goes nowhere
    return anyPoint(screen);
}

int EventStream::anyTapCount()
{
    // Mostly left to the framework's tap counting; sometimes the host knows (a mouse's click count).
    if (m_random.chance(0.7))
        return 0;
    return m_random.between(1, 4);
}

HostEvent EventStream::anyKey()
{
    UIKey key;
    const std::uint64_t which = m_random.below(100);
    if (which < 40) {
        const std::array<UIKeyCode, 12> codes{
            UIKeyCode::LeftArrow, UIKeyCode::RightArrow, UIKeyCode::UpArrow, UIKeyCode::DownArrow,
            UIKeyCode::LeftArrow, UIKeyCode::RightArrow, UIKeyCode::UpArrow, UIKeyCode::DownArrow,
            UIKeyCode::Escape,    UIKeyCode::Other,      UIKeyCode::Return,  UIKeyCode::Backspace};
        key.code = codes[m_random.below(codes.size())];
    } else {
        key.code = UIKeyCode::Character;
        const std::uint64_t c = m_random.below(100);
        if (c < 60) {
            const char steering[] = "ll+-+-iL=_Itn[]{}h//r";
            key.character = steering[m_random.below(sizeof steering - 1)];
        } else if (c < 90) {
            key.character = static_cast<char>(m_random.between(32, 126));
        } else {
            key.character = static_cast<char>(m_random.between(CHAR_MIN, CHAR_MAX)); // controls, high bytes
        }
    }
    if (m_random.chance(0.25)) {
        const std::array<unsigned, 3> flags{UIKeyModifierShift, UIKeyModifierControl, UIKeyModifierAlternate};
        key.modifierFlags = flags[m_random.below(3)];
        if (m_random.chance(0.3))
            key.modifierFlags |= flags[m_random.below(3)];
    }
    key.isRepeat = m_random.chance(0.2);
    return KeyInput{key};
}

CGSize EventStream::anyWindow()
{
    const auto side = [this]() -> float {
        const std::uint64_t which = m_random.below(100);
        if (which < 15)
            return static_cast<float>(m_random.between(0, 60)); // shrunk to almost nothing
        if (which < 90)
            return static_cast<float>(m_random.uniform(200, 1600));
        if (which < 94)
            return static_cast<float>(m_random.uniform(1600, 100000));
        const std::array<float, 4> odd{-1.0f, std::numeric_limits<float>::quiet_NaN(),
                                       std::numeric_limits<float>::infinity(), 1e30f};
        return odd[m_random.below(odd.size())];
    };
    const float w = side();
    return {w, side()};
}

double EventStream::anyAdvance()
{
    const std::uint64_t how = m_random.below(100);
    if (how < 35)
        return 0;
    if (how < 80)
        return m_random.uniform(0, 0.02); // within a refresh or two
    if (how < 95)
        return m_random.uniform(0.02, 0.5); // a pause; double taps end
    return m_random.uniform(0.5, 1.6);      // a flip's length either side
}

void EventStream::makeTap(CGPoint p, int tapCount, std::int64_t id)
{
    m_pending.push_back(TouchInput{{{id, UITouchPhase::Began, p}}, tapCount});
    if (m_random.chance(0.3))
        m_pending.push_back(TouchInput{{{id, UITouchPhase::Moved, movedFrom(p, {40, 40})}}, tapCount});
    m_pending.push_back(TouchInput{
        {{id, m_random.chance(0.95) ? UITouchPhase::Ended : UITouchPhase::Cancelled, p}}, tapCount});
}

void EventStream::makeHold(const Targets& t)
{
    // Mostly on a screen with no other finger down, where a hold is a hold: the others lift first.
    if (!m_fingers.empty() && m_random.chance(0.8)) {
        TouchInput lift;
        for (const Finger& f : m_fingers)
            lift.changes.push_back({f.id, UITouchPhase::Ended, f.at});
        m_pending.push_back(std::move(lift));
        m_fingers.clear();
    }
    // The mouse's id when no finger is down: the desktop's held button.
    const std::int64_t id = m_fingers.empty() && m_random.chance(0.5) ? -1 : m_nextId++;
    const CGPoint p = m_random.chance(0.85)
                          ? CGPoint{static_cast<float>(m_random.uniform(0, t.screen.width)),
                                    static_cast<float>(m_random.uniform(0, t.screen.height))}
                          : anyPoint(t.screen);
    m_pending.push_back(Pending(TouchInput{{{id, UITouchPhase::Began, p}}, 0}, 0.0));
    // Held a little short of the hold's half second, or past it; still, or wobbling a few points.
    const double held = m_random.chance(0.2) ? m_random.uniform(0.3, 0.5) : m_random.uniform(0.5, 1.2);
    const CGPoint wobble{p.x + static_cast<float>(m_random.uniform(-4, 4)),
                         p.y + static_cast<float>(m_random.uniform(-4, 4))};
    m_pending.push_back(Pending(TouchInput{{{id, UITouchPhase::Moved, wobble}}, 0}, held));
    if (m_random.chance(0.3)) // the held finger goes on to drag
        m_pending.push_back(TouchInput{{{id, UITouchPhase::Moved, movedFrom(p, t.screen)}}, 0});
    m_pending.push_back(
        TouchInput{{{id, m_random.chance(0.95) ? UITouchPhase::Ended : UITouchPhase::Cancelled, wobble}}, 0});
}

void EventStream::makeControlTap(const Targets& t)
{
    std::vector<CGPoint> aims;
    for (const auto& aim : {t.infoButton, t.doneButton, t.webButton, t.storeButton, t.findDone})
        if (aim)
            aims.push_back(*aim);
    // The open menu's items and the list's rows are aimed at far more often than anything else.
    for (const CGPoint& item : t.menuItems)
        for (int i = 0; i < 3; ++i)
            aims.push_back(item);
    if (const auto& list = t.nameList)
        for (int i = 0; i < 6; ++i)
            aims.push_back({static_cast<float>(m_random.uniform(list->minX(), list->maxX())),
                            static_cast<float>(m_random.uniform(list->minY(), list->maxY()))});
    if (aims.empty())
        return;
    CGPoint p = aims[m_random.below(aims.size())];
    if (m_random.chance(0.3)) // near it, maybe just off it
        p = {p.x + static_cast<float>(m_random.uniform(-30, 30)),
             p.y + static_cast<float>(m_random.uniform(-30, 30))};
    // The mouse's id when no finger is down: the desktop's click.
    makeTap(p, m_random.chance(0.5) ? 0 : 1, m_fingers.empty() && m_random.chance(0.5) ? -1 : m_nextId++);
}

void EventStream::makeTouch(const Targets& t)
{
    const CGSize screen = t.screen;
    TouchInput input;
    input.tapCount = anyTapCount();
    const std::uint64_t what = m_random.below(100);
    if (what < 25 && m_fingers.size() < 3) {
        // A finger goes down; now and then two at once.
        const int count = m_fingers.size() < 2 && m_random.chance(0.2) ? 2 : 1;
        for (int i = 0; i < count; ++i) {
            const Finger f{m_nextId++, anyPoint(screen)};
            m_fingers.push_back(f);
            input.changes.push_back({f.id, UITouchPhase::Began, f.at});
        }
    } else if (what < 75 && !m_fingers.empty()) {
        // Fingers move: one, or all of them together (a pinch, a three-finger swipe).
        const bool all = m_random.chance(0.5);
        const std::size_t one = m_random.below(m_fingers.size());
        for (std::size_t i = 0; i < m_fingers.size(); ++i) {
            if (!all && i != one)
                continue;
            m_fingers[i].at = movedFrom(m_fingers[i].at, screen);
            input.changes.push_back({m_fingers[i].id, UITouchPhase::Moved, m_fingers[i].at});
        }
    } else if (what < 93 && !m_fingers.empty()) {
        // Fingers lift, or the system takes one away.
        const bool all = m_random.chance(0.3);
        const UITouchPhase phase = m_random.chance(0.9) ? UITouchPhase::Ended : UITouchPhase::Cancelled;
        const std::size_t one = m_random.below(m_fingers.size());
        std::vector<Finger> kept;
        for (std::size_t i = 0; i < m_fingers.size(); ++i) {
            if (all || i == one)
                input.changes.push_back({m_fingers[i].id, phase, m_fingers[i].at});
            else
                kept.push_back(m_fingers[i]);
        }
        m_fingers = std::move(kept);
    } else {
        // What a host should never send, but a buggy or racing one might: a finger moving or
        // lifting that never went down, a finger going down twice, a stationary report, a change
        // without any finger.
        const std::uint64_t stray = m_random.below(5);
        const std::int64_t id = !m_fingers.empty() && stray == 1
                                    ? m_fingers[m_random.below(m_fingers.size())].id
                                    : 100000 + m_random.between(0, 3);
        const std::array<UITouchPhase, 5> phases{UITouchPhase::Moved, UITouchPhase::Began,
                                                 UITouchPhase::Ended, UITouchPhase::Stationary,
                                                 UITouchPhase::Cancelled};
        if (stray < 4)
            input.changes.push_back({id, phases[m_random.below(phases.size())], anyPoint(screen)});
    }
    m_pending.push_back(std::move(input));
}

StressEvent EventStream::next(const Targets& t)
{
    StressEvent e;
    e.advance = anyAdvance();
    e.stepAfter = m_random.chance(kStepChance);
    if (!m_pending.empty()) {
        e.event = m_pending.front().event;
        if (const auto after = m_pending.front().advance) {
            // A wait the sequence fixes is one the loop sleeps through: it wakes at its deadlines
            // on the way (a hold's), as the window's loop does, instead of finding the events of
            // the whole wait already queued.
            e.advance = *after;
            e.stepAfter = true;
        }
        m_pending.pop_front();
        return e;
    }
    const std::uint64_t kind = m_random.below(1000);
    if (kind < 620) {
        makeTouch(t);
    } else if (kind < 640) {
        makeHold(t);
    } else if (kind < 660) {
        // A click, a double or triple click, anywhere.
        const CGPoint p = anyPoint(t.screen);
        const int taps = m_random.between(1, 3);
        for (int i = 1; i <= taps; ++i)
            makeTap(p, m_random.chance(0.5) ? i : 0, -1);
    } else if (kind < 675) {
        makeControlTap(t);
    } else if (kind < 760) {
        float dy = 0;
        const std::uint64_t how = m_random.below(100);
        if (how < 50)
            dy = m_random.chance(0.5) ? 1.0f : -1.0f;
        else if (how < 80)
            dy = static_cast<float>(m_random.uniform(-3, 3));
        else if (how < 95)
            dy = static_cast<float>(m_random.uniform(-0.05, 0.05));
        else
            dy = static_cast<float>(m_random.uniform(-1000, 1000));
        m_pending.push_back(ScrollInput{anyPoint(t.screen), dy});
    } else if (kind < 860) {
        m_pending.push_back(anyKey());
    } else if (kind < 895) {
        const std::array<int, 6> odd{-1, 7, 8, 100, INT_MIN, INT_MAX};
        m_pending.push_back(OrientationInput{m_random.chance(0.93) ? m_random.between(0, 6)
                                                                   : odd[m_random.below(odd.size())]});
    } else if (kind < 930) {
        m_pending.push_back(
            RotateInput{m_random.chance(0.5) ? RotationDirection::Left : RotationDirection::Right});
    } else if (kind < 950) {
        // The window lost the focus: the host cancels every finger, and forgets them.
        m_pending.push_back(CancelTouchesInput{});
        m_fingers.clear();
    } else if (kind < 960) {
        m_pending.push_back(FullScreenInput{});
    } else {
        const std::array<float, 5> scales{1.0f, 2.0f, 0.5f, 1.5f, 2.0f / 3.0f};
        if (m_random.chance(0.5))
            e.scale = scales[m_random.below(scales.size())];
        if (m_random.chance(0.5))
            e.window = anyWindow();
        m_pending.push_back(ResizeInput{});
    }
    if (m_pending.empty()) // a control tap with no control to aim at
        m_pending.push_back(ResizeInput{});
    e.event = m_pending.front().event;
    if (const auto after = m_pending.front().advance)
        e.advance = *after;
    m_pending.pop_front();
    return e;
}

} // namespace dazed::stress
