#include "app/CatalogSummary.h"

#include "catalog/Angles.h"
#include "catalog/Catalog.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace dazed {

namespace {
double starField(int star, int field)
{
    return static_cast<double>(starrd[star * kStarStride + field]);
}
} // namespace

void printCatalogSummary(std::ostream& out)
{
    double brightest = starField(0, 2);
    double faintest = brightest;
    for (int i = 0; i < kStarCount; ++i) {
        brightest = std::min(brightest, starField(i, 2));
        faintest = std::max(faintest, starField(i, 2));
    }
    out << kStarCount << " stars, magnitudes " << brightest << " to " << faintest << ", declinations "
        << radiansTimesDegreesPerRadian(starField(0, 1)) << " to "
        << radiansTimesDegreesPerRadian(starField(kStarCount - 1, 1)) << " deg\n";
    out << kLineCount << " constellation segments\n";
    out << kStarNameCount << " named stars, " << kConstellationCount << " constellation label rows\n";
}

} // namespace dazed
