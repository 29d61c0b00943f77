#pragma once

// Draws the frames of a flip: each side of the turning view is replayed from its recorded calls
// into a small band of columns at a time, and the turned strips are scaled from the band onto the
// screen. Private to the application loop's compositor.

#include "platform/graphics/Geometry.h"

#include <memory>

namespace dazed {

class Image;
class PainterRecording;
class UIPainter;
struct FlipFrame;

class FlipRenderer {
public:
    // One frame of a flip: `side` turned as `frame` says, the view's top left at `origin` (points
    // on the screen), drawn at `displayScale` pixels per point. The strips go straight into
    // `target` when there is one, and through `painter` otherwise (a capture, whose painter
    // records).
    void draw(const PainterRecording& side, const FlipFrame& frame, CGPoint origin, float displayScale,
              Image* target, UIPainter& painter);
    // Lets go of the band once no flip runs.
    void release() { m_band.reset(); }

private:
    // A band of columns of a flipping side, drawn again for each band of every flip frame; kept
    // while a flip runs.
    std::shared_ptr<Image> m_band;
};

} // namespace dazed
