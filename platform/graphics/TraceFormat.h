#pragma once

// One recorded drawing call as a line of JSON: {"op":"CGContextFillEllipseInRect","args":[...]}.
// The arguments follow the context in call order: rectangles as x, y, width, height; colours as
// r, g, b, a; points as x, y; a point list as [[x, y], ...] followed by the count; text as a
// string followed by its length. Every number is written in the shortest decimal form that reads
// back to the same value of its own type (float arguments as floats).

#include "platform/graphics/RecordingContext.h"

#include <string>

namespace dazed {

std::string traceLine(const DrawOp& op);

} // namespace dazed
