// A picture from the bytes of a PNG file, chunk checksums corrected: decoded as UIImage does, then shown in
// an image view whose picture is drawn as the display cycle would. A picture beyond the size limits is
// refused before it is decoded.

#include "FuzzTarget.h"
#include "platform/graphics/image/PixelSize.h"
#include "platform/graphics/painter/UIPainter.h"
#include "platform/ui/UIImage.h"

#include <algorithm>
#include <string>

namespace {

std::uint32_t crc32(std::string_view bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The bytes with every whole chunk's checksum made right: a mutated chunk would otherwise be
// refused at its checksum, and the decoder behind it never reached.
std::string withChunkChecksums(std::string_view in)
{
    std::string out(in);
    std::size_t at = 8; // after the signature
    while (at + 12 <= out.size()) {
        std::uint32_t length = 0;
        for (std::size_t i = 0; i < 4; ++i)
            length = (length << 8) | static_cast<unsigned char>(out[at + i]);
        if (length > out.size() - at - 12)
            break;
        const std::uint32_t crc = crc32(std::string_view(out).substr(at + 4, 4 + std::size_t{length}));
        const std::size_t crcAt = at + 8 + length;
        for (std::size_t i = 0; i < 4; ++i)
            out[crcAt + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFFu);
        at = crcAt + 4;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace dazed;
    const std::string bytes = withChunkChecksums(fuzz::bytes(data, size));
    // As a high-density file: the size in points is half the pixels.
    auto decoded = Image::decodePNG(bytes, 2.0f);
    if (!decoded) {
        const std::string& error = decoded.error().message;
        fuzz::require(!error.empty() && error.find('\n') == std::string::npos,
                      "a refusal says why in one line");
        return 0;
    }
    const std::shared_ptr<Image> image = std::move(decoded).value();
    fuzz::require(image->pixelWidth() >= 1 && image->pixelWidth() <= kMaxImageSide &&
                      image->pixelHeight() >= 1 && image->pixelHeight() <= kMaxImageSide,
                  "a decoded picture lies within the limits");
    UIImageView view(std::make_shared<UIImage>(image));
    (void)view.updateBackingStore(1.0f);
    const auto& drawn = view.drawnPixelSize();
    fuzz::require(drawn && drawn->width == std::max(1, (image->pixelWidth() + 1) / 2),
                  "the view is as wide as the picture in points");
    // Painted as the display paints it into the screen.
    const auto screen = Image::create(view.pictureSize(), 1.0f);
    UIPainter painter(*screen);
    view.paint(painter, {});
    (void)screen->pixelAt(0, 0);
    return 0;
}
