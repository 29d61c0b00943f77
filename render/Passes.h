#pragma once

// The drawing passes of a frame, in the order drawRect runs them. Each draws from the frame it is
// given and nothing else: the context, the centre, the view's size, screen class, scale and label
// mode are all the frame's. Colours, line widths and fonts a pass does not set are those left by
// the frame set-up and the passes before it.

#include "platform/graphics/Geometry.h"
#include "render/SkyFrame.h"

#include <span>

namespace dazed {

// The constellation segments near the centre, projected into `points` (see projectSegments) and
// stroked in one call, except in label mode 2, where they are projected and counted but not
// stroked. Returns the number of points kept, always even.
int linePass(const SkyFrame& frame, std::span<CGPoint> points);

// The named stars within 45 degrees, grey, in the frame's font. drawRect runs it in label mode 1
// only.
void starNamePass(const SkyFrame& frame);

// The constellation labels within 45 degrees, green, in the frame's font. Label mode 2 sets the
// colour and width and writes nothing.
void constellationLabelPass(const SkyFrame& frame);

// "GC" and a small cross on the galactic centre when it lies within 45 degrees.
void galacticCentreMark(const SkyFrame& frame);

// The ecliptic and the equator as 48 dashes each.
void eclipticCurve(const SkyFrame& frame);
void equatorCurve(const SkyFrame& frame);

// The black panel at the top left and the sexagesimal readout of the centre in it.
void readoutPanel(const SkyFrame& frame);

// A white disc for each catalogue star within the star limit, sized by magnitude.
void starDiscPass(const SkyFrame& frame);

// A red cross of 20 points on the view centre, drawn last.
void centreCross(const SkyFrame& frame);

} // namespace dazed
