#include "platform/ui/TouchDispatcher.h"

#include "platform/ui/UIView.h"

#include <algorithm>

namespace dazed {

void TouchDispatcher::dispatch(const TouchInput& input, double now, UIView* window)
{
    std::vector<std::shared_ptr<UITouch>> changed;
    for (const auto& change : input.changes) {
        auto it = std::find_if(m_active.begin(), m_active.end(),
                               [&](const Active& a) { return a.id == change.id; });
        if (change.phase == UITouchPhase::Began) {
            if (it != m_active.end() || !window)
                continue; // a finger cannot go down twice; without a window nothing can be touched
            UIView* hit = change.pinchPartnerOf
                              ? viewOfFinger(*change.pinchPartnerOf)
                              : window->hitTest(window->convertPointFromScreen(change.location));
            if (!hit)
                continue;
            const bool others = !m_active.empty();
            const int taps =
                input.tapCount > 0 ? input.tapCount : m_taps.touchBegan(change.location, now, others);
            auto touch = std::make_shared<UITouch>(change.location, now, taps);
            touch->setView(hit->shared_from_this());
            if (others)
                for (auto& a : m_active)
                    a.severalFingers = true;
            m_active.push_back({change.id, touch, change.location, others});
            changed.push_back(touch);
            continue;
        }
        if (it == m_active.end())
            continue; // the finger's touch-down was never delivered
        // A cancelled finger may come without a place (the host no longer knows it): it stays
        // where it was last seen.
        const CGPoint location =
            change.phase == UITouchPhase::Cancelled ? it->touch->screenLocation() : change.location;
        it->touch->update(change.phase, location, now);
        if (std::find(changed.begin(), changed.end(), it->touch) == changed.end())
            changed.push_back(it->touch);
    }
    if (changed.empty())
        return;

    std::vector<std::shared_ptr<UITouch>> all;
    for (auto& a : m_active) {
        if (std::find(changed.begin(), changed.end(), a.touch) == changed.end())
            a.touch->update(UITouchPhase::Stationary, a.touch->screenLocation(), a.touch->timestamp());
        all.push_back(a.touch);
    }
    const UIEvent event(UITouchSet(std::move(all)), now);

    // Fingers that lifted leave the active list before delivery, so that a handler that looks at
    // the dispatcher sees the state after this event; the event itself still holds them.
    for (auto it = m_active.begin(); it != m_active.end();) {
        const UITouchPhase phase = it->touch->phase();
        if (phase == UITouchPhase::Ended || phase == UITouchPhase::Cancelled) {
            m_taps.touchEnded(it->downLocation, it->touch->screenLocation(), now,
                              phase == UITouchPhase::Ended && !it->severalFingers ? it->touch->tapCount()
                                                                                  : 0);
            it = m_active.erase(it);
        } else {
            ++it;
        }
    }
    deliver(changed, event);
}

UIView* TouchDispatcher::viewOfFinger(std::int64_t id) const
{
    const auto it =
        std::find_if(m_active.begin(), m_active.end(), [&](const Active& a) { return a.id == id; });
    return it == m_active.end() ? nullptr : it->touch->view();
}

void TouchDispatcher::cancelAll(double now)
{
    std::vector<std::shared_ptr<UITouch>> changed;
    std::vector<std::shared_ptr<UITouch>> all;
    for (auto& a : m_active) {
        a.touch->update(UITouchPhase::Cancelled, a.touch->screenLocation(), now);
        changed.push_back(a.touch);
        all.push_back(a.touch);
    }
    m_active.clear();
    if (!changed.empty())
        deliver(changed, UIEvent(UITouchSet(std::move(all)), now));
    m_taps.touchEnded({}, {}, now, 0);
}

void TouchDispatcher::deliver(const std::vector<std::shared_ptr<UITouch>>& changed, const UIEvent& event)
{
    // One call per phase and view, in the order: began, moved, ended, cancelled. Views are kept
    // alive for the call: a handler may take its own view out of the tree.
    for (UITouchPhase phase :
         {UITouchPhase::Began, UITouchPhase::Moved, UITouchPhase::Ended, UITouchPhase::Cancelled}) {
        std::vector<std::shared_ptr<UIView>> views;
        for (const auto& t : changed) {
            if (t->phase() != phase || !t->view())
                continue;
            auto v = t->view()->shared_from_this();
            if (std::find(views.begin(), views.end(), v) == views.end())
                views.push_back(v);
        }
        for (const auto& v : views) {
            std::vector<std::shared_ptr<UITouch>> mine;
            for (const auto& t : changed)
                if (t->phase() == phase && t->view() == v.get())
                    mine.push_back(t);
            const UITouchSet set(std::move(mine));
            switch (phase) {
            case UITouchPhase::Began:
                v->touchesBegan(set, event);
                break;
            case UITouchPhase::Moved:
                v->touchesMoved(set, event);
                break;
            case UITouchPhase::Ended:
                v->touchesEnded(set, event);
                break;
            case UITouchPhase::Cancelled:
                v->touchesCancelled(set, event);
                break;
            case UITouchPhase::Stationary:
                break;
            }
        }
    }
}

} // namespace dazed
