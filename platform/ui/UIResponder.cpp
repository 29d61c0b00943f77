#include "platform/ui/UIResponder.h"

#include "platform/ui/UIApplication.h"
#include "platform/ui/UIView.h"

namespace dazed {

CGPoint UITouch::locationInView(const UIView* view) const
{
    return view ? view->convertPointFromScreen(m_location) : m_location;
}

CGPoint UITouch::previousLocationInView(const UIView* view) const
{
    return view ? view->convertPointFromScreen(m_previous) : m_previous;
}

void UITouch::update(UITouchPhase phase, CGPoint screenLocation, double timestamp)
{
    m_previous = m_location;
    m_location = screenLocation;
    m_phase = phase;
    m_timestamp = timestamp;
}

std::vector<UITouch*> UITouchSet::allObjects() const
{
    std::vector<UITouch*> out;
    out.reserve(m_touches.size());
    for (const auto& t : m_touches)
        out.push_back(t.get());
    return out;
}

UITouch* UITouchSet::objectAtIndex(std::size_t index) const
{
    return index < m_touches.size() ? m_touches[index].get() : nullptr;
}

void UIResponder::touchesBegan(const UITouchSet& touches, const UIEvent& event)
{
    if (auto* next = nextResponder())
        next->touchesBegan(touches, event);
}

void UIResponder::touchesMoved(const UITouchSet& touches, const UIEvent& event)
{
    if (auto* next = nextResponder())
        next->touchesMoved(touches, event);
}

void UIResponder::touchesEnded(const UITouchSet& touches, const UIEvent& event)
{
    if (auto* next = nextResponder())
        next->touchesEnded(touches, event);
}

void UIResponder::touchesCancelled(const UITouchSet& touches, const UIEvent& event)
{
    if (auto* next = nextResponder())
        next->touchesCancelled(touches, event);
}

UIResponder::~UIResponder()
{
    // The application must never hold on to a responder that is gone.
    auto& application = UIApplication::sharedApplication();
    if (application.firstResponder() == this)
        application.setFirstResponder(nullptr);
}

bool UIResponder::keyDown(const UIKey& key)
{
    auto* next = nextResponder();
    return next && next->keyDown(key);
}

bool UIResponder::scrollWheel(const UIScrollEvent& event)
{
    auto* next = nextResponder();
    return next && next->scrollWheel(event);
}

void UIResponder::becomeFirstResponder()
{
    UIApplication::sharedApplication().setFirstResponder(this);
}

bool UIResponder::isFirstResponder() const
{
    return UIApplication::sharedApplication().firstResponder() == this;
}

} // namespace dazed
