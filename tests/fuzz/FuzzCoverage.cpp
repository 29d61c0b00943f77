// A polygon from the bytes, scanned into coverage as small discs are filled directly, and held
// against Cairo's own fill of the same polygon: every byte of coverage must be the same.

#include "FuzzTarget.h"
#include "platform/graphics/CoverageScan.h"

#include <cairo.h>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kSize = 72;

std::vector<std::uint8_t> cairoCoverage(const std::vector<dazed::FixedPoint>& polygon)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    cairo_move_to(cr, polygon[0].x / 256.0, polygon[0].y / 256.0);
    for (std::size_t i = 1; i < polygon.size(); ++i)
        cairo_line_to(cr, polygon[i].x / 256.0, polygon[i].y / 256.0);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_surface_flush(surface);
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(kSize) * kSize);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < kSize; ++y)
        std::memcpy(alpha.data() + static_cast<std::ptrdiff_t>(y) * kSize,
                    data + static_cast<std::ptrdiff_t>(y) * stride, kSize);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return alpha;
}

// Whether Cairo's path would join two of the polygon's edges into one: a line continuing the one
// before it in the same direction replaces it, so Cairo's polygon would not be this one. (The
// outline of an ellipse is handed to the fill as curves, whose flattened points are never joined.)
bool pathJoinsEdges(const std::vector<dazed::FixedPoint>& closed)
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using dazed::FixedPoint;
    if (size < 1 + 3 * 3)
        return 0;
    // A polygon that does not cross itself, as the outline of a disc never does: points at
    // increasing angles around a centre, each at its own distance from it (up to `reach`
    // pixels). Each point takes three bytes: the angle's step, the distance, and a byte that may
    // put the point on a pixel's edge, a grid row's edge, or level or upright with the last.
    const double reach = 1 + data[0] % 30;
    const double centre = 36 * 256;
    std::vector<FixedPoint> polygon;
    double angle = 0;
    for (std::size_t i = 1; i + 2 < size && polygon.size() < 40; i += 3) {
        angle += (1 + data[i]) * (2 * 3.14159265358979 / 40 / 256);
        if (angle >= 2 * 3.14159265358979)
            break;
        const double distance = (1 + data[i + 1]) / 256.0 * reach * 256;
        FixedPoint p{static_cast<std::int32_t>(centre + distance * std::cos(angle)),
                     static_cast<std::int32_t>(centre + distance * std::sin(angle))};
        switch (data[i + 2] % 5) {
        case 0:
            p.y &= ~255;
            break;
        case 1:
            p.y = (p.y / 256) * 256 + (data[i + 2] / 5 % 15) * 256 / 15;
            break;
        case 2:
            p.x &= ~255;
            break;
        default:
            break;
        }
        polygon.push_back(p);
    }
    if (polygon.size() < 3)
        return 0;
    polygon.push_back(polygon.front());
    // Cairo fills a polygon of only level and upright edges as boxes, by another rule; the scan
    // is for curved outlines, which always have slanted edges.
    bool slanted = false;
    for (std::size_t i = 0; i + 1 < polygon.size(); ++i)
        slanted |= polygon[i].x != polygon[i + 1].x && polygon[i].y != polygon[i + 1].y;
    if (!slanted || pathJoinsEdges(polygon))
        return 0;
    const std::vector<std::uint8_t> expected = cairoCoverage(polygon);
    dazed::CoverageScanner scanner;
    const dazed::CoverageMask& mask = scanner.scan(polygon);
    dazed::fuzz::require(mask.width > 0, "a polygon within the scanner's reach gives a mask");
    std::vector<std::uint8_t> ours(static_cast<std::size_t>(kSize) * kSize, 0);
    for (int r = 0; r < mask.height; ++r)
        for (int c = 0; c < mask.width; ++c) {
            const int x = mask.left + c;
            const int y = mask.top + r;
            const bool inside = x >= 0 && x < kSize && y >= 0 && y < kSize;
            dazed::fuzz::require(inside || mask.row(r)[c] == 0, "no coverage outside the polygon's pixels");
            if (inside)
                ours[static_cast<std::size_t>(y * kSize + x)] = mask.row(r)[c];
        }
    dazed::fuzz::require(ours == expected, "the coverage Cairo gives the polygon");
    return 0;
}
