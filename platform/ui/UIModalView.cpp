#include "platform/ui/UIModalView.h"

#include "platform/ui/UIApplication.h"

namespace dazed {

void UIModalView::presentInView(const std::shared_ptr<UIView>& parent)
{
    if (!parent)
        return;
    setFrame(parent->bounds());
    willPresent();
    parent->addSubview(shared_from_this());
    auto& application = UIApplication::sharedApplication();
    if (application.firstResponder() != this)
        m_previousFirstResponder = application.firstResponder();
    becomeFirstResponder();
    setNeedsDisplay();
}

void UIModalView::dismiss()
{
    if (!isPresented())
        return;
    // Held: the owner may let go of the view when told it was dismissed.
    const auto keep = shared_from_this();
    removeFromSuperview();
    auto& application = UIApplication::sharedApplication();
    if (application.firstResponder() == this)
        application.setFirstResponder(m_previousFirstResponder);
    m_previousFirstResponder = nullptr;
    didDismiss();
    if (onDismiss)
        onDismiss();
}

} // namespace dazed
