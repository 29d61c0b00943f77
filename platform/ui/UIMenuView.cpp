#include "platform/ui/UIMenuView.h"

#include "platform/graphics/painter/UIPainter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace dazed {

namespace {

constexpr RGBAColor kBackdrop{0, 0, 0, 0.35f};
constexpr RGBAColor kPanel{0.13f, 0.14f, 0.17f, 0.96f};
constexpr RGBAColor kPanelBorder{0.45f, 0.47f, 0.52f, 1};
constexpr RGBAColor kSeparator{0.3f, 0.31f, 0.35f, 1};
constexpr RGBAColor kTitle{1, 1, 1, 1};
constexpr RGBAColor kDisabledTitle{0.45f, 0.46f, 0.5f, 1};
constexpr RGBAColor kHighlight{0.16f, 0.4f, 0.85f, 1};
constexpr RGBAColor kMarkOn{0.55f, 0.85f, 1, 1};
constexpr RGBAColor kNoteText{0.78f, 0.8f, 0.84f, 1};
constexpr float kTextInset = 16.0f;
constexpr const char* kEllipsis = "\xE2\x80\xA6";

// The note's words in at most `most` lines of `width` points; what does not fit ends the last line
// in an ellipsis.
std::vector<std::string> noteLines(UIPainter& painter, const std::string& text, const FontSpec& font,
                                   float width, std::size_t most)
{
    std::vector<std::string> lines(1);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t space = text.find(' ', at);
        const std::string word = text.substr(at, space == std::string::npos ? std::string::npos : space - at);
        at = space == std::string::npos ? text.size() : space + 1;
        const std::string longer = lines.back().empty() ? word : lines.back() + " " + word;
        if (lines.back().empty() || painter.measureText(longer, font).width <= width) {
            lines.back() = longer;
            continue;
        }
        if (lines.size() >= most) {
            // No more lines: the last ends in an ellipsis, words taken off until it fits.
            std::string last = lines.back();
            while (!last.empty() && painter.measureText(last + kEllipsis, font).width > width) {
                const std::size_t cut = last.rfind(' ');
                last.erase(cut == std::string::npos ? 0 : cut);
            }
            lines.back() = last + kEllipsis;
            return lines;
        }
        lines.push_back(word);
    }
    return lines;
}

// Where a panel of `length` points starts along a screen of `screen` points, centred on `at` as
// far as the margins allow; at the margin when it does not fit.
float placedAlong(float at, float length, float screen)
{
    const float wanted = at - length / 2;
    const float last = screen - UIMenuView::kScreenMargin - length;
    return std::max(UIMenuView::kScreenMargin, std::min(wanted, last));
}

} // namespace

UIMenuView::UIMenuView(std::vector<UIMenuItem> items)
    : m_items(std::move(items))
{
}

void UIMenuView::showInView(const std::shared_ptr<UIView>& parent, CGPoint anchor)
{
    m_anchor = anchor;
    m_pressed.reset();
    m_pressedOutside = false;
    m_tracked = nullptr;
    presentInView(parent);
}

void UIMenuView::didDismiss()
{
    m_pressed.reset();
    m_tracked = nullptr;
}

float UIMenuView::itemHeight() const
{
    if (m_items.empty())
        return kItemHeight;
    // Smaller items where the screen is short (a phone held sideways), never below a fingertip; a
    // note takes its room first when it still leaves fingertip items.
    const float room = bounds().size.height - 2 * kScreenMargin;
    const auto count = static_cast<float>(m_items.size());
    const float withNote = (room - kNoteHeight) / count;
    const float each = !note().empty() && withNote >= kMinimumItemHeight ? withNote : room / count;
    return std::clamp(each, kMinimumItemHeight, kItemHeight);
}

bool UIMenuView::noteBelowItems() const
{
    const float room = bounds().size.height - 2 * kScreenMargin;
    return itemHeight() * static_cast<float>(m_items.size()) + kNoteHeight <= room;
}

CGRect UIMenuView::panelFrame() const
{
    const CGSize screen = bounds().size;
    const float width = std::max(0.0f, std::min(kMaximumPanelWidth, screen.width - 2 * kScreenMargin));
    const bool noted = !note().empty();
    const bool below = noted && noteBelowItems();
    const float height = itemHeight() * static_cast<float>(m_items.size()) + (below ? kNoteHeight : 0.0f);
    // A note beside the items is placed with them, on their right, as one.
    const float besideWidth = noted && !below ? kScreenMargin + noteBesideWidth() : 0.0f;
    return CGRectMake(placedAlong(m_anchor.x, width + besideWidth, screen.width),
                      placedAlong(m_anchor.y, height, screen.height), width, height);
}

CGRect UIMenuView::itemFrame(std::size_t index) const
{
    const CGRect panel = panelFrame();
    const float h = itemHeight();
    return CGRectMake(panel.minX(), panel.minY() + h * static_cast<float>(index), panel.size.width, h);
}

CGRect UIMenuView::noteFrame() const
{
    if (note().empty())
        return {};
    const CGRect panel = panelFrame();
    if (noteBelowItems())
        return CGRectMake(panel.minX(), panel.maxY() - kNoteHeight, panel.size.width, kNoteHeight);
    // Too short a screen for the note under the items (a phone held sideways): a panel of its own
    // on their right, at their top.
    const CGSize screen = bounds().size;
    const float height = std::min(kNoteBesideHeight, std::max(0.0f, screen.height - 2 * kScreenMargin));
    return CGRectMake(panel.maxX() + kScreenMargin,
                      std::min(panel.minY(), screen.height - kScreenMargin - height), noteBesideWidth(),
                      height);
}

float UIMenuView::noteBesideWidth() const
{
    // What the screen leaves beside the items, up to the note's own width.
    const float items = std::min(kMaximumPanelWidth, bounds().size.width - 2 * kScreenMargin);
    return std::clamp(bounds().size.width - 3 * kScreenMargin - items, 0.0f, kNoteBesideWidth);
}

std::optional<std::size_t> UIMenuView::itemAtPoint(CGPoint point) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (itemFrame(i).contains(point))
            return i;
    return std::nullopt;
}

bool UIMenuView::isItemEnabled(std::size_t index) const
{
    if (index >= m_items.size())
        return false;
    const auto& enabled = m_items[index].isEnabled;
    return !enabled || enabled();
}

bool UIMenuView::isTracked(const UITouchSet& touches) const
{
    for (const UITouch* touch : touches.allObjects())
        if (touch == m_tracked)
            return true;
    return false;
}

void UIMenuView::touchesBegan(const UITouchSet& touches, const UIEvent&)
{
    if (m_tracked)
        return; // a second finger on an open menu chooses nothing
    const UITouch* touch = touches.anyObject();
    if (!touch)
        return;
    m_tracked = touch;
    const auto item = itemAtPoint(touch->locationInView(this));
    m_pressedOutside = !panelFrame().contains(touch->locationInView(this));
    m_pressed = item && isItemEnabled(*item) ? item : std::nullopt;
    // Only a highlight changes the picture: a press on a disabled item or outside draws nothing.
    if (m_pressed)
        setNeedsDisplay();
}

void UIMenuView::touchesMoved(const UITouchSet& touches, const UIEvent&)
{
    if (!m_pressed || !isTracked(touches))
        return;
    // Sliding off the item lets it go, as a button does.
    if (itemAtPoint(m_tracked->locationInView(this)) != m_pressed) {
        m_pressed.reset();
        setNeedsDisplay();
    }
}

void UIMenuView::touchesEnded(const UITouchSet& touches, const UIEvent&)
{
    if (!isTracked(touches))
        return;
    const bool outside = m_pressedOutside && !panelFrame().contains(m_tracked->locationInView(this));
    const auto chosen = m_pressed;
    m_tracked = nullptr;
    m_pressed.reset();
    m_pressedOutside = false;
    if (chosen) {
        // Closed first, so that the action's keys go where the keyboard's go.
        auto action = m_items[*chosen].action;
        dismiss();
        if (action)
            action();
    } else if (outside) {
        dismiss();
    }
}

void UIMenuView::touchesCancelled(const UITouchSet& touches, const UIEvent&)
{
    if (!isTracked(touches))
        return;
    m_tracked = nullptr;
    m_pressedOutside = false;
    if (m_pressed) {
        m_pressed.reset();
        setNeedsDisplay();
    }
}

bool UIMenuView::keyDown(const UIKey& key)
{
    if (key.code == UIKeyCode::Escape && !key.isRepeat)
        dismiss();
    return true;
}

bool UIMenuView::scrollWheel(const UIScrollEvent&)
{
    return true; // nothing beneath an open menu moves
}

void UIMenuView::paintContent(UIPainter& painter)
{
    painter.fillRect(bounds(), kBackdrop);
    const CGRect panel = panelFrame();
    if (panel.size.width <= 0 || panel.size.height <= 0)
        return;
    painter.fillRoundedRect(panel, 10, kPanel);
    const FontSpec font{FontSpec::kSystemFamily, kFontSize, FontWeight::Regular};
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const CGRect item = itemFrame(i);
        const bool enabled = isItemEnabled(i);
        if (m_pressed == i) {
            UIPainterStateSaver saver(painter);
            painter.clip(panel);
            painter.fillRect(item, kHighlight);
        }
        if (i > 0)
            painter.fillRect(
                CGRectMake(item.minX() + kTextInset, item.minY(), item.size.width - 2 * kTextInset, 1),
                kSeparator);
        const CGRect text = CGRectMake(item.minX() + kTextInset, item.minY(),
                                       std::max(0.0f, item.size.width - 2 * kTextInset), item.size.height);
        painter.drawText(m_items[i].title, text, font, enabled ? kTitle : kDisabledTitle,
                         TextAlignment::Left);
        if (const auto& isOn = m_items[i].isOn) {
            const bool on = isOn();
            painter.drawText(on ? "On" : "Off", text,
                             FontSpec{FontSpec::kSystemFamily, kFontSize, FontWeight::Bold},
                             !enabled ? kDisabledTitle
                             : on     ? kMarkOn
                                      : kDisabledTitle,
                             TextAlignment::Right);
        }
    }
    painter.strokeRoundedRect(panel, 10, 1.0f, kPanelBorder);
    if (const std::string text = note(); !text.empty())
        paintNote(painter, text);
}

void UIMenuView::paintNote(UIPainter& painter, const std::string& text)
{
    const CGRect area = noteFrame();
    const bool below = noteBelowItems();
    if (below) {
        painter.fillRect(
            CGRectMake(area.minX() + kTextInset, area.minY(), area.size.width - 2 * kTextInset, 1),
            kSeparator);
    } else {
        painter.fillRoundedRect(area, 10, kPanel);
        painter.strokeRoundedRect(area, 10, 1.0f, kPanelBorder);
    }
    UIPainterStateSaver saver(painter);
    painter.clip(area);
    const FontSpec noteFont{FontSpec::kSystemFamily, kNoteFontSize, FontWeight::Regular};
    const float inset = below ? kTextInset : kTextInset / 2;
    const float width = std::max(0.0f, area.size.width - 2 * inset);
    const auto fits = static_cast<std::size_t>(std::max(1.0f, (area.size.height - 8) / kNoteLineHeight));
    const auto lines = noteLines(painter, text, noteFont, width, fits);
    float top = area.minY() + (area.size.height - kNoteLineHeight * static_cast<float>(lines.size())) / 2;
    for (const std::string& line : lines) {
        painter.drawText(line, CGRectMake(area.minX() + inset, top, width, kNoteLineHeight), noteFont,
                         kNoteText, TextAlignment::Left);
        top += kNoteLineHeight;
    }
}

} // namespace dazed
