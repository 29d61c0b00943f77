#pragma once

// A drawing context (the CGContext calls) that draws into an Image, for a view's drawRect.

#include "platform/graphics/CGContext.h"
#include "platform/graphics/Image.h"

#include <memory>

namespace dazed {

class ImageContext {
public:
    // What CGContextClearRect leaves: black for an opaque view, transparent otherwise.
    enum class Clear { Black, Transparent };

    // `origin` is where the context's (0, 0) lies in the image, in points. The image must outlive this.
    ImageContext(Image& target, CGPoint origin, Clear clear);
    ~ImageContext();
    ImageContext(const ImageContext&) = delete;
    ImageContext& operator=(const ImageContext&) = delete;

    [[nodiscard]] CGContextRef context() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace dazed
