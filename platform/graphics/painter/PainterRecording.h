#pragma once

// Drawing kept as its calls, to be made again later: what a recording UIPainter was asked to draw,
// and steps that draw into the target directly (a view's own recorded calls). A flip keeps its
// sides so: made again at an offset of whole pixels they give the pixels first drawn, and they
// hold a fraction of the memory of a picture (at two pixels per point a tablet screen is 12 MiB).

#include "platform/graphics/Geometry.h"

#include <functional>
#include <vector>

namespace dazed {

class Image;
class UIPainter;

class PainterRecording {
public:
    // A step draws into `target` through `painter`, which draws into the same target and has
    // already been moved by `offset`; steps that draw into the target without the painter move
    // by `offset` themselves.
    using Step = std::function<void(Image& target, UIPainter& painter, CGPoint offset)>;

    PainterRecording() = default;
    explicit PainterRecording(CGSize size)
        : m_size(size)
    {
    }

    void add(Step step) { m_steps.push_back(std::move(step)); }
    // Says that the first step, about to be added, paints all of the recording's size with an
    // opaque colour: what its target held before does not show through, and need not be cleared.
    // Ignored once a step is kept.
    void startsOpaque()
    {
        if (m_steps.empty())
            m_opaque = true;
    }
    // Makes every step again, in order, with the recording's origin at `offset` (points) of
    // `target`; `painter` draws into `target` and is left as it was found.
    void replay(Image& target, UIPainter& painter, CGPoint offset) const;

    // The size of what was recorded, in points (a view's size).
    [[nodiscard]] CGSize size() const { return m_size; }
    [[nodiscard]] std::size_t stepCount() const { return m_steps.size(); }
    // Whether the first step paints the whole size opaquely (see startsOpaque()). Where the size is
    // not a whole number of pixels its last row and column are only partly painted.
    [[nodiscard]] bool opaque() const { return m_opaque; }

private:
    CGSize m_size{};
    bool m_opaque{false};
    std::vector<Step> m_steps;
};

} // namespace dazed
