#pragma once

// Drawing kept as its calls, to be made again later: what a recording UIPainter was asked to draw,
// and a view's own drawing calls to be made straight into the target. A flip keeps its sides so:
// made again at an offset of whole pixels they give the pixels first drawn, and they hold a
// fraction of the memory of a picture (at two pixels per point a tablet screen is 12 MiB). The
// steps are plain records, which tests can read.

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/painter/UIPainter.h"

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace dazed {

class Image;

// One step a recording keeps: a call on the painter with its arguments, in the painter's names.
// Pictures are held, so that they outlive whoever drew them.
namespace paint {
struct Save {};
struct Restore {};
struct Translate {
    float dx{0};
    float dy{0};
};
struct Clip {
    CGRect rect;
};
struct Fill {
    RGBAColor color;
};
struct FillRect {
    CGRect rect;
    RGBAColor color;
};
struct FillVerticalGradient {
    CGRect rect;
    RGBAColor top;
    RGBAColor bottom;
};
struct FillRoundedRect {
    CGRect rect;
    float radius{0};
    RGBAColor color;
};
struct StrokeRoundedRect {
    CGRect rect;
    float radius{0};
    float lineWidth{0};
    RGBAColor color;
};
struct FillEllipse {
    CGRect rect;
    RGBAColor color;
};
struct StrokeEllipse {
    CGRect rect;
    float lineWidth{0};
    RGBAColor color;
};
struct DrawImage {
    std::shared_ptr<const Image> image;
    CGRect dest;
    float alpha{1};
};
struct CopyPixels {
    std::shared_ptr<const Image> image;
};
struct DrawImageColumn {
    std::shared_ptr<const Image> image;
    float sourceMinX{0};
    float sourceMaxX{0};
    CGRect dest;
};
struct DrawText {
    std::string text;
    CGRect rect;
    // The font with a family of its own (none stands for FontSpec's null family).
    bool named{true};
    std::string family;
    float size{0};
    FontWeight weight{FontWeight::Regular};
    RGBAColor color;
    TextAlignment alignment{TextAlignment::Left};
};
// A view's own drawing calls, made straight into the target with their origin at `area`'s and
// clipped to it (points, in the recording's coordinates); they begin by clearing to black where
// they clear.
struct DrawCalls {
    std::shared_ptr<const std::vector<DrawOp>> ops;
    CGRect area;
};
} // namespace paint

using PaintStep =
    std::variant<paint::Save, paint::Restore, paint::Translate, paint::Clip, paint::Fill, paint::FillRect,
                 paint::FillVerticalGradient, paint::FillRoundedRect, paint::StrokeRoundedRect,
                 paint::FillEllipse, paint::StrokeEllipse, paint::DrawImage, paint::CopyPixels,
                 paint::DrawImageColumn, paint::DrawText, paint::DrawCalls>;

class PainterRecording {
public:
    PainterRecording() = default;
    explicit PainterRecording(CGSize size)
        : m_size(size)
    {
    }

    void add(PaintStep step) { m_steps.push_back(std::move(step)); }
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
    [[nodiscard]] const std::vector<PaintStep>& steps() const { return m_steps; }
    [[nodiscard]] std::size_t stepCount() const { return m_steps.size(); }
    // Whether the first step paints the whole size opaquely (see startsOpaque()). Where the size is
    // not a whole number of pixels its last row and column are only partly painted.
    [[nodiscard]] bool opaque() const { return m_opaque; }

private:
    CGSize m_size{};
    bool m_opaque{false};
    std::vector<PaintStep> m_steps;
};

} // namespace dazed
