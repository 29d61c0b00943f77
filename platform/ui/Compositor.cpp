#include "platform/ui/Compositor.h"

#include "platform/graphics/image/ImageContext.h"
#include "platform/graphics/image/PixelSize.h"
#include "platform/graphics/painter/PainterRecording.h"
#include "platform/graphics/painter/UIPainter.h"
#include "platform/ui/Host.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIViewAnimation.h"
#include "platform/ui/UIWindow.h"

#include <functional>

namespace dazed {

Compositor::Compositor(Host& host)
    : m_host(host)
{
}

void Compositor::present(CGSize screenSize, bool animating)
{
    const ScreenTint tint = UIApplication::sharedApplication().screenTint();
    if (tint != m_pointerTint) {
        m_host.setPointerTint(tint);
        m_pointerTint = tint;
    }
    const auto draw = [this, screenSize, tint](Image& screen) {
        // Everything is drawn in the screen's tint as it is put there: at night the views' colours
        // and pictures arrive red, and no pass over the finished screen is needed.
        screen.setTint(tint);
        compose(screen, screenSize);
    };
    // Drawn straight into the window where it lends its pixels: a screen image of the loop's own
    // would be another screen's worth of memory, and one more copy of every frame.
    if (m_host.drawScreenInPlace(screenSize, draw)) {
        m_screen.reset();
    } else {
        const float scale = m_host.displayScale();
        const PixelSize pixels = pixelSizeFor(screenSize, scale);
        if (!m_screen || m_screen->scale() != pixels.scale || m_screen->pixelWidth() != pixels.width ||
            m_screen->pixelHeight() != pixels.height)
            m_screen = Image::create(screenSize, scale);
        draw(*m_screen);
        m_host.present(*m_screen);
    }
    if (!animating)
        m_flips.release();
}

void Compositor::compose(Image& screen, CGSize screenSize)
{
    UIPainter painter(screen);
    const auto window = UIApplication::sharedApplication().keyWindow();
    if (!window || window->isHidden()) {
        painter.fill({0, 0, 0, 1});
        return;
    }
    // Whatever an opaque view over the whole screen (the sky) hides is not drawn: neither the
    // black beneath everything nor the views below it, each a screen's worth of pixels
    // written and overwritten every frame.
    Composition into{&screen, painter, true, screenCover(*window, screenSize)};
    into.beneathCover = into.cover != nullptr;
    if (!into.cover)
        painter.fill({0, 0, 0, 1});
    drawTree(*window, window->frame().origin, into);
}

const UIView* Compositor::screenCover(UIView& window, CGSize screenSize)
{
    const UIView* cover = nullptr;
    const CGSize screen = screenSize;
    const std::function<void(UIView&, CGPoint)> visit = [&](UIView& view, CGPoint origin) {
        // A flipping view shows its strips, which leave the screen around them uncovered, and
        // nothing of what it holds.
        if (view.isHidden() || UIViewAnimation::shared().transitionFor(&view))
            return;
        const CGSize size = view.frame().size;
        if (view.hidesWhatLiesBeneath() && origin.x <= 0.0f && origin.y <= 0.0f &&
            origin.x + size.width >= screen.width && origin.y + size.height >= screen.height)
            cover = &view;
        for (const auto& sub : view.subviews())
            visit(*sub, origin.translated(sub->frame().origin.x, sub->frame().origin.y));
    };
    visit(window, window.frame().origin);
    return cover;
}

std::shared_ptr<const PainterRecording> Compositor::capture(UIView& view)
{
    // The view alone, whatever covers it on screen (a flip's new side is captured while the screen
    // is composed), kept as calls: a picture would be a screen's worth of memory.
    auto recording = std::make_shared<PainterRecording>(view.frame().size);
    UIPainter painter(*recording, m_host.displayScale(), UIApplication::sharedApplication().screenTint());
    Composition into{nullptr, painter, false};
    into.recording = recording.get();
    drawTree(view, {}, into);
    return recording;
}

void Compositor::drawTree(UIView& view, CGPoint origin, Composition& into)
{
    if (view.isHidden())
        return;
    if (into.withTransitions) {
        if (const auto* t = UIViewAnimation::shared().transitionFor(&view)) {
            const double progress = t->duration > 0 ? (m_host.now() - t->start) / t->duration : 1.0;
            const CGSize size = view.frame().size;
            const FlipFrame frame = flipFrameAt(t->kind, progress, size, m_host.displayScale());
            if (const auto side = UIViewAnimation::shared().side(&view, frame.showsNewContent))
                m_flips.draw(*side, frame, origin, m_host.displayScale(), into.target, into.painter);
            return;
        }
    }
    if (&view == into.cover)
        into.beneathCover = false;
    if (!into.beneathCover)
        drawOwnContent(view, origin, into);
    const auto subviews = view.subviews();
    for (const auto& sub : subviews)
        drawTree(*sub, origin.translated(sub->frame().origin.x, sub->frame().origin.y), into);
}

void Compositor::drawOwnContent(UIView& view, CGPoint origin, Composition& into)
{
    const auto& backing = view.updateBackingStore(m_host.displayScale());
    if (backing) {
        into.painter.drawImage(*backing, {origin, backing->size()});
    } else if (const auto& drawing = view.recordedDrawing()) {
        const CGRect area{origin, view.pictureSize()};
        if (!drawing->clearsFirst)
            into.painter.fillRect(area, drawing->background);
        if (into.recording) {
            const CGSize size = into.recording->size();
            if (drawing->clearsFirst && area.minX() <= 0.0f && area.minY() <= 0.0f &&
                area.maxX() >= size.width && area.maxY() >= size.height)
                into.recording->startsOpaque(); // the calls begin by clearing the view to black
            // Kept in order with the painter's calls, which go into the same recording.
            into.recording->add(paint::DrawCalls{drawing->ops, area});
        } else if (into.target) {
            drawRecorded(*into.target, origin, ImageContext::Clear::Black, *drawing->ops, area);
        }
    } else if (const auto& colour = view.solidColour()) {
        into.painter.fillRect({origin, view.pictureSize()}, *colour);
    }
    view.paint(into.painter, origin);
}

} // namespace dazed
