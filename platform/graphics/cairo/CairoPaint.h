#pragma once

// The colours and line width a Cairo drawing context paints with, shared by its shapes and its
// text.

#include <cairo.h>

namespace dazed {

struct CairoPaint {
    // A colour as Cairo takes it: components in 0..1.
    struct Rgba {
        double red{0.0};
        double green{0.0};
        double blue{0.0};
        double alpha{1.0};
    };

    Rgba fill;
    Rgba stroke;
    float lineWidth{1.0f}; // user units (view points); 0 is the thinnest line the device shows
};

void setSourceColour(cairo_t* cr, const CairoPaint::Rgba& colour);

// The width Cairo strokes with in `cr`'s user units: `lineWidth` itself, or for 0 one device pixel,
// whatever the pixel density (the surface's device scale) and the current transformation.
double deviceLineWidth(cairo_t* cr, float lineWidth);

// The stroke colour and width of `paint`, set on `cr`.
void applyStroke(cairo_t* cr, const CairoPaint& paint);

} // namespace dazed
