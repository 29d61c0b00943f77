#pragma once

// The screen for eyes adapted to the dark: every colour turned to a red of no more light than it
// had, on black. A night image (ScreenTint.h) is drawn in such colours in the first place, which
// costs nothing per pixel; pictures drawn into one are turned red on the way in.

#include "platform/graphics/Color.h"

#include <cstdint>
#include <memory>

namespace dazed {

class Image;

// Green's and blue's weights over red's in the luminance (Rec. 709: 0.7152 / 0.2126 = 3.364 and
// 0.0722 / 0.2126 = 0.3396), in 1/256 and rounded down (861 = 3 x 256 + 93, and 86), so that the
// red made of them never gives more light than the colour it stands for.
inline constexpr int kNightGreenWeight256 = 861;
inline constexpr int kNightBlueWeight256 = 86;

// The night form of one premultiplied ARGB pixel (native byte order): alpha kept, green and blue
// 0, and red the pixel's luminance (Rec. 709 weights on the stored, gamma-encoded values) divided
// by red's own weight, so that the red pixel gives off the same luminance as the original where
// red alone can, and capped at the pixel's largest channel, so that no channel grows. White stays
// full red, pure red stays as it is, a pure blue of 255 becomes a red of 85 (86.6 would give the
// same luminance), black stays black. Premultiplied values need no unpremultiplying: the mapping
// scales with alpha.
[[nodiscard]] constexpr std::uint32_t nightPixel(std::uint32_t argb)
{
    // Sixteen bits a channel are enough for every step below, and let the compiler put eight
    // pixels' channels in one vector register where thirty-two would take four.
    using Wide = std::uint16_t;
    const auto r = static_cast<Wide>((argb >> 16) & 0xFFu);
    const auto g = static_cast<Wide>((argb >> 8) & 0xFFu);
    const auto b = static_cast<Wide>(argb & 0xFFu);
    // Green's weight split into its whole 3 and its fraction, so that 93 x 255 + 86 x 255 fits in
    // sixteen bits.
    static_assert(kNightGreenWeight256 == 3 * 256 + 93 && kNightBlueWeight256 == 86);
    const auto fraction = static_cast<Wide>(static_cast<Wide>(93 * g + 86 * b) >> 8);
    const auto equalLight = static_cast<Wide>(r + 3 * g + fraction);
    Wide brightest = r > g ? r : g;
    brightest = brightest > b ? brightest : b;
    const std::uint32_t red = equalLight < brightest ? equalLight : brightest;
    return (argb & 0xFF000000u) | (red << 16);
}

// The night form of a colour (not premultiplied), by the same rule: alpha kept, green and blue 0,
// red the colour's luminance over red's weight, capped at its largest component. Drawn over black
// or blended with other night colours it gives pixels of no more light than the day colours
// would, and none with green or blue.
[[nodiscard]] constexpr RGBAColor nightColour(RGBAColor colour)
{
    const float equalLight = colour.red + colour.green * (kNightGreenWeight256 / 256.0f) +
                             colour.blue * (kNightBlueWeight256 / 256.0f);
    float brightest = colour.red > colour.green ? colour.red : colour.green;
    brightest = brightest > colour.blue ? brightest : colour.blue;
    return {equalLight < brightest ? equalLight : brightest, 0.0f, 0.0f, colour.alpha};
}

// Turns every pixel of `image` to its night form in place, in bands on the task pool's threads.
void turnNight(Image& image);

// A night image of `image`'s size and scale holding its pixels' night forms.
[[nodiscard]] std::shared_ptr<Image> nightCopy(const Image& image);

} // namespace dazed
