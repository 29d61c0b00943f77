#pragma once

// PNG encoding of a Cairo ARGB32 image, tuned for speed: zlib's run-length strategy, no row
// filter, and bands of rows compressed on all cores at once. The chart is mostly flat black with thin strokes
// and small text, which such a setting compresses as well as the slowest one, at a fraction of the time.

#include <cstdint>
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

// Replaces `bytes` with the PNG file. A fully opaque image is written as
// 8-bit RGB, anything else as 8-bit RGBA with the colour unpremultiplied (rounded as Cairo's own
// PNG writer does, so that reading the file back with Cairo gives the same pixels Cairo's writer
// would). False when the image is empty or compression fails; `bytes` is then unspecified.
bool encodePng(const ArgbPixels& image, std::string& bytes);

} // namespace dazed
