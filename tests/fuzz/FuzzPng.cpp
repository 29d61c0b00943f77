// A picture from the bytes of a PNG file: decoded as UIImage does, then shown in an image view whose
// picture is drawn as the display cycle would. A picture beyond the size limits is refused before
// it is decoded.

#include "FuzzTarget.h"
#include "platform/graphics/PixelSize.h"
#include "platform/ui/UIImage.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace dazed;
    std::string error;
    // As a high-density file: the size in points is half the pixels.
    auto image = Image::decodePNG(fuzz::bytes(data, size), &error, 2.0f);
    if (!image) {
        fuzz::require(!error.empty() && error.find('\n') == std::string::npos,
                      "a refusal says why in one line");
        return 0;
    }
    fuzz::require(image->pixelWidth() >= 1 && image->pixelWidth() <= kMaxImageSide &&
                      image->pixelHeight() >= 1 && image->pixelHeight() <= kMaxImageSide,
                  "a decoded picture lies within the limits");
    UIImageView view(std::make_shared<UIImage>(image));
    const auto& picture = view.updateBackingStore(1.0f);
    fuzz::require(picture && picture->pixelWidth() == std::max(1, (image->pixelWidth() + 1) / 2),
                  "the view is as wide as the picture in points");
    (void)picture->pixelAt(0, 0);
    return 0;
}
