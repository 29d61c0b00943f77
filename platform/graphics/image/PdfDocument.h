#pragma once

// A PDF document of several pages of one size, drawn through the drawing-context calls: vector
// output for printing, where one point is 1/72 inch. Like renderImage, it makes the bytes only;
// writing them to disk is the caller's business.

#include "platform/Result.h"
#include "platform/graphics/Geometry.h"

#include <functional>
#include <string>

namespace dazed {

// Runs `drawPage(i)` for i = 0 .. pageCount - 1, each with a fresh context current
// (UIGraphicsGetCurrentContext) on a page of `pageSizePoints`, and returns the document's bytes,
// or why they could not be made. The page size is in points and may be fractional (A4 is
// 595.28 x 841.89 points); a page count below 1 is an error.
Result<std::string> renderPdfDocument(double widthPoints, double heightPoints, int pageCount,
                                      const std::function<void(int)>& drawPage);

} // namespace dazed
