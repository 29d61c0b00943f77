#pragma once

// A view shown over the whole of another (a menu, a list that takes the screen) that has the keys
// while it is shown: presenting it makes it the first responder, and dismissing it gives the keys
// back to the responder that had them. Subclasses draw and handle touches as they like.

#include "platform/ui/UIView.h"

#include <functional>
#include <memory>

namespace dazed {

class UIModalView : public UIView {
public:
    using UIView::UIView;

    // Adds the view on top of `parent`'s subviews, over its whole bounds, and makes it the first
    // responder. Nothing without a parent.
    void presentInView(const std::shared_ptr<UIView>& parent);
    // Takes the view off the screen, gives the keys back and runs onDismiss. Nothing when not shown.
    void dismiss();
    [[nodiscard]] bool isPresented() const { return superview() != nullptr; }
    // Told whenever the view is dismissed, whichever way.
    std::function<void()> onDismiss;

protected:
    // Told before the view is added, its frame already the parent's bounds (a new filter, a new
    // anchor); nothing by default.
    virtual void willPresent() {}
    // Told after the view left the screen and before onDismiss; nothing by default.
    virtual void didDismiss() {}

private:
    UIResponder* m_previousFirstResponder{nullptr};
};

} // namespace dazed
