#include "platform/ui/UIViewAnimation.h"

#include <algorithm>
#include <cmath>

namespace dazed {

namespace {
constexpr double kPi = 3.141592653589793;
// Distance of the eye from the view, in view widths: close enough that the turn is plainly seen in
// perspective, far enough that the near edge does not grow past the screen.
constexpr double kEyeDistanceInWidths = 2.0;
} // namespace

FlipFrame flipFrameAt(UIViewAnimationTransition transition, double progress, CGSize size, int stripCount)
{
    FlipFrame frame;
    if (size.width <= 0 || size.height <= 0 || stripCount <= 0)
        return frame;
    progress = std::clamp(progress, 0.0, 1.0);
    // Turning by a negative angle brings the left edge (negative offsets) towards the viewer.
    const double sign = transition == UIViewAnimationTransitionFlipFromLeft ? -1.0 : 1.0;
    const double angle = sign * kPi * progress;
    frame.showsNewContent = progress > 0.5;
    // The back face is the new content seen after half a turn: its offset v sits at card offset -v.
    const double faceSign = frame.showsNewContent ? -1.0 : 1.0;
    const double w = size.width, h = size.height;
    const double eye = kEyeDistanceInWidths * w;
    const double cx = w / 2, cy = h / 2;
    auto project = [&](double sourceX, double* scale) {
        const double u = faceSign * (sourceX - cx);
        const double x = u * std::cos(angle);
        const double z = u * std::sin(angle);
        *scale = eye / (eye - z);
        return cx + x * *scale;
    };
    frame.strips.reserve(static_cast<std::size_t>(stripCount));
    for (int i = 0; i < stripCount; ++i) {
        const double s0 = w * i / stripCount, s1 = w * (i + 1) / stripCount;
        double scale0 = 1, scale1 = 1;
        const double x0 = project(s0, &scale0), x1 = project(s1, &scale1);
        const double left = std::min(x0, x1), right = std::max(x0, x1);
        if (right - left < 1e-4)
            continue; // edge-on: the strip has no width
        const double scale = (scale0 + scale1) / 2;
        frame.strips.push_back({static_cast<float>(s0), static_cast<float>(s1),
                                CGRectMake(static_cast<float>(left), static_cast<float>(cy - h * scale / 2),
                                           static_cast<float>(right - left), static_cast<float>(h * scale))});
    }
    return frame;
}

UIViewAnimation& UIViewAnimation::shared()
{
    static UIViewAnimation animation;
    return animation;
}

void UIViewAnimation::begin()
{
    m_blocks.push_back({});
}

void UIViewAnimation::setDuration(double seconds)
{
    if (!m_blocks.empty())
        m_blocks.back().duration = std::max(0.0, seconds);
}

void UIViewAnimation::setTransition(UIViewAnimationTransition transition, UIView* view)
{
    if (m_blocks.empty() || !view)
        return;
    Transition& t = m_blocks.back().transition;
    t.kind = transition;
    t.view = view->weak_from_this();
    // The old content is captured now, before the block changes the view.
    t.before = m_capture && transition != UIViewAnimationTransitionNone ? m_capture(*view) : nullptr;
}

void UIViewAnimation::commit()
{
    if (m_blocks.empty())
        return;
    Block block = std::move(m_blocks.back());
    m_blocks.pop_back();
    Transition& t = block.transition;
    if (t.kind == UIViewAnimationTransitionNone || !t.before || block.duration <= 0 || t.view.expired())
        return;
    t.duration = block.duration;
    // A new transition on a view replaces the one still running on it.
    auto sameView = [&](const Transition& other) {
        return other.view.lock() == t.view.lock();
    };
    std::erase_if(m_running, sameView);
    std::erase_if(m_committed, sameView);
    UIView::noteScreenChanged();
    m_committed.push_back(std::move(t));
}

bool UIViewAnimation::advance(double now)
{
    for (auto& t : m_committed) {
        if (!t.view.expired() && m_capture) {
            t.start = now;
            m_running.push_back(std::move(t));
        }
    }
    m_committed.clear();
    std::erase_if(m_running,
                  [&](const Transition& t) { return t.view.expired() || now - t.start >= t.duration; });
    return !m_running.empty();
}

const UIViewAnimation::Transition* UIViewAnimation::transitionFor(const UIView* view) const
{
    for (const auto& t : m_running)
        if (t.view.lock().get() == view)
            return &t;
    return nullptr;
}

std::shared_ptr<const PainterRecording> UIViewAnimation::side(const UIView* view, bool newSide)
{
    for (auto& t : m_running) {
        const auto shown = t.view.lock();
        if (!shown || shown.get() != view)
            continue;
        if (!newSide)
            return t.before;
        if (!t.after && m_capture) {
            // The old side is let go first: whatever it keeps alive (the images it draws) with it.
            t.before.reset();
            t.after = m_capture(*shown);
        }
        return t.after;
    }
    return nullptr;
}

void UIViewAnimation::reset()
{
    m_blocks.clear();
    m_committed.clear();
    m_running.clear();
    m_capture = nullptr;
}

} // namespace dazed
