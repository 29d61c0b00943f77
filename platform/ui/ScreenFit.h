#pragma once

// Whose size the device's screen has: the device family's (a phone's or a tablet's, letterboxed
// into whatever window shows it), or the window's own, so that the screen fills it and is laid out
// again as the window changes size.

#include "platform/graphics/Geometry.h"

#include <algorithm>
#include <cmath>

namespace dazed {

enum class ScreenFit { Device, Window };

// A window-fitted screen is never smaller than this a side, in points: the info button (50
// points, 30 and 50 in from the corner), the readout and the page's 240-point button stay whole
// on it. A window smaller than that shows the screen of this size shrunk to fit, as a fixed
// device's screen is.
inline constexpr float kMinFittedScreenSide = 240.0f;
// Nor larger than this: beyond a few desktop monitors' width nothing more is shown, only more
// pixels written for each frame. A larger window shows the screen stretched to fit.
inline constexpr float kMaxFittedScreenSide = 4096.0f;

// The screen, in points, for a window of `window` points (its size in the desktop's coordinates),
// each side rounded to whole points and clamped to the limits above; a side that is not a number
// takes the smallest.
[[nodiscard]] inline CGSize fittedScreenSize(CGSize window)
{
    const auto side = [](float points) {
        if (!(points >= kMinFittedScreenSide))
            return kMinFittedScreenSide;
        return std::min(std::round(points), kMaxFittedScreenSide);
    };
    return {side(window.width), side(window.height)};
}

} // namespace dazed
