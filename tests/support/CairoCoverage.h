#pragma once

// Cairo's own coverage of a polygon, the reference the disc scan (CoverageScan.h) is held to by its
// tests and its fuzz target.

#include "platform/graphics/EllipseOutline.h"

#include <cairo.h>
#include <cstdint>
#include <cstring>
#include <vector>

namespace dazed::testing {

// Cairo's coverage of `polygon` (fixed point) filled with the non-zero rule into a size x size A8
// surface.
inline std::vector<std::uint8_t> cairoCoverage(const std::vector<dazed::FixedPoint>& polygon, int size)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_move_to(cr, polygon[0].x / 256.0, polygon[0].y / 256.0);
    for (std::size_t i = 1; i < polygon.size(); ++i)
        cairo_line_to(cr, polygon[i].x / 256.0, polygon[i].y / 256.0);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_surface_flush(surface);
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(size) * size);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < size; ++y)
        std::memcpy(alpha.data() + static_cast<std::ptrdiff_t>(y) * size,
                    data + static_cast<std::ptrdiff_t>(y) * stride, size);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return alpha;
}

// Whether Cairo's path would join two of the polygon's edges into one: a line continuing the one
// before it in the same direction replaces it, so Cairo's polygon would not be this one. (The
// outline of an ellipse is handed to the fill as curves, whose flattened points are never joined.)
inline bool pathJoinsEdges(const std::vector<dazed::FixedPoint>& closed)
{
    std::vector<dazed::FixedPoint> points;
    for (const dazed::FixedPoint& p : closed)
        if (points.empty() || points.back() != p)
            points.push_back(p);
    for (std::size_t i = 0; i + 2 < points.size(); ++i) {
        const std::int64_t ax = points[i + 1].x - points[i].x;
        const std::int64_t ay = points[i + 1].y - points[i].y;
        const std::int64_t bx = points[i + 2].x - points[i + 1].x;
        const std::int64_t by = points[i + 2].y - points[i + 1].y;
        if (ay * bx == by * ax && ((ax ^ bx) | (ay ^ by)) >= 0)
            return true;
    }
    return false;
}

} // namespace dazed::testing
