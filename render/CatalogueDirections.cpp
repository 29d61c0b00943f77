#include "render/CatalogueDirections.h"

#include "catalog/Catalog.h"

#include <vector>

namespace dazed {

namespace {
struct Tables {
    std::vector<UnitVector> stars;
    std::vector<UnitVector> segmentStarts;
    std::vector<SkyDirection> starNames;
    std::vector<SkyDirection> labels;

    Tables()
    {
        stars.reserve(kStarCount);
        for (int i = 0; i < kStarCount; ++i) {
            const float* star = starrd + static_cast<std::ptrdiff_t>(i) * kStarStride;
            stars.push_back(directionOfTable(star[0], star[3], star[4]).unit);
        }
        segmentStarts.reserve(kLineCount);
        for (int i = 0; i < kLineCount; ++i) {
            const float* seg = linesrd + static_cast<std::ptrdiff_t>(i) * kLineStride;
            segmentStarts.push_back(directionOfTable(seg[0], seg[4], seg[5]).unit);
        }
        starNames.reserve(kStarNameCount);
        for (int i = 0; i < kStarNameCount; ++i)
            starNames.push_back(directionOfHoursDegrees(starNamesP[i * kStarNameStride],
                                                        starNamesP[i * kStarNameStride + 1]));
        labels.reserve(kConstellationCount);
        for (int i = 0; i < kConstellationCount; ++i)
            labels.push_back(directionOfHoursDegrees(posMoyLines[i * kConstellationStride],
                                                     posMoyLines[i * kConstellationStride + 1]));
    }
};
} // namespace

const CatalogueDirections& catalogueDirections()
{
    static const Tables tables;
    static const CatalogueDirections directions{tables.stars, tables.segmentStarts, tables.starNames,
                                                tables.labels};
    return directions;
}

} // namespace dazed
