#include "platform/ui/UILongPressGestureRecognizer.h"

#include "platform/ui/NSTimer.h"
#include "platform/ui/UIViewAnimation.h"

#include <cmath>

namespace dazed {

namespace {

bool isLifted(const UITouch& touch)
{
    return touch.phase() == UITouchPhase::Ended || touch.phase() == UITouchPhase::Cancelled;
}

bool flipRuns()
{
    return UIViewAnimation::shared().isAnimating();
}

} // namespace

UILongPressGestureRecognizer::UILongPressGestureRecognizer(std::function<void(CGPoint)> action)
    : m_action(std::move(action))
{
}

UILongPressGestureRecognizer::~UILongPressGestureRecognizer()
{
    // The timer's action names this recogniser.
    if (m_timer)
        m_timer->invalidate();
}

void UILongPressGestureRecognizer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled && m_state == State::Possible)
        fail();
}

void UILongPressGestureRecognizer::touchesBegan(const UIEvent& event)
{
    const UITouchSet& all = event.allTouches();
    if (m_state == State::Idle) {
        // Only a single finger coming down on an empty screen starts a hold.
        const UITouch* only = all.count() == 1 ? all.objectAtIndex(0) : nullptr;
        if (!m_enabled || !only || only->phase() != UITouchPhase::Began || flipRuns()) {
            m_state = State::Failed;
            endIfAllLifted(event);
            return;
        }
        m_state = State::Possible;
        m_start = only->screenLocation();
        if (m_timer)
            m_timer->invalidate();
        m_timer = NSTimer::scheduledTimerWithTimeInterval(kMinimumPressDuration, [this] { fire(); });
        return;
    }
    // A second finger: a pinch, not a hold.
    if (m_state == State::Possible)
        fail();
}

void UILongPressGestureRecognizer::touchesMoved(const UIEvent& event)
{
    if (m_state != State::Possible)
        return;
    const UITouch* finger = event.allTouches().objectAtIndex(0);
    if (!finger || event.allTouches().count() != 1) {
        fail();
        return;
    }
    const CGPoint p = finger->screenLocation();
    if (std::hypot(p.x - m_start.x, p.y - m_start.y) > kAllowableMovement)
        fail();
}

void UILongPressGestureRecognizer::touchesEnded(const UIEvent& event)
{
    if (m_state == State::Possible)
        fail();
    endIfAllLifted(event);
}

void UILongPressGestureRecognizer::touchesCancelled(const UIEvent& event)
{
    if (m_state == State::Possible)
        fail();
    endIfAllLifted(event);
}

void UILongPressGestureRecognizer::fail()
{
    m_state = State::Failed;
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
}

void UILongPressGestureRecognizer::fire()
{
    m_timer.reset();
    if (m_state != State::Possible)
        return;
    // The screen turning over beneath the finger is no place to open anything.
    if (flipRuns()) {
        m_state = State::Failed;
        return;
    }
    m_state = State::Recognized;
    if (m_action)
        m_action(m_start);
}

void UILongPressGestureRecognizer::endIfAllLifted(const UIEvent& event)
{
    for (const UITouch* touch : event.allTouches().allObjects())
        if (!isLifted(*touch))
            return;
    m_state = State::Idle;
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
}

} // namespace dazed
