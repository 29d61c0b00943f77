#pragma once

// Text as the chart writes it: Helvetica in the single-byte encoding, filled and outlined in the
// context's current colours, upright in the y-down view, with the baseline origin at the point
// given.

#include "platform/graphics/CGContext.h"
#include "platform/ui/DeviceFamily.h"

namespace dazed {

// Font sizes in points on a phone. On a tablet every text is 22 points.
inline constexpr float kSmallTextSize = 12.0f; // the "GC" mark
inline constexpr float kTextSize = 14.0f;      // names and labels (the frame's font) and the readout
inline constexpr float kTabletTextSize = 22.0f;

// Selects the font at `phoneSize`, then on a tablet again at 22 points, and sets the
// fill-and-outline mode and the text matrix (1, 0, 0, -1). Everything set here stays in force.
void selectTextFont(CGContextRef context, DeviceFamily family, float phoneSize);

// selectTextFont, then `text` (a null text is shown as an empty one) at (x, y).
void showText(CGContextRef context, DeviceFamily family, float phoneSize, float x, float y, const char* text);

} // namespace dazed
