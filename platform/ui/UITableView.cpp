#include "platform/ui/UITableView.h"

#include "platform/graphics/painter/UIPainter.h"
#include "platform/ui/Host.h"
#include "platform/ui/NSTimer.h"
#include "platform/ui/UIApplication.h"

#include <algorithm>
#include <cmath>

namespace dazed {

namespace {

constexpr RGBAColor kRowText{1, 1, 1, 1};
constexpr RGBAColor kSeparator{0.25f, 0.26f, 0.3f, 1};
constexpr RGBAColor kPressed{0.16f, 0.4f, 0.85f, 1};
constexpr float kTextInset = 16.0f;

// Seconds between two frames of the display, from the host; a 60 Hz display without one.
double frameInterval()
{
    const Host* host = UIApplication::sharedApplication().host();
    return host ? host->frameInterval() : 1.0 / 60.0;
}

std::optional<double> hostNow()
{
    const Host* host = UIApplication::sharedApplication().host();
    if (!host)
        return std::nullopt;
    return host->now();
}

} // namespace

UITableView::UITableView(CGRect frame)
    : UIView(frame)
{
    setOpaque(true);
    setBackgroundColor(UIColor{0.07f, 0.08f, 0.1f, 1});
}

UITableView::~UITableView()
{
    // The timer's action names this list.
    if (m_timer)
        m_timer->invalidate();
}

void UITableView::setRows(std::vector<std::string> rows)
{
    m_rows = std::move(rows);
    stopGliding();
    m_offset = 0;
    m_pressed.reset();
    setNeedsDisplay();
}

float UITableView::maximumContentOffset() const
{
    const float content = kRowHeight * static_cast<float>(m_rows.size());
    return std::max(0.0f, content - bounds().size.height);
}

float UITableView::contentOffset() const
{
    // The bounds may have shrunk since the offset was set.
    return std::clamp(m_offset, 0.0f, maximumContentOffset());
}

void UITableView::setContentOffset(float offset)
{
    if (std::isnan(offset))
        return;
    const float clamped = std::clamp(offset, 0.0f, maximumContentOffset());
    if (clamped == m_offset)
        return;
    m_offset = clamped;
    setNeedsDisplay();
}

std::optional<std::size_t> UITableView::rowAtPoint(CGPoint point) const
{
    if (!bounds().contains(point))
        return std::nullopt;
    const float y = point.y + contentOffset();
    if (y < 0)
        return std::nullopt;
    const auto row = static_cast<std::size_t>(y / kRowHeight);
    if (row >= m_rows.size())
        return std::nullopt;
    return row;
}

bool UITableView::isTracked(const UITouchSet& touches) const
{
    for (const UITouch* touch : touches.allObjects())
        if (touch == m_tracked)
            return true;
    return false;
}

void UITableView::touchesBegan(const UITouchSet& touches, const UIEvent& event)
{
    if (m_tracked)
        return; // one finger scrolls; the others are ignored
    const UITouch* touch = touches.anyObject();
    if (!touch)
        return;
    // A finger on a gliding list catches it: that touch scrolls or stops, it chooses nothing.
    const bool caught = isDecelerating();
    stopGliding();
    m_tracked = touch;
    m_touchStartY = touch->screenLocation().y;
    m_offsetAtTouch = contentOffset();
    m_lastY = m_touchStartY;
    m_lastTime = event.timestamp();
    m_velocity = 0;
    m_dragging = caught;
    m_pressed = caught ? std::nullopt : rowAtPoint(touch->locationInView(this));
    if (m_pressed)
        setNeedsDisplay();
}

void UITableView::touchesMoved(const UITouchSet& touches, const UIEvent& event)
{
    if (!isTracked(touches))
        return;
    const float y = m_tracked->screenLocation().y;
    if (!m_dragging && std::fabs(y - m_touchStartY) > kTapTravel) {
        m_dragging = true;
        m_pressed.reset();
        setNeedsDisplay();
    }
    const double dt = event.timestamp() - m_lastTime;
    if (dt > 0)
        m_velocity = static_cast<double>(m_lastY - y) / dt;
    m_lastY = y;
    m_lastTime = event.timestamp();
    if (m_dragging)
        setContentOffset(m_offsetAtTouch + (m_touchStartY - y));
}

void UITableView::touchesEnded(const UITouchSet& touches, const UIEvent& event)
{
    if (!isTracked(touches))
        return;
    m_tracked = nullptr;
    const auto chosen = m_pressed;
    m_pressed.reset();
    if (!m_dragging) {
        setNeedsDisplay();
        if (chosen && onSelectRow)
            onSelectRow(*chosen);
        return;
    }
    m_dragging = false;
    // A finger that stopped before lifting throws nothing.
    if (event.timestamp() - m_lastTime > kFlingMemory || !std::isfinite(m_velocity) ||
        std::fabs(m_velocity) < kMinimumGlideSpeed)
        return;
    const auto now = hostNow();
    if (!now)
        return;
    m_lastGlide = *now;
    m_timer = NSTimer::scheduledTimerWithTimeInterval(frameInterval(), [this] { glide(); });
    if (!m_timer->isValid())
        m_timer.reset();
}

void UITableView::touchesCancelled(const UITouchSet& touches, const UIEvent&)
{
    if (!isTracked(touches))
        return;
    m_tracked = nullptr;
    m_dragging = false;
    if (m_pressed) {
        m_pressed.reset();
        setNeedsDisplay();
    }
}

bool UITableView::scrollWheel(const UIScrollEvent& event)
{
    if (!std::isfinite(event.dy))
        return true;
    stopGliding();
    // A notch away from the user goes up the list, as the wheel scrolls a page.
    setContentOffset(contentOffset() - event.dy * kRowsPerNotch * kRowHeight);
    return true;
}

void UITableView::stopGliding()
{
    if (m_timer)
        m_timer->invalidate();
    m_timer.reset();
    m_velocity = 0;
}

void UITableView::glide()
{
    m_timer.reset();
    const auto now = hostNow();
    if (!now)
        return;
    // The time actually passed since the last step, whatever the loop's lateness: the glide covers
    // the same ground on a slow machine, in fewer steps.
    const double dt = std::max(0.0, *now - m_lastGlide);
    m_lastGlide = *now;
    const double decay = std::pow(1.0 - kDecelerationPerSecond, dt);
    // The distance of the exponential slowing over dt: v (1 - decay) / ln(1 / (1 - k)).
    const double rate = -std::log(1.0 - kDecelerationPerSecond);
    const double travel = m_velocity * (1.0 - decay) / rate;
    const float before = contentOffset();
    setContentOffset(static_cast<float>(static_cast<double>(before) + travel));
    m_velocity *= decay;
    const bool atEnd = contentOffset() == before && travel != 0.0;
    if (atEnd || std::fabs(m_velocity) < kMinimumGlideSpeed) {
        m_velocity = 0;
        return;
    }
    m_timer = NSTimer::scheduledTimerWithTimeInterval(frameInterval(), [this] { glide(); });
    if (!m_timer->isValid())
        m_timer.reset();
}

void UITableView::paintContent(UIPainter& painter)
{
    const CGRect b = bounds();
    if (m_rows.empty() || b.size.width <= 0 || b.size.height <= 0)
        return;
    UIPainterStateSaver saver(painter);
    painter.clip(b);
    const float offset = contentOffset();
    const auto first = static_cast<std::size_t>(offset / kRowHeight);
    const FontSpec font{FontSpec::kSystemFamily, kFontSize, FontWeight::Regular};
    for (std::size_t i = first; i < m_rows.size(); ++i) {
        const float top = kRowHeight * static_cast<float>(i) - offset;
        if (top >= b.size.height)
            break;
        const CGRect row = CGRectMake(0, top, b.size.width, kRowHeight);
        if (m_pressed == i)
            painter.fillRect(row, kPressed);
        painter.drawText(
            m_rows[i], CGRectMake(kTextInset, top, std::max(0.0f, b.size.width - 2 * kTextInset), kRowHeight),
            font, kRowText, TextAlignment::Left);
        painter.fillRect(CGRectMake(kTextInset, top + kRowHeight - 1, b.size.width - kTextInset, 1),
                         kSeparator);
    }
}

} // namespace dazed
