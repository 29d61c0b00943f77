#include "render/LinePass.h"

#include "catalog/Catalog.h"
#include "render/CatalogueDirections.h"
#include "render/Passes.h"

namespace dazed {

int projectSegments(const SkyFrame& frame, std::span<const float> table, std::span<CGPoint> out,
                    std::span<const UnitVector> firstEnds)
{
    std::size_t n = 0;
    const std::size_t segments = table.size() / kLineStride;
    const bool prefilter = firstEnds.size() == segments;
    for (std::size_t i = 0; i < segments; ++i) {
        if (prefilter && surelyOutside(frame, firstEnds[i], kSegmentCosLimit))
            continue;
        const float* seg = table.data() + i * kLineStride;
        const double deltaAlpha1 = seg[0] - frame.alpha0;
        const double cosDa1 = std::cos(deltaAlpha1);
        const double cosRho1 = cosDistance(frame, cosDa1, seg[4], seg[5]);
        // Only the first end is tested; a NaN distance fails the comparison and skips the segment.
        if (!closerThan(cosRho1, kSegmentLimit, kSegmentCosLimit))
            continue;
        if (n + 2 > out.size())
            break;
        const double deltaAlpha2 = seg[2] - frame.alpha0;
        const double cosDa2 = std::cos(deltaAlpha2);
        const double cosRho2 = cosDistance(frame, cosDa2, seg[6], seg[7]);
        const SkyPoint p1 = project(frame, std::sin(deltaAlpha1), cosDa1, seg[4], seg[5], cosRho1);
        const SkyPoint p2 = project(frame, std::sin(deltaAlpha2), cosDa2, seg[6], seg[7], cosRho2);
        out[n] = {toPoint(p1.x), toPoint(p1.y)};
        out[n + 1] = {toPoint(p2.x), toPoint(p2.y)};
        n += 2;
    }
    return static_cast<int>(n);
}

int linePass(const SkyFrame& frame, std::span<CGPoint> points)
{
    const int n = projectSegments(frame, {linesrd, static_cast<std::size_t>(kLineCount) * kLineStride},
                                  points, catalogueDirections().segmentStarts);
    // In label mode 2 the segments are still projected and counted, but nothing is stroked. All
    // kept segments go to the context in one call.
    if (frame.labels != LabelMode::None)
        CGContextStrokeLineSegments(frame.context, points.data(), static_cast<std::size_t>(n));
    return n;
}

} // namespace dazed
