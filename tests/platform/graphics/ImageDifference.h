#pragma once

// Pixels and pictures compared: opaque colours as words, and how far apart two pictures are (the
// largest difference of any channel, in 1/255 steps).

#include "platform/graphics/image/Image.h"
#include "platform/graphics/image/NightPicture.h"

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

// A picture drawn at night against the same picture drawn by day. Drawn in night colours, a blend
// of colours (a name's outline over its fill, a star on a line) is not the night form of the
// day's blend: each colour's red is its own light, at least a third of its brightest channel
// (blue's weight over red's), so a blend gives no more light than the day's and at least a third
// of what the day pixel's night form shows.
struct NightComparison {
    // Pixels of the night picture with any green or blue.
    int greenOrBlue{0};
    // Pixels giving more light than the day pixel does, beyond a step of rounding.
    int brighter{0};
    // Pixels with less than a third of the red of the day pixel's night form, beyond rounding.
    int faded{0};
    // Pixels that are the day pixel's night form within two steps.
    int asNightForm{0};
    int pixels{0};
};

// Compares `night` with `day`, images of one size, pixel for pixel.
inline NightComparison compareNight(const Image& day, const Image& night)
{
    const auto luminance = [](std::uint32_t p) {
        return 0.2126 * ((p >> 16) & 0xFF) + 0.7152 * ((p >> 8) & 0xFF) + 0.0722 * (p & 0xFF);
    };
    NightComparison result;
    for (int y = 0; y < day.pixelHeight(); ++y)
        for (int x = 0; x < day.pixelWidth(); ++x) {
            const std::uint32_t d = day.pixelAt(x, y);
            const std::uint32_t n = night.pixelAt(x, y);
            const std::uint32_t expected = nightPixel(d);
            ++result.pixels;
            if ((n & 0xFFFFu) != 0)
                ++result.greenOrBlue;
            if (luminance(n) > luminance(d) + 1.0)
                ++result.brighter;
            if (3 * (((n >> 16) & 0xFF) + 2) < ((expected >> 16) & 0xFF))
                ++result.faded;
            if (channelDifference(n, expected) <= 2)
                ++result.asNightForm;
        }
    return result;
}

} // namespace dazed::test
