#include "platform/ui/UINavigationBar.h"

#include "platform/graphics/painter/UIPainter.h"
#include "platform/ui/UIFont.h"

#include <algorithm>

namespace dazed {

namespace {
constexpr float kButtonHeight = 30.0f;
constexpr float kButtonMargin = 5.0f;
constexpr float kButtonTitlePadding = 12.0f;
const FontSpec kTitleFont{FontSpec::kSystemFamily, 20.0f, FontWeight::Bold};
const FontSpec kButtonFont{FontSpec::kSystemFamily, 12.0f, FontWeight::Bold};

// The button's width follows its title; measured on a scratch image so that layout does not need
// a drawing in progress.
float buttonWidth(const std::string& title)
{
    static const auto scratch = Image::create({1, 1}, 1);
    UIPainter painter(*scratch);
    return painter.measureText(title, kButtonFont).width + 2 * kButtonTitlePadding;
}
} // namespace

UIBarButtonItem::UIBarButtonItem(int systemItem, std::function<void()> action)
    : m_systemItem(systemItem)
    , m_action(std::move(action))
{
}

std::string UIBarButtonItem::title() const
{
    return m_systemItem == UIBarButtonSystemItemCancel ? "Cancel" : "Done";
}

void UIBarButtonItem::press() const
{
    if (m_action)
        m_action();
}

UINavigationBar::UINavigationBar(CGRect frame)
    : UIView(frame)
{
    setNeedsDisplay();
}

void UINavigationBar::setBarStyle(int style)
{
    m_style = style;
    setNeedsDisplay();
}

void UINavigationBar::pushNavigationItem(std::shared_ptr<UINavigationItem> item, bool)
{
    if (!item)
        return;
    m_items.push_back(std::move(item));
    setNeedsDisplay();
}

std::shared_ptr<UINavigationItem> UINavigationBar::topItem() const
{
    return m_items.empty() ? nullptr : m_items.back();
}

CGRect UINavigationBar::rightButtonFrame() const
{
    const auto item = topItem();
    if (!item || !item->rightBarButtonItem())
        return {};
    const float w = buttonWidth(item->rightBarButtonItem()->title());
    const CGRect b = bounds();
    return CGRectMake(b.maxX() - kButtonMargin - w, (b.size.height - kButtonHeight) / 2, w, kButtonHeight);
}

void UINavigationBar::touchesBegan(const UITouchSet& touches, const UIEvent&)
{
    auto* t = touches.anyObject();
    m_pressing = t && rightButtonFrame().contains(t->locationInView(this));
    if (m_pressing)
        setNeedsDisplay();
}

void UINavigationBar::touchesMoved(const UITouchSet&, const UIEvent&) {}

void UINavigationBar::touchesEnded(const UITouchSet& touches, const UIEvent&)
{
    if (!m_pressing)
        return;
    m_pressing = false;
    setNeedsDisplay();
    auto* t = touches.anyObject();
    const auto item = topItem();
    // Keep the item alive while its action runs: the action may change the bar.
    if (t && item && item->rightBarButtonItem() && rightButtonFrame().contains(t->locationInView(this))) {
        const auto button = item->rightBarButtonItem();
        button->press();
    }
}

void UINavigationBar::touchesCancelled(const UITouchSet&, const UIEvent&)
{
    m_pressing = false;
    setNeedsDisplay();
}

void UINavigationBar::paintContent(UIPainter& painter)
{
    const CGRect b = bounds();
    const bool black = m_style == UIBarStyleBlack;
    if (black)
        painter.fillVerticalGradient(b, {0.25f, 0.25f, 0.25f, 1}, {0.02f, 0.02f, 0.02f, 1});
    else
        painter.fillVerticalGradient(b, {0.69f, 0.74f, 0.8f, 1}, {0.43f, 0.52f, 0.63f, 1});
    painter.fillRect(CGRectMake(0, b.maxY() - 1, b.size.width, 1), {0, 0, 0, 1});
    const auto item = topItem();
    if (!item)
        return;
    const CGRect button = rightButtonFrame();
    const float titleInset = std::max(button.size.width + 2 * kButtonMargin, 60.0f);
    painter.drawText(item->title(),
                     CGRectMake(titleInset, 0, std::max(0.0f, b.size.width - 2 * titleInset), b.size.height),
                     kTitleFont, {1, 1, 1, 1}, TextAlignment::Center);
    if (item->rightBarButtonItem()) {
        const RGBAColor fill =
            m_pressing ? RGBAColor{0.35f, 0.35f, 0.35f, 1}
                       : (black ? RGBAColor{0.15f, 0.15f, 0.15f, 1} : RGBAColor{0.2f, 0.4f, 0.8f, 1});
        painter.fillRoundedRect(button, 5, fill);
        painter.strokeRoundedRect(button, 5, 1, {0, 0, 0, 0.8f});
        painter.drawText(item->rightBarButtonItem()->title(), button, kButtonFont, {1, 1, 1, 1},
                         TextAlignment::Center);
    }
}

} // namespace dazed
