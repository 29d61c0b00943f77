#include "platform/graphics/cairo/CairoPaint.h"

#include <cmath>

namespace dazed {

void setSourceColour(cairo_t* cr, const CairoPaint::Rgba& colour)
{
    cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, colour.alpha);
}

double deviceLineWidth(cairo_t* cr, float lineWidth)
{
    if (lineWidth > 0.0f)
        return lineWidth;
    // Cairo's device-to-user conversion stops short of the surface's device scale, so one pixel
    // is first expressed in the units that conversion starts from.
    double sx = 1.0;
    double sy = 1.0;
    cairo_surface_get_device_scale(cairo_get_target(cr), &sx, &sy);
    double dx = sx > 0.0 ? 1.0 / sx : 1.0;
    double dy = 0.0;
    cairo_device_to_user_distance(cr, &dx, &dy);
    const double width = std::hypot(dx, dy);
    return std::isfinite(width) && width > 0.0 ? width : 1.0;
}

void applyStroke(cairo_t* cr, const CairoPaint& paint)
{
    setSourceColour(cr, paint.stroke);
    cairo_set_line_width(cr, deviceLineWidth(cr, paint.lineWidth));
}

} // namespace dazed
