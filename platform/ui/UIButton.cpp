#include "platform/ui/UIButton.h"

#include "platform/graphics/painter/UIPainter.h"

#include <algorithm>

namespace dazed {

namespace {
constexpr RGBAColor kRoundedRectTitleBlue{0.2f, 0.31f, 0.52f, 1};
constexpr RGBAColor kRoundedRectBorder{0.55f, 0.55f, 0.58f, 1};
constexpr RGBAColor kHighlightBlue{0.1f, 0.4f, 0.95f, 1};
// Inset of the title from the edges of a button whose content is aligned left or right.
constexpr float kTitleInset = 8.0f;

CGRect inset(CGRect r, float by)
{
    return CGRectMake(r.minX() + by, r.minY() + by, r.size.width - 2 * by, r.size.height - 2 * by);
}
} // namespace

std::shared_ptr<UIButton> UIButton::buttonWithType(UIButtonType type)
{
    // The info buttons come with their own size, as the platform's do.
    const CGRect frame =
        (type == UIButtonTypeInfoLight || type == UIButtonTypeInfoDark) ? CGRectMake(0, 0, 18, 19) : CGRect{};
    return std::make_shared<UIButton>(type, frame);
}

UIButton::UIButton(UIButtonType type, CGRect frame)
    : UIControl(frame)
    , m_type(type)
{
    if (type == UIButtonTypeRoundedRect)
        m_titleColors[UIControlStateNormal] =
            UIColor(kRoundedRectTitleBlue.red, kRoundedRectTitleBlue.green, kRoundedRectTitleBlue.blue, 1);
    else
        m_titleColors[UIControlStateNormal] = UIColor::whiteColor();
    setNeedsDisplay();
}

template <class T> const T* UIButton::lookup(const std::map<unsigned, T>& map, unsigned state)
{
    if (auto it = map.find(state); it != map.end())
        return &it->second;
    if (auto it = map.find(UIControlStateNormal); it != map.end())
        return &it->second;
    return nullptr;
}

void UIButton::setTitle(const std::string& title, UIControlState state)
{
    m_titles[state] = title;
    setNeedsDisplay();
}

void UIButton::setTitleColor(UIColor color, UIControlState state)
{
    m_titleColors[state] = color;
    setNeedsDisplay();
}

void UIButton::setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state)
{
    m_backgroundImages[state] = std::move(image);
    setNeedsDisplay();
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state)
{
    m_images[state] = std::move(image);
    setNeedsDisplay();
}

std::string UIButton::titleForState(UIControlState state) const
{
    const auto* t = lookup(m_titles, state);
    return t ? *t : std::string();
}

UIColor UIButton::titleColorForState(UIControlState state) const
{
    const auto* c = lookup(m_titleColors, state);
    return c ? *c : UIColor::whiteColor();
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(UIControlState state) const
{
    const auto* i = lookup(m_backgroundImages, state);
    return i ? *i : nullptr;
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const
{
    const auto* i = lookup(m_images, state);
    return i ? *i : nullptr;
}

void UIButton::setFont(UIFont font)
{
    m_font = font;
    setNeedsDisplay();
}

void UIButton::paintContent(UIPainter& painter)
{
    const CGRect b = bounds();
    const UIControlState state = isHighlighted() ? UIControlStateHighlighted : UIControlStateNormal;

    if (m_type == UIButtonTypeInfoLight || m_type == UIButtonTypeInfoDark) {
        const float side = std::min(b.size.width, b.size.height);
        const float d = std::min(side, 22.0f);
        const CGRect circle = CGRectMake(b.center().x - d / 2, b.center().y - d / 2, d, d);
        const RGBAColor ink =
            m_type == UIButtonTypeInfoLight ? RGBAColor{1, 1, 1, 1} : RGBAColor{0.2f, 0.2f, 0.2f, 1};
        if (isHighlighted())
            painter.fillEllipse(inset(circle, -4), {1, 1, 1, 0.35f});
        painter.strokeEllipse(inset(circle, 1), 2.0f, ink);
        painter.drawText("i", circle, FontSpec{"Nimbus Serif", d * 0.75f, FontWeight::Bold}, ink,
                         TextAlignment::Center);
        return;
    }

    const auto background = backgroundImageForState(state);
    if (background && background->image()) {
        painter.drawImage(*background->image(painter.tint()), b);
    } else if (m_type == UIButtonTypeRoundedRect) {
        const CGRect r = inset(b, 1);
        painter.fillRoundedRect(r, 9, isHighlighted() ? kHighlightBlue : RGBAColor{1, 1, 1, 1});
        painter.strokeRoundedRect(r, 9, 1.0f, kRoundedRectBorder);
    }
    if (isHighlighted() && m_type == UIButtonTypeCustom && background)
        painter.fillRect(b, {0, 0, 0, 0.3f});

    if (const auto* image = lookup(m_images, state); image && *image && (*image)->image()) {
        const CGSize s = (*image)->size();
        // A picture on its own shows the press as a soft glow behind it, as the drawn info buttons do.
        if (isHighlighted() && m_type == UIButtonTypeCustom && !background) {
            const float d = 0.7f * std::min({s.width, s.height, b.size.width, b.size.height});
            painter.fillEllipse(CGRectMake(b.center().x - d / 2, b.center().y - d / 2, d, d),
                                {1, 1, 1, 0.35f});
        }
        painter.drawImage(
            *(*image)->image(painter.tint()),
            CGRectMake(b.center().x - s.width / 2, b.center().y - s.height / 2, s.width, s.height));
    }

    const std::string title = titleForState(state);
    if (!title.empty()) {
        TextAlignment align = TextAlignment::Center;
        CGRect textRect = b;
        if (contentHorizontalAlignment() == UIControlContentHorizontalAlignmentLeft) {
            align = TextAlignment::Left;
            textRect = CGRectMake(kTitleInset, 0, b.size.width - 2 * kTitleInset, b.size.height);
        } else if (contentHorizontalAlignment() == UIControlContentHorizontalAlignmentRight) {
            align = TextAlignment::Right;
            textRect = CGRectMake(kTitleInset, 0, b.size.width - 2 * kTitleInset, b.size.height);
        }
        RGBAColor color = titleColorForState(state).rgba();
        if (isHighlighted() && m_type == UIButtonTypeRoundedRect && !background)
            color = {1, 1, 1, 1};
        painter.drawText(title, textRect, m_font.spec(), color, align);
    }
}

} // namespace dazed
