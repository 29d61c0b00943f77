#pragma once

#include "platform/graphics/painter/UIPainter.h"

namespace dazed {

// A font: the system sans at a size, regular or bold.
class UIFont {
public:
    static UIFont systemFontOfSize(float size) { return UIFont(size, FontWeight::Regular); }
    static UIFont boldSystemFontOfSize(float size) { return UIFont(size, FontWeight::Bold); }

    [[nodiscard]] float pointSize() const { return m_spec.size; }
    [[nodiscard]] const FontSpec& spec() const { return m_spec; }

private:
    UIFont(float size, FontWeight weight)
        : m_spec{FontSpec::kSystemFamily, size, weight}
    {
    }
    FontSpec m_spec;
};

} // namespace dazed
