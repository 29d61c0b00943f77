#pragma once

// Draws one picture into an image file's bytes: PNG (raster, at a pixel density), SVG or PDF
// (vector, sized in points). Writing the bytes to disk is the caller's business, so that a failed
// export never leaves a half-written file.

#include "platform/Result.h"
#include "platform/graphics/CGContext.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace dazed {

enum class ImageFormat { Png, Svg, Pdf };

// The format a file name's extension names (".png", ".svg", ".pdf", any letter case), or none.
std::optional<ImageFormat> imageFormatForPath(std::string_view path);

// Runs `draw` with a fresh context of `size` points made current (UIGraphicsGetCurrentContext)
// and encodes the result. `scale` is the pixel density of PNG output; vector formats ignore it.
// The file's bytes, or why they could not be made.
Result<std::string> renderImage(ImageFormat format, CGSize size, double scale,
                                const std::function<void()>& draw);

} // namespace dazed
