#pragma once

// The polygon Cairo fills for an ellipse, worked out without a cairo_t. CairoContext draws an
// ellipse as cairo_arc of the unit circle under a translation to the ellipse's centre and a scale
// by half its size; Cairo turns that arc into Bézier curves, rounds their points to its 24.8 fixed
// device coordinates and flattens the curves there by halving them until each piece is straight
// within the tolerance. Doing the same steps here, in the same order and with the same rounding,
// gives the same points, so that a small disc can be filled without Cairo's general machinery
// (DirectFill.h) and still look exactly as Cairo would draw it.

#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <vector>

namespace dazed {

// A point in Cairo's device coordinates: pixels times 256.
struct FixedPoint {
    std::int32_t x{0};
    std::int32_t y{0};

    friend bool operator==(const FixedPoint&, const FixedPoint&) = default;
};

// How a cairo_t whose matrix is a translation by (tx, ty) maps a user point onto its surface's
// pixels: (x, y) lands on ((x + tx) sx + dx, (y + ty) sy + dy), sx and sy being the surface's device
// scale and dx and dy its device offset.
struct DeviceMapping {
    double tx{0.0};
    double ty{0.0};
    double sx{1.0};
    double sy{1.0};
    double dx{0.0};
    double dy{0.0};
};

// The closed outline of the ellipse inscribed in `rect` (user units, positive finite size) as
// Cairo flattens it with `tolerance` (device pixels), in order, its first point repeated last.
// Replaces the contents of `outline`. The rectangle's device coordinates must lie well within
// ±8 million pixels, the range of Cairo's fixed point.
void ellipseOutline(CGRect rect, const DeviceMapping& mapping, double tolerance,
                    std::vector<FixedPoint>& outline);

} // namespace dazed
