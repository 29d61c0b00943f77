#include "platform/ui/UILabel.h"

#include "platform/graphics/painter/UIPainter.h"

namespace dazed {

UILabel::UILabel(CGRect frame)
    : UIView(frame)
{
    setBackgroundColor(UIColor::whiteColor());
    setUserInteractionEnabled(false);
}

void UILabel::setText(std::string text)
{
    m_text = std::move(text);
    setNeedsDisplay();
}

void UILabel::setTextColor(UIColor color)
{
    m_textColor = color;
    setNeedsDisplay();
}

void UILabel::setTextAlignment(int alignment)
{
    m_alignment = alignment;
    setNeedsDisplay();
}

void UILabel::setFont(UIFont font)
{
    m_font = font;
    setNeedsDisplay();
}

void UILabel::paintContent(UIPainter& painter)
{
    const TextAlignment align = m_alignment == UITextAlignmentCenter  ? TextAlignment::Center
                                : m_alignment == UITextAlignmentRight ? TextAlignment::Right
                                                                      : TextAlignment::Left;
    painter.drawText(m_text, bounds(), m_font.spec(), m_textColor.rgba(), align);
}

} // namespace dazed
