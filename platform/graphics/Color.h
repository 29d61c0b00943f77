#pragma once

namespace dazed {

// A colour as red, green, blue and alpha in 0..1, not premultiplied.
struct RGBAColor {
    float red{0.0f};
    float green{0.0f};
    float blue{0.0f};
    float alpha{0.0f};

    friend bool operator==(const RGBAColor&, const RGBAColor&) = default;
};

} // namespace dazed
