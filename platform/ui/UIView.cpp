#include "platform/ui/UIView.h"

namespace dazed {

UIView::UIView(CGRect frame)
    : m_frame(frame)
{
}

UIView::~UIView() = default;

void UIView::setFrame(CGRect frame)
{
    m_frame = frame;
}

void UIView::setNeedsDisplay()
{
    m_needsDisplay = true;
}

void UIView::drawRect(CGRect) {}

bool UIView::displayIfNeeded()
{
    if (!m_needsDisplay)
        return false;
    m_needsDisplay = false;
    drawRect(bounds());
    return true;
}

} // namespace dazed
