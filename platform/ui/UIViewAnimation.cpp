#include "platform/ui/UIViewAnimation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dazed {

namespace {
constexpr double kPi = 3.141592653589793;
// Distance of the eye from the view, in view widths: close enough that the turn is plainly seen in
// perspective, far enough that the near edge does not grow past the screen.
constexpr double kEyeDistanceInWidths = 2.0;
// The largest step, in pixels, of the turned view's top or bottom edge where two strips meet.
constexpr double kEdgeStepPixels = 1.0;
// At most this many cuts, whatever the size: a view sixteen thousand pixels tall turned edge-on.
constexpr int kMaxFlipCuts = 16384;
} // namespace

FlipFrame flipFrameAt(UIViewAnimationTransition transition, double progress, CGSize size,
                      float pixelsPerPoint)
{
    FlipFrame frame;
    if (!(size.width > 0) || !(size.height > 0) || !(pixelsPerPoint > 0) || !std::isfinite(size.width) ||
        !std::isfinite(size.height) || !std::isfinite(pixelsPerPoint) || std::isnan(progress))
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
    const double sine = std::sin(angle), cosine = std::cos(angle);
    // How much larger than flat the column at sourceX is drawn, and where it lands.
    const auto scaleAt = [&](double sourceX) {
        return eye / (eye - faceSign * (sourceX - cx) * sine);
    };
    const auto landsAt = [&](double sourceX) {
        return cx + faceSign * (sourceX - cx) * cosine * scaleAt(sourceX);
    };
    const double pixels = pixelsPerPoint;

    // A strip is drawn at one height, so the view's top and bottom edges become steps where strips
    // meet. The columns are cut where the height has changed by two pixels, one step of a pixel at
    // each edge: the clip rounds every edge to whole pixels anyway, so finer strips would show
    // nothing more, and each strip is a scaling call per row. Equal changes of height are equal
    // changes of the scale, which grows faster towards the near edge: the cuts are spaced evenly in
    // scale, not in columns.
    const double scaleLeft = scaleAt(0), scaleRight = scaleAt(w);
    const double heightChangePixels = std::abs(scaleRight - scaleLeft) * h * pixels;
    const int cuts = static_cast<int>(
        std::clamp(std::ceil(heightChangePixels / (2 * kEdgeStepPixels)), 1.0, double{kMaxFlipCuts}));
    // Where the i-th cut falls: the column whose scale is the i-th step from one edge's to the
    // other's.
    const auto cutAt = [&](int i) {
        if (i <= 0)
            return 0.0;
        if (i >= cuts)
            return w;
        const double scale = scaleLeft + (scaleRight - scaleLeft) * static_cast<double>(i) / cuts;
        return std::clamp(cx + faceSign * eye * (1 - 1 / scale) / sine, 0.0, w);
    };
    // Pieces wider than kMaxFlipStripSourcePixels are cut evenly again (into no more pieces in
    // all than kMaxFlipCuts, whatever the view's size).
    const double widest = std::max(kMaxFlipStripSourcePixels / pixels, w / kMaxFlipCuts);
    std::vector<double> bounds{0.0};
    for (int i = 1; i <= cuts; ++i) {
        const double from = bounds.back(), to = std::max(from, cutAt(i));
        const double pieces = std::clamp(std::ceil((to - from) / widest), 1.0, double{kMaxFlipCuts});
        for (int j = 1; j < static_cast<int>(pieces); ++j)
            bounds.push_back(from + (to - from) * j / pieces);
        bounds.push_back(to);
    }
    bounds.back() = w;

    // Strips start and end on whole pixels, each where its neighbour does, so that they tile the
    // turned view with neither gaps nor overlaps; cuts that would leave a strip narrower than a
    // pixel are passed over.
    const auto pixelAt = [&](double sourceX) {
        return std::nearbyint(landsAt(sourceX) * pixels);
    };
    frame.strips.reserve(std::min<std::size_t>(bounds.size(), 4096));
    std::size_t first = 0;
    double firstPixel = pixelAt(bounds[0]);
    for (std::size_t i = 1; i < bounds.size(); ++i) {
        const double pixel = pixelAt(bounds[i]);
        if (pixel == firstPixel)
            continue;
        const double scale = (scaleAt(bounds[first]) + scaleAt(bounds[i])) / 2;
        const double left = std::min(firstPixel, pixel) / pixels,
                     right = std::max(firstPixel, pixel) / pixels;
        frame.strips.push_back({static_cast<float>(bounds[first]), static_cast<float>(bounds[i]),
                                CGRectMake(static_cast<float>(left), static_cast<float>(cy - h * scale / 2),
                                           static_cast<float>(right - left), static_cast<float>(h * scale))});
        first = i;
        firstPixel = pixel;
    }
    // Source columns that land inside the last pixel reached belong to the last strip.
    if (!frame.strips.empty())
        frame.strips.back().sourceMaxX = static_cast<float>(w);
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

bool UIViewAnimation::isTransitioning(double now) const
{
    // As advance() sees it: a transition whose view is gone never starts, and one is over once its
    // duration has passed.
    const auto live = [](const Transition& t) {
        return !t.view.expired();
    };
    return std::any_of(m_committed.begin(), m_committed.end(), live) ||
           std::any_of(m_running.begin(), m_running.end(),
                       [&](const Transition& t) { return live(t) && now - t.start < t.duration; });
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
