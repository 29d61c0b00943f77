#pragma once

// Private to platform/graphics: the Cairo surface behind an Image.

#include "platform/graphics/CairoHandles.h"
#include "platform/graphics/Image.h"

namespace dazed {

struct Image::Impl {
    CairoSurfacePtr surface;
};

} // namespace dazed
