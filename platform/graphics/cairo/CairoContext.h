#pragma once

// The drawing context over a Cairo surface: image (PNG, the window), PDF or SVG. The caller owns
// the cairo_t and its surface and keeps them alive while this context is used; the pixel density
// comes from the surface's device scale (cairo_surface_set_device_scale).

#include "platform/graphics/CGContext.h"
#include "platform/graphics/ScreenTint.h"
#include "platform/graphics/cairo/CairoPaint.h"
#include "platform/graphics/cairo/TextCache.h"

#include <cairo.h>
#include <vector>

namespace dazed {

class CairoContext final : public CGContext {
public:
    // What CGContextClearRect leaves: black, as an opaque view shows a cleared area, or
    // transparent, for a view that is not opaque.
    enum class ClearMode { Black, Transparent };

    // At night every colour the calls set is drawn in its night form (NightPicture.h).
    explicit CairoContext(cairo_t* cr, ClearMode clearMode = ClearMode::Black,
                          ScreenTint tint = ScreenTint::Day);
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
    ScreenTint m_tint;
    CairoPaint m_paint;
    std::vector<SubPath> m_path;
    cairo_font_face_t* m_font{nullptr};
    float m_fontSize{0.0f};
    CGTextDrawingMode m_textMode{kCGTextFill};
    CGAffineTransform m_textMatrix;
    // Faces and rendered text, reused on raster surfaces; shared by the whole process, not owned.
    TextCache& m_textCache;
};

} // namespace dazed
