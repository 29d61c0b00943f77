#pragma once

// The passes of the sky layer: drawn only when the frame carries a place's sky (frame.sky), around
// the chart's own passes, whose order and calls they leave alone. drawRect runs the ground first,
// right after clearing the view and before the frame set-up (so that the set-up's colours and
// width are those the chart's passes start from), and the others after the stars, before the
// centre cross, which sets all it uses and stays the frame's last call.

#include "platform/graphics/Color.h"
#include "render/SkyFrame.h"

namespace dazed {

// The layer's colours. The ground is a dark earth, apart from the black sky and from every line of
// the chart; the horizon and its marks a light earth colour, apart from the red ecliptic, the
// green equator and the blue figures.
inline constexpr RGBAColor kGroundColour{0.16f, 0.11f, 0.05f, 1.0f};
inline constexpr RGBAColor kHorizonColour{0.85f, 0.6f, 0.25f, 1.0f};
inline constexpr RGBAColor kSunColour{1.0f, 0.85f, 0.3f, 1.0f};
inline constexpr RGBAColor kMoonLitColour{0.93f, 0.93f, 0.86f, 1.0f};
inline constexpr RGBAColor kMoonDarkColour{0.22f, 0.22f, 0.26f, 1.0f};
inline constexpr RGBAColor kPlanetColour{1.0f, 0.72f, 0.42f, 1.0f};
inline constexpr RGBAColor kBodyNameColour{1.0f, 0.8f, 0.45f, 1.0f};
// Smallest disc of the Sun and the Moon, points: larger than the brightest stars' 6.
inline constexpr double kMinLuminaryDiameter = 8.0;

// The part of the view below the horizon, tinted: nothing when the horizon misses the view on the
// sky's side, one rectangle when the view is all ground, else one wide stroke along the horizon
// whose other edges lie outside the view.
void groundPass(const SkyFrame& frame);

// The horizon's line, N, E, S and W where they fall on it, and a mark on the zenith.
void horizonPass(const SkyFrame& frame);

// The Sun and the Moon as discs of their angular size (never smaller than a bright star), the
// Moon lit on the side facing the Sun, the planets as discs sized by magnitude, each named.
void solarSystemPass(const SkyFrame& frame);

// The local date and time and the place, on a line under the readout's panel.
void placeReadoutPass(const SkyFrame& frame);

} // namespace dazed
