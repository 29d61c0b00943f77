// A polygon from the bytes, scanned into coverage as small discs are filled directly, and held
// against Cairo's own fill of the same polygon: every byte of coverage must be the same.

#include "FuzzTarget.h"
#include "platform/graphics/CoverageScan.h"
#include "tests/support/CairoCoverage.h"

#include <cairo.h>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kSize = 72;

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
    if (!slanted || dazed::testing::pathJoinsEdges(polygon))
        return 0;
    const std::vector<std::uint8_t> expected = dazed::testing::cairoCoverage(polygon, kSize);
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
