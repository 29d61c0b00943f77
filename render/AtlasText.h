#pragma once

// Text on an atlas page: Helvetica in the single-byte encoding, filled, upright on the y-down page.

#include "platform/graphics/CGContext.h"
#include "render/AtlasStyle.h"

#include <string_view>

namespace dazed {

enum class TextAnchor { Left, Centre, Right };

// Writes `text` at `size` points with its baseline at y and, by the anchor, its left end, middle or
// right end at x. Helvetica's average advance (a little over half the size) stands in for the
// measured width, which the drawing calls do not give.
void pageText(CGContextRef c, Rgb colour, float size, double x, double y, std::string_view text,
              TextAnchor anchor = TextAnchor::Left);

void setFill(CGContextRef c, Rgb colour);
void setStroke(CGContextRef c, Rgb colour);

} // namespace dazed
