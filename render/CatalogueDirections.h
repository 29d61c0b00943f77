#pragma once

// The fixed positions every frame projects, prepared once for the whole process (SkyDirection):
// the stars, the first ends of the constellation segments (the end a segment is kept by), the
// named stars and the constellation labels. The tables are
// constant, so the first use makes them and every later frame, on any thread, reads them.

#include "render/SkyDirection.h"

#include <span>

namespace dazed {

struct CatalogueDirections {
    std::span<const UnitVector> stars;         // one per row of starrd
    std::span<const UnitVector> segmentStarts; // one per row of linesrd: its first end
    std::span<const SkyDirection> starNames;   // one per row of starNamesP
    std::span<const SkyDirection> labels;      // one per row of posMoyLines
};

const CatalogueDirections& catalogueDirections();

} // namespace dazed
