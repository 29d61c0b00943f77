#pragma once

// Pixels and pictures compared: opaque colours as words, and how far apart two pictures are (the
// largest difference of any channel, in 1/255 steps).

#include "platform/graphics/image/Image.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace dazed::test {

// Opaque pixels as Image::pixelAt gives them (premultiplied ARGB words).
inline constexpr std::uint32_t kRed = 0xFFFF0000u;
inline constexpr std::uint32_t kBlue = 0xFF0000FFu;
inline constexpr std::uint32_t kBlack = 0xFF000000u;

// The largest difference of any channel between two premultiplied ARGB words.
inline int channelDifference(std::uint32_t a, std::uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8)
        worst = std::max(
            worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return worst;
}

// The largest difference of any channel of any pixel between two images of one size.
inline int worstChannelDifference(const Image& a, const Image& b)
{
    int worst = 0;
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < a.pixelWidth(); ++x)
            worst = std::max(worst, channelDifference(a.pixelAt(x, y), b.pixelAt(x, y)));
    return worst;
}

// Whether two images hold the same pixels, word for word (and are of one size).
inline bool samePixels(const Image& a, const Image& b)
{
    if (a.pixelWidth() != b.pixelWidth() || a.pixelHeight() != b.pixelHeight())
        return false;
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < a.pixelWidth(); ++x)
            if (a.pixelAt(x, y) != b.pixelAt(x, y))
                return false;
    return true;
}

} // namespace dazed::test
