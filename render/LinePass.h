#pragma once

// Projection of the constellation segments around the view centre.

#include "platform/graphics/Geometry.h"
#include "render/SkyFrame.h"

#include <span>

namespace dazed {

// Projects the segments of `table` (records of RA1, Dec1, RA2, Dec2, sin Dec1, cos Dec1, sin Dec2,
// cos Dec2, as linesrd holds them) whose first end lies within 2 pi / 7 of the view centre, in
// table order, into `out`: two consecutive entries per kept segment, first end first. The second
// end is projected wherever it lies. Storing stops when `out` cannot take another pair, so a
// table denser than the catalogue never overruns the buffer. Returns the number of entries
// written (always even). `firstEnds`, when given, holds the unit vector of every row's first end
// (one per row): rows surely beyond the limit are then passed over without evaluating their
// distance exactly, with the same result.
int projectSegments(const SkyFrame& frame, std::span<const float> table, std::span<CGPoint> out,
                    std::span<const UnitVector> firstEnds = {});

} // namespace dazed
