#include "render/StarPass.h"

#include "catalog/Angles.h"
#include "catalog/Catalog.h"
#include "render/CatalogueDirections.h"
#include "render/Passes.h"
#include "render/SkyFrame.h"

namespace dazed {

int starBandStart(double centreDeclination)
{
    const double k = centreDeclination - 45.0 + 90.0;
    if (!(k >= 0.0))
        return 0;
    if (k > 178.0)
        return 178;
    return static_cast<int>(k);
}

float discWidth(float magnitude)
{
    if (magnitude > 4.0f)
        return 2.0f;
    if (magnitude > 2.0f)
        return 4.0f;
    return 6.0f;
}

StarBand starBand(double centreDeclination)
{
    StarBand band;
    // The catalogue is sorted by declination: start at the index entry 44 to 45 degrees south of
    // the centre and stop after the first star more than 45 degrees north of it; that star is
    // visited like the others.
    band.first = static_cast<int>(starpt[starBandStart(centreDeclination)]);
    if (band.first < 0 || band.first >= kStarCount)
        band.first = 0;
    const double northLimit = degreesTimesPiOver180(centreDeclination) + kLabelLimit;
    // Sorted by declination, the catalogue is searched by halves for that first star. A NaN limit
    // is passed by no star: the band then runs to the end. (Written out rather than as
    // std::ranges::partition_point over std::views::iota, which Debian's clang 14 cannot compile
    // against its GCC 12 library, and the fuzzing build uses clang.)
    int below = band.first;
    int beyond = kStarCount;
    while (below < beyond) {
        const int middle = below + (beyond - below) / 2;
        if (double{starrd[static_cast<std::ptrdiff_t>(middle) * kStarStride + 1]} > northLimit)
            beyond = middle;
        else
            below = middle + 1;
    }
    band.last = beyond != kStarCount ? beyond : kStarCount - 1;
    return band;
}

void starDiscPass(const SkyFrame& frame)
{
    CGContextRef c = frame.context;
    CGContextSetRGBFillColor(c, 1, 1, 1, 1);
    const StarBand band = starBand(frame.centreDegrees);
    const std::span<const UnitVector> units = catalogueDirections().stars;
    for (int i = band.first; i <= band.last; ++i) {
        // Most of the band lies outside the circle: a dot product settles those.
        if (surelyOutside(frame, units[static_cast<std::size_t>(i)], kStarCosLimit))
            continue;
        const float* star = starrd + static_cast<std::ptrdiff_t>(i) * kStarStride;
        const double deltaAlpha = star[0] - frame.alpha0;
        const double cosDa = std::cos(deltaAlpha);
        const double cosRho = cosDistance(frame, cosDa, star[3], star[4]);
        if (cosRho > kStarCosLimit) {
            const SkyPoint p = project(frame, std::sin(deltaAlpha), cosDa, star[3], star[4], cosRho);
            const float w = discWidth(star[2]);
            CGContextFillEllipseInRect(c, CGRectMake(toPoint(p.x - w / 2.0), toPoint(p.y - w / 2.0), w, w));
        }
    }
}

} // namespace dazed
