#pragma once

// Composes the key window's view tree into the picture on screen, running flips included, and
// captures a single view as its drawing calls (a flip's sides). Private to the application loop,
// which decides when a frame is due.

#include "platform/graphics/Geometry.h"
#include "platform/graphics/ScreenTint.h"
#include "platform/ui/FlipRenderer.h"

#include <memory>

namespace dazed {

class Host;
class Image;
class PainterRecording;
class UIPainter;
class UIView;

class Compositor {
public:
    explicit Compositor(Host& host);

    // Draws the key window (black where there is none, or it is hidden) onto a screen of
    // `screenSize` points, turned red at night (the application's screen tint), and presents it;
    // the host's pointer follows the tint. `animating` says whether a flip still runs; the flip's
    // memory is let go once none does.
    void present(CGSize screenSize, bool animating);

    // Records how `view` and its subviews draw, the view's top left at the origin, whatever covers
    // it on screen (the flip's sides).
    [[nodiscard]] std::shared_ptr<const PainterRecording> capture(UIView& view);

private:
    // One picture being composed: the screen, or a capture of one view as its drawing calls.
    struct Composition {
        // Null while capturing: `painter` then records, and so is `recording` given what the
        // views' own recorded calls draw.
        Image* target;
        UIPainter& painter;
        // Running transitions show their strips (the screen) or are passed over (a capture).
        bool withTransitions;
        // Views are passed over until the cover is reached.
        const UIView* cover{nullptr};
        bool beneathCover{false};
        PainterRecording* recording{nullptr};
    };
    void compose(Image& screen, CGSize screenSize);
    void drawTree(UIView& view, CGPoint origin, Composition& into);
    // What `view` itself shows, without its subviews.
    void drawOwnContent(UIView& view, CGPoint origin, Composition& into);
    // The last view in painting order that is shown, hides what lies beneath it and covers the
    // whole screen of `screenSize` points, outside any flip; null when there is none. Nothing
    // before it is drawn.
    [[nodiscard]] static const UIView* screenCover(UIView& window, CGSize screenSize);

    Host& m_host;
    // The loop's own screen picture, where the host does not lend the window's pixels.
    std::shared_ptr<Image> m_screen;
    FlipRenderer m_flips;
    // The tint the host's pointer was last given.
    ScreenTint m_pointerTint{ScreenTint::Day};
};

} // namespace dazed
