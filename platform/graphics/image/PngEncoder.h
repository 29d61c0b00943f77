#pragma once

// PNG encoding of a Cairo ARGB32 image through libpng, tuned for speed: zlib's fastest level with
// its run-length strategy and no row filter. The chart is mostly flat black with thin strokes and
// small text, which such a setting compresses about as well as the slowest one, in a fraction of
// the time.

#include "platform/Result.h"

#include <string>

namespace dazed {

// An image as Cairo keeps it: rows of native-endian 32-bit words 0xAARRGGBB, colour premultiplied
// by alpha, `stride` bytes apart.
struct ArgbPixels {
    const unsigned char* data{nullptr};
    int width{0};
    int height{0};
    int stride{0};
};

// The PNG file of `image`. A fully opaque image is written as 8-bit RGB, anything else as 8-bit
// RGBA with the colour unpremultiplied (rounded as Cairo's own PNG writer does, so that reading
// the file back with Cairo gives the same pixels Cairo's writer would). Fails for an empty image
// or a stride shorter than a row, and when libpng reports an error.
Result<std::string> encodePng(const ArgbPixels& image);

} // namespace dazed
