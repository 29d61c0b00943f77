#include "platform/ui/UIControl.h"

namespace dazed {

void UIControl::addTarget(std::function<void()> action, unsigned events)
{
    if (action && events)
        m_targets.push_back({std::move(action), events});
}

void UIControl::sendActionsForControlEvents(unsigned events)
{
    // An action may add targets or release this control's last owner: run from a copy, and keep
    // the control alive meanwhile when it is shared.
    const auto keep = weak_from_this().lock();
    const std::vector<Target> targets = m_targets;
    for (const auto& t : targets)
        if (t.events & events)
            t.action();
}

void UIControl::setContentHorizontalAlignment(int alignment)
{
    m_alignment = alignment;
    setNeedsDisplay();
}

void UIControl::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    setNeedsDisplay();
}

void UIControl::touchesBegan(const UITouchSet& touches, const UIEvent&)
{
    m_tracking = true;
    setHighlighted(true);
    (void)touches;
    sendActionsForControlEvents(UIControlEventTouchDown);
}

void UIControl::touchesMoved(const UITouchSet& touches, const UIEvent&)
{
    if (auto* t = touches.anyObject(); t && m_tracking)
        setHighlighted(pointInside(t->locationInView(this)));
}

void UIControl::touchesEnded(const UITouchSet& touches, const UIEvent&)
{
    if (!m_tracking)
        return;
    m_tracking = false;
    setHighlighted(false);
    auto* t = touches.anyObject();
    const bool inside = t && pointInside(t->locationInView(this));
    sendActionsForControlEvents(inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside);
}

void UIControl::touchesCancelled(const UITouchSet&, const UIEvent&)
{
    m_tracking = false;
    setHighlighted(false);
}

} // namespace dazed
