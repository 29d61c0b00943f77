#pragma once

// The drawing context over a Cairo surface: image (PNG, the window), PDF or SVG. The caller owns
// the cairo_t and its surface and keeps them alive while this context is used; the pixel density
// comes from the surface's device scale (cairo_surface_set_device_scale).

#include "platform/graphics/CGContext.h"
#include "platform/graphics/CairoPaint.h"
#include "platform/graphics/DirectFill.h"
#include "platform/graphics/TextCache.h"

#include <cairo.h>
#include <memory>
#include <optional>
#include <vector>

namespace dazed {

class CairoContext final : public CGContext {
public:
    // What CGContextClearRect leaves: black, as an opaque view shows a cleared area, or
    // transparent, for a view that is not opaque.
    enum class ClearMode { Black, Transparent };

    explicit CairoContext(cairo_t* cr, ClearMode clearMode = ClearMode::Black);
    // A context whose cairo_t stays clipped to `visible` (in its user space) for the context's
    // life: discs wholly outside it would draw nothing and are not made into paths at all. Each
    // band of a frame drawn in bands is given every call, and most discs lie in other bands.
    CairoContext(cairo_t* cr, ClearMode clearMode, CGRect visible);
    ~CairoContext() override;
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;

#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments) void method parameters override;
#include "platform/graphics/DrawingCalls.def"

private:
    // One move followed by its lines and curves. The path is kept here rather than in the cairo_t
    // so that fills and text between the calls that build it cannot disturb it.
    struct PathStep {
        CGPoint to;
        bool curve{false};
        CGPoint control1{}; // for a curve
        CGPoint control2{};
    };
    using SubPath = std::vector<PathStep>;

    cairo_t* m_cr;
    ClearMode m_clearMode;
    std::optional<CGRect> m_visible;
    CairoPaint m_paint;
    std::vector<SubPath> m_path;
    cairo_font_face_t* m_font{nullptr};
    float m_fontSize{0.0f};
    CGTextDrawingMode m_textMode{kCGTextFill};
    CGAffineTransform m_textMatrix;
    // Faces and rendered text, reused on raster surfaces; shared by the whole process, not owned.
    TextCache& m_textCache;
    // Small discs filled straight into an image surface's pixels; null where the target does not
    // allow it (not an image, a transformation or clip other than Cairo's simplest).
    std::unique_ptr<DirectFill> m_direct;
};

} // namespace dazed
