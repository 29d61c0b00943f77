#pragma once

// A drawing context (the CGContext calls) that draws into an Image, for a view's drawRect, in the
// image's tint.

#include "platform/graphics/CGContext.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/image/Image.h"

#include <memory>
#include <optional>
#include <span>

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

// Makes the recorded calls into `target` as an ImageContext with the same origin and clear would,
// clipped to `clip` (points) when one is given, with the image cut into horizontal bands drawn at
// the same time on every core (CairoBands.h).
void drawRecorded(Image& target, CGPoint origin, ImageContext::Clear clear, std::span<const DrawOp> ops,
                  std::optional<CGRect> clip = std::nullopt);

} // namespace dazed
