#pragma once

// Recognises a hold: one finger (or the left mouse button) that goes down and stays still, within
// kAllowableMovement points of where it went down, for kMinimumPressDuration seconds on the host's
// clock. A hold that turns into a drag (the finger travels further first) or a pinch (a second
// finger comes down first) is no hold, and nor is one that begins or comes due while a flip runs.
//
// The controller whose touches these are feeds it every touch event it receives, as they come, and
// goes on handling them itself; the recogniser never takes touches away. From the moment the hold
// is recognised until every finger has lifted, hasRecognized() is true: the controller ignores that
// gesture's touches from then on, so that the hold itself sends nothing else.

#include "platform/graphics/Geometry.h"
#include "platform/ui/UIResponder.h"

#include <functional>
#include <memory>

namespace dazed {

class NSTimer;

class UILongPressGestureRecognizer {
public:
    // About half a second, the usual long press of touch systems.
    static constexpr double kMinimumPressDuration = 0.5; // seconds
    // A fingertip wobbles a few points while held; a drag travels further.
    static constexpr float kAllowableMovement = 10.0f; // points

    // `action` is called once per hold, with where the finger went down (screen points).
    explicit UILongPressGestureRecognizer(std::function<void(CGPoint)> action);
    ~UILongPressGestureRecognizer();
    UILongPressGestureRecognizer(const UILongPressGestureRecognizer&) = delete;
    UILongPressGestureRecognizer& operator=(const UILongPressGestureRecognizer&) = delete;

    // Whether a hold is recognised: off, nothing is waited for and nothing recognised.
    void setEnabled(bool enabled);
    [[nodiscard]] bool isEnabled() const { return m_enabled; }

    void touchesBegan(const UIEvent& event);
    void touchesMoved(const UIEvent& event);
    void touchesEnded(const UIEvent& event);
    void touchesCancelled(const UIEvent& event);

    // True from the hold being recognised until the last finger of its gesture lifts.
    [[nodiscard]] bool hasRecognized() const { return m_state == State::Recognized; }
    // True while a finger is held and the hold may yet come due.
    [[nodiscard]] bool isWaiting() const { return m_state == State::Possible; }

private:
    enum class State { Idle, Possible, Recognized, Failed };
    void fail();
    void fire();
    // After a touch-up or a cancel: when no finger remains, ready for the next gesture.
    void endIfAllLifted(const UIEvent& event);

    std::function<void(CGPoint)> m_action;
    bool m_enabled{true};
    State m_state{State::Idle};
    CGPoint m_start;
    std::shared_ptr<NSTimer> m_timer;
};

} // namespace dazed
