#pragma once

// Where to cut a recorded frame into bands of rows that take about as long to rasterise as each
// other. The bands of a frame are drawn at the same time, one a core, and the frame is done when
// its slowest band is: cut into halves of equal height, a chart whose constellation figures crowd
// into one half leaves the other core idle for a good part of the frame. The work of each call
// is estimated from what it covers, row by row, and the cuts are put where the estimate splits
// evenly.

#include "platform/graphics/RecordingContext.h"

#include <optional>
#include <span>
#include <vector>

namespace dazed {

// The first pixel row of each of `bands` bands of an image `height` rows high, for drawing `ops`
// with their origin moved to `origin` (points) at `pixelsPerPoint` pixels a point and clipped to
// `clip` (points, before the move; none leaves the whole image): 0 first, then increasing, every
// band at least a row high. Bands that cannot each have a row are fewer (none for an image without
// rows). Where the calls give no estimate (nothing drawn where it shows, or coordinates that are
// not numbers) the bands are of equal height.
std::vector<int> bandStartsFor(std::span<const DrawOp> ops, CGPoint origin, double pixelsPerPoint, int height,
                               int bands, std::optional<CGRect> clip = std::nullopt);

} // namespace dazed
