#pragma once

// Small opaque ellipses filled straight into an image surface's pixels, with the very bytes
// cairo_fill would leave. A star chart draws hundreds of discs a few pixels wide each frame, and
// Cairo's general fill (path, polygon, clip, compositor, scan converter set up and torn down)
// costs several times the scan of so small a shape. Here the outline (EllipseOutline.h) and its
// coverage (CoverageScan.h) are worked out as Cairo would, and blended into the pixels with
// Cairo's own rounding; everything else is left to Cairo.

#include "platform/graphics/CairoPaint.h"
#include "platform/graphics/CoverageScan.h"
#include "platform/graphics/EllipseOutline.h"
#include "platform/graphics/Geometry.h"

#include <cairo.h>
#include <memory>
#include <vector>

namespace dazed {

class DirectFill {
public:
    // A direct fill over `cr`, when its target allows one: an image surface of 32-bit pixels,
    // drawn through a matrix that only translates and a clip of at most one rectangle. Null
    // otherwise. `cr` must outlive the result.
    static std::unique_ptr<DirectFill> over(cairo_t* cr);

    // Fills the ellipse inscribed in `rect` (user units, positive size) with `colour` as
    // cairo_arc and cairo_fill of it would, and returns true. Returns false, having drawn
    // nothing, where Cairo has to draw: a colour not wholly opaque, an ellipse that reaches the
    // clip's edge or is too large, or a cairo_t whose operator, fill rule, antialiasing,
    // tolerance or matrix no longer allow it.
    bool fillEllipse(CGRect rect, const CairoPaint::Rgba& colour);

private:
    // Pixels [left, right) x [top, bottom) may be written: the clip and the surface.
    struct PixelBox {
        int left{0};
        int top{0};
        int right{0};
        int bottom{0};
    };

    DirectFill(cairo_t* cr, cairo_surface_t* surface, const DeviceMapping& mapping, PixelBox box);
    bool contextAllows() const;

    cairo_t* m_cr;
    cairo_surface_t* m_surface;
    unsigned char* m_pixels;
    int m_stride;
    DeviceMapping m_mapping;
    PixelBox m_box;
    std::vector<FixedPoint> m_outline;
    CoverageScanner m_scanner;
};

} // namespace dazed
