#pragma once

// One-shot timers on the host's clock, for the framework's own gestures and motion (a hold, a list
// that glides on after a fling). Unlike the application's single wake-up, any number can wait at
// once: the event loop sleeps until the earliest and fires those that are due before the display
// cycle. A timer fires once; its holder keeps the handle to invalidate it early.

#include <functional>
#include <memory>

namespace dazed {

class NSTimer {
public:
    // Fires `action` once, `seconds` from now on the attached host's clock. Without a host (no
    // loop), or with a delay that is not a number or negative, the timer is returned already
    // invalid and never fires.
    static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(double seconds,
                                                                   std::function<void()> action);

    // Stops the timer from firing; harmless on a timer that fired or was invalidated already.
    void invalidate();
    [[nodiscard]] bool isValid() const { return m_valid; }
    // When it fires, host clock seconds.
    [[nodiscard]] double fireDate() const { return m_fireDate; }

    // Used by the application: runs the action once and invalidates the timer.
    void fire();

    NSTimer(double fireDate, std::function<void()> action)
        : m_fireDate(fireDate)
        , m_action(std::move(action))
        , m_valid(m_action != nullptr)
    {
    }

private:
    double m_fireDate;
    std::function<void()> m_action;
    bool m_valid;
};

} // namespace dazed
