#pragma once

// Animation blocks and the flip transition. Model changes made inside a block take effect at once;
// a transition set on a view remembers how the view was drawn before the changes, and the display
// cycle then shows the view turning over around its vertical axis from that side to the new one.

#include "platform/graphics/Geometry.h"
#include "platform/graphics/painter/PainterRecording.h"
#include "platform/ui/UIView.h"

#include <functional>
#include <memory>
#include <vector>

namespace dazed {

// One vertical strip of a face of the turning view: the source column (the face's points) and where it
// lands on screen (points relative to the view's frame origin; its left and right edges lie on whole
// pixels).
struct FlipStrip {
    float sourceMinX{0};
    float sourceMaxX{0};
    CGRect dest;
};

// No strip takes in more source pixels than this, unless all of them land in one pixel column: the
// flip draws its strips from bands of the view's columns at least that wide.
inline constexpr int kMaxFlipStripSourcePixels = 32;

struct FlipFrame {
    // False while the old face is still turned towards the viewer (first half).
    bool showsNewContent{false};
    std::vector<FlipStrip> strips;
};

// The strips of a view of `size` turned `progress` (0..1) of the way through `transition`, drawn
// at `pixelsPerPoint`. Flip-from-left turns the left edge towards the viewer and flip-from-right
// the right edge; the nearer edge is drawn taller, as seen from an eye in front of the view's
// centre. The strips follow one another in source order, cover every source column, and tile the
// turned view in whole pixel columns, each meeting the next on the same pixel edge; the view's
// top and bottom edges step by at most a pixel where two strips meet. A view edge-on has no strips.
FlipFrame flipFrameAt(UIViewAnimationTransition transition, double progress, CGSize size,
                      float pixelsPerPoint);

class UIViewAnimation {
public:
    struct Transition {
        std::weak_ptr<UIView> view;
        UIViewAnimationTransition kind{UIViewAnimationTransitionNone};
        double duration{0};
        // The sides are kept as the calls that drew them, not as pictures.
        std::shared_ptr<const PainterRecording> before;
        // Captured when the flip first shows it, halfway; `before` is let go then.
        std::shared_ptr<const PainterRecording> after;
        double start{0};
    };

    static UIViewAnimation& shared();

    void begin();
    void setDuration(double seconds);
    void setTransition(UIViewAnimationTransition transition, UIView* view);
    void commit();

    // Set by the running application: records how a view and its subviews draw.
    void setCapture(std::function<std::shared_ptr<const PainterRecording>(UIView&)> capture)
    {
        m_capture = std::move(capture);
    }

    // The display cycle: starts committed transitions, drops those that are over or whose view is
    // gone, and answers whether any is still running.
    bool advance(double now);
    [[nodiscard]] const Transition* transitionFor(const UIView* view) const;
    // The side of `view`'s running transition to show: the old one, or the new one, captured the
    // first time it is asked for (the old one is let go then). Null when no transition runs on
    // `view` or its view is gone.
    std::shared_ptr<const PainterRecording> side(const UIView* view, bool newSide);
    [[nodiscard]] bool isAnimating() const { return !m_running.empty(); }
    // Whether a transition is committed and waiting for the display cycle to start it, or started
    // and not yet over at `now` (seconds on the host's clock). The window takes no input meanwhile.
    [[nodiscard]] bool isTransitioning(double now) const;
    [[nodiscard]] const std::vector<Transition>& running() const { return m_running; }
    void reset();

private:
    struct Block {
        double duration{0.2};
        Transition transition;
    };
    std::vector<Block> m_blocks;
    std::vector<Transition> m_committed;
    std::vector<Transition> m_running;
    std::function<std::shared_ptr<const PainterRecording>(UIView&)> m_capture;
};

} // namespace dazed
