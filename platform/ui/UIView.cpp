#include "platform/ui/UIView.h"

#include "platform/graphics/image/ImageContext.h"
#include "platform/graphics/image/PixelSize.h"
#include "platform/graphics/painter/UIPainter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIViewAnimation.h"
#include "platform/ui/UIViewController.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace dazed {

namespace {
bool& screenChangedFlag()
{
    static bool changed = true;
    return changed;
}

UIViewDrawingObserver*& drawingObserver()
{
    static UIViewDrawingObserver* observer = nullptr;
    return observer;
}
} // namespace

void UIView::setDrawingObserver(UIViewDrawingObserver* observer)
{
    drawingObserver() = observer;
}

bool UIView::consumeScreenChanged()
{
    return std::exchange(screenChangedFlag(), false);
}

void UIView::noteScreenChanged()
{
    screenChangedFlag() = true;
}

UIView::UIView(CGRect frame)
    : m_frame(frame)
{
}

UIView::~UIView()
{
    for (auto& sub : m_subviews)
        sub->m_superview = nullptr;
}

void UIView::setFrame(CGRect frame)
{
    // A view's picture is drawn at its size, so a new size needs a new drawing.
    if (frame.size != m_frame.size)
        m_needsDisplay = true;
    m_frame = frame;
    noteScreenChanged();
}

void UIView::setCenter(CGPoint center)
{
    setFrame({{center.x - m_frame.size.width / 2, center.y - m_frame.size.height / 2}, m_frame.size});
}

void UIView::setOpaque(bool opaque)
{
    m_opaque = opaque;
    setNeedsDisplay();
}

void UIView::setBackgroundColor(UIColor color)
{
    m_backgroundColor = color;
    setNeedsDisplay();
}

void UIView::setHidden(bool hidden)
{
    m_hidden = hidden;
    noteScreenChanged();
}

void UIView::detachFromSuperview()
{
    if (!m_superview)
        return;
    auto& siblings = m_superview->m_subviews;
    auto it =
        std::find_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; });
    m_superview = nullptr;
    if (it != siblings.end())
        siblings.erase(it); // may release the last owner of this view; nothing is touched after it
}

void UIView::insertSubviewAt(const std::shared_ptr<UIView>& view, std::size_t index)
{
    // Adding a view to itself or to one of its own descendants would make a cycle.
    if (!view || view.get() == this || isDescendantOfView(view.get()))
        return;
    const std::shared_ptr<UIView> keep = view; // the old superview may hold the only reference
    const UIView* old = keep->m_superview;
    const auto oldIndex = old == this
                              ? std::find(m_subviews.begin(), m_subviews.end(), keep) - m_subviews.begin()
                              : static_cast<std::ptrdiff_t>(m_subviews.size());
    keep->detachFromSuperview();
    if (old == this && static_cast<std::size_t>(oldIndex) < index)
        --index;
    index = std::min(index, m_subviews.size());
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(index), keep);
    keep->m_superview = this;
    noteScreenChanged();
}

void UIView::addSubview(const std::shared_ptr<UIView>& view)
{
    insertSubviewAt(view, m_subviews.size());
}

void UIView::insertSubviewBelowSubview(const std::shared_ptr<UIView>& view, const UIView* sibling)
{
    auto it =
        std::find_if(m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == sibling; });
    if (!sibling || it == m_subviews.end())
        return addSubview(view);
    insertSubviewAt(view, static_cast<std::size_t>(it - m_subviews.begin()));
}

void UIView::insertSubviewAboveSubview(const std::shared_ptr<UIView>& view, const UIView* sibling)
{
    auto it =
        std::find_if(m_subviews.begin(), m_subviews.end(), [&](const auto& v) { return v.get() == sibling; });
    if (!sibling || it == m_subviews.end())
        return addSubview(view);
    insertSubviewAt(view, static_cast<std::size_t>(it - m_subviews.begin()) + 1);
}

void UIView::removeFromSuperview()
{
    if (!m_superview)
        return;
    noteScreenChanged();
    detachFromSuperview();
}

bool UIView::isDescendantOfView(const UIView* view) const
{
    for (const UIView* v = this; v; v = v->m_superview)
        if (v == view)
            return true;
    return false;
}

UIView* UIView::rootView()
{
    UIView* v = this;
    while (v->m_superview)
        v = v->m_superview;
    return v;
}

bool UIView::pointInside(CGPoint point) const
{
    return bounds().contains(point);
}

UIView* UIView::hitTest(CGPoint point)
{
    if (m_hidden || !m_userInteractionEnabled || !pointInside(point))
        return nullptr;
    for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it) {
        const CGRect f = (*it)->frame();
        if (UIView* hit = (*it)->hitTest(point.translated(-f.origin.x, -f.origin.y)))
            return hit;
    }
    return this;
}

CGPoint UIView::convertPointFromScreen(CGPoint point) const
{
    for (const UIView* v = this; v && v->m_superview; v = v->m_superview)
        point = point.translated(-v->m_frame.origin.x, -v->m_frame.origin.y);
    return point;
}

CGPoint UIView::convertPointToScreen(CGPoint point) const
{
    for (const UIView* v = this; v && v->m_superview; v = v->m_superview)
        point = point.translated(v->m_frame.origin.x, v->m_frame.origin.y);
    return point;
}

void UIView::setNeedsDisplay()
{
    m_needsDisplay = true;
    noteScreenChanged();
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

UIResponder* UIView::nextResponder() const
{
    if (m_viewController)
        return m_viewController;
    return m_superview;
}

CGSize UIView::pictureSize() const
{
    if (!m_pictureSize)
        return {};
    return {static_cast<float>(m_pictureSize->width) / m_pictureSize->scale,
            static_cast<float>(m_pictureSize->height) / m_pictureSize->scale};
}

const std::shared_ptr<Image>& UIView::updateBackingStore(float scale, bool* drawn)
{
    // The picture Image::create would make now; a frame beyond its limits gets a coarser one.
    const PixelSize wanted = pixelSizeFor(m_frame.size, scale);
    const bool sizeChanged = !m_pictureSize || m_pictureSize->scale != wanted.scale ||
                             m_pictureSize->width != wanted.width || m_pictureSize->height != wanted.height;
    // A picture is drawn in the screen's tint, and again when the screen changes tint.
    const ScreenTint tint = UIApplication::sharedApplication().screenTint();
    const bool draw = m_needsDisplay || sizeChanged || (m_backing && m_backing->tint() != tint);
    if (drawn)
        *drawn = draw;
    if (!draw)
        return m_backing;
    m_needsDisplay = false;
    m_pictureSize = wanted;
    // An opaque view without a colour shows black wherever it draws nothing.
    const RGBAColor fill = m_backgroundColor ? m_backgroundColor->rgba()
                           : m_opaque        ? RGBAColor{0, 0, 0, 1}
                                             : RGBAColor{};

    // A view that paints itself is painted straight into the screen at every display (paint()):
    // it keeps only its colour, which the display fills beneath.
    if (paintsContent()) {
        keepOnlyColour(fill);
        return m_backing;
    }

    // drawRect's calls are recorded first, then rasterised in bands on every core: the pixels are
    // those of drawing into the picture directly. An observer may hand drawRect another context.
    RecordingContext recording;
    UIViewDrawingObserver* const observer = drawingObserver();
    CGContextRef const target = observer ? observer->willDraw(*this, &recording) : &recording;
    {
        UIGraphicsContextScope scope(target);
        drawRect(bounds());
    }
    if (observer)
        observer->didDraw(*this);
    // Most views only hold others or show a colour: their drawRect makes no call. A picture of
    // them would be a screen's worth of memory holding one colour, composited every frame; they
    // keep the colour instead (none when transparent), and the display fills with it. (Drawing an
    // observer took elsewhere says nothing about that: such a view keeps its picture.)
    if (target == &recording && recording.ops().empty()) {
        keepOnlyColour(fill);
        return m_backing;
    }
    // An opaque view hides whatever lies beneath it, so its calls can be made straight into the
    // screen: the same pixels as its picture composited there, without a picture's memory or a
    // copy of it every frame (the sky is a whole screen, drawn at every move). A view that lets
    // the screen show through, or one whose CGContextClearRect leaves holes, needs a picture of
    // its own to be composited. (An observer that took the drawing elsewhere leaves nothing
    // recorded: such a view keeps a picture.)
    if (!recording.ops().empty() && m_opaque && fill.alpha >= 1.0f) {
        m_backing.reset();
        m_solidColour.reset();
        const auto* clear = std::get_if<op::ClearRect>(&recording.ops().front());
        const bool clearsFirst = clear && clear->rect.minX() <= 0.0f && clear->rect.minY() <= 0.0f &&
                                 clear->rect.maxX() >= m_frame.size.width &&
                                 clear->rect.maxY() >= m_frame.size.height;
        m_drawing = RecordedDrawing{std::make_shared<const std::vector<DrawOp>>(recording.takeOps()), fill,
                                    clearsFirst};
        return m_backing;
    }
    m_drawing.reset();
    m_solidColour.reset();
    // A picture still held elsewhere (by a flip's recorded side) is left as it is.
    if (sizeChanged || !m_backing || m_backing.use_count() > 1)
        m_backing = Image::create(m_frame.size, scale);
    m_backing->setTint(tint);
    UIPainter painter(*m_backing);
    painter.fill(fill);
    drawRecorded(*m_backing, {}, m_opaque ? ImageContext::Clear::Black : ImageContext::Clear::Transparent,
                 recording.ops());
    return m_backing;
}

void UIView::keepOnlyColour(RGBAColor fill)
{
    m_backing.reset();
    m_drawing.reset();
    if (fill.alpha > 0.0f)
        m_solidColour = fill;
    else
        m_solidColour.reset();
}

bool UIView::hidesWhatLiesBeneath() const
{
    return m_opaque && (!m_backgroundColor || m_backgroundColor->rgba().alpha >= 1.0f);
}

void UIView::paint(UIPainter& painter, CGPoint origin)
{
    if (!paintsContent())
        return;
    UIPainterStateSaver saved(painter);
    painter.translate(origin.x, origin.y);
    painter.clip({{}, pictureSize()});
    paintContent(painter);
}

void UIView::beginAnimations(const char*, void*)
{
    UIViewAnimation::shared().begin();
}

void UIView::setAnimationDuration(double seconds)
{
    UIViewAnimation::shared().setDuration(seconds);
}

void UIView::setAnimationTransition(UIViewAnimationTransition transition, UIView* view, bool)
{
    // The old content is always captured: the framework has no live-redraw transition.
    UIViewAnimation::shared().setTransition(transition, view);
}

void UIView::commitAnimations()
{
    UIViewAnimation::shared().commit();
}

} // namespace dazed
