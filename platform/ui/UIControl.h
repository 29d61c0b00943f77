#pragma once

// A view that turns touches into actions: an action registered for touch-up-inside runs when a
// finger lifts inside the control after going down in it.

#include "platform/ui/UIView.h"

#include <functional>
#include <vector>

namespace dazed {

enum UIControlEvents : unsigned {
    UIControlEventTouchDown = 1u << 0,
    UIControlEventTouchUpInside = 1u << 6,
    UIControlEventTouchUpOutside = 1u << 7,
};

enum UIControlState : unsigned {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1u << 0,
};

enum UIControlContentHorizontalAlignment : int {
    UIControlContentHorizontalAlignmentCenter = 0,
    UIControlContentHorizontalAlignmentLeft = 1,
    UIControlContentHorizontalAlignmentRight = 2,
};

class UIControl : public UIView {
public:
    using UIView::UIView;

    // Runs `action` for every event in `events` (a mask of UIControlEvents). The action is the
    // target's method bound to its target, for example [this] { toggleView(); }.
    void addTarget(std::function<void()> action, unsigned events);
    // Runs the actions registered for any event in `events`.
    void sendActionsForControlEvents(unsigned events);

    [[nodiscard]] bool isHighlighted() const { return m_highlighted; }
    void setContentHorizontalAlignment(int alignment);
    [[nodiscard]] int contentHorizontalAlignment() const { return m_alignment; }

    void touchesBegan(const UITouchSet& touches, const UIEvent& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEvent& event) override;
    void touchesEnded(const UITouchSet& touches, const UIEvent& event) override;
    void touchesCancelled(const UITouchSet& touches, const UIEvent& event) override;

private:
    void setHighlighted(bool highlighted);

    struct Target {
        std::function<void()> action;
        unsigned events;
    };
    std::vector<Target> m_targets;
    bool m_highlighted{false};
    bool m_tracking{false};
    int m_alignment{UIControlContentHorizontalAlignmentCenter};
};

} // namespace dazed
