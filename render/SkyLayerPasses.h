#pragma once

// The passes of the sky layer: drawn only when the frame carries a place's sky (frame.sky), around
// the chart's own passes, whose order and calls they leave alone. drawRect runs the ground first,
// right after clearing the view and before the frame set-up (so that the set-up's colours and
// width are those the chart's passes start from), and the others after the centre cross.

#include "render/SkyFrame.h"

namespace dazed {

// The part of the view below the horizon, tinted: nothing when the horizon misses the view on the
// sky's side, one rectangle when the view is all ground, else bands stroked along the horizon.
void groundPass(const SkyFrame& frame);

// The horizon's line, N, E, S and W where they fall on it, and a mark on the zenith.
void horizonPass(const SkyFrame& frame);

// The Sun and the Moon as discs of their angular size (never smaller than a bright star), the
// Moon lit on the side facing the Sun, the planets as discs sized by magnitude, each named.
void solarSystemPass(const SkyFrame& frame);

// The local date and time and the place, on a line under the readout's panel.
void placeReadoutPass(const SkyFrame& frame);

} // namespace dazed
