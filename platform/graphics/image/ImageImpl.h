#pragma once

// Private to platform/graphics: the Cairo surface behind an Image.

#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/graphics/image/Image.h"

namespace dazed {

struct Image::Impl {
    CairoSurfacePtr surface;
};

} // namespace dazed
