#pragma once

#include "platform/graphics/Color.h"

namespace dazed {

// A colour value, made by the named constructors the controllers use.
class UIColor {
public:
    constexpr UIColor() = default;
    constexpr UIColor(float red, float green, float blue, float alpha)
        : m_rgba{red, green, blue, alpha}
    {
    }

    static constexpr UIColor blackColor() { return {0, 0, 0, 1}; }
    static constexpr UIColor whiteColor() { return {1, 1, 1, 1}; }
    static constexpr UIColor clearColor() { return {0, 0, 0, 0}; }
    static constexpr UIColor grayColor() { return {0.5f, 0.5f, 0.5f, 1}; }
    // The dark slate behind the reverse side of a flipped screen.
    static constexpr UIColor viewFlipsideBackgroundColor() { return {0.12f, 0.13f, 0.16f, 1}; }

    [[nodiscard]] constexpr RGBAColor rgba() const { return m_rgba; }
    [[nodiscard]] constexpr bool isClear() const { return m_rgba.alpha <= 0.0f; }
    friend constexpr bool operator==(const UIColor&, const UIColor&) = default;

private:
    RGBAColor m_rgba{0, 0, 0, 0};
};

} // namespace dazed
