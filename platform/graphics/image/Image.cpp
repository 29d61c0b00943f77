#include "platform/graphics/image/Image.h"

#include "platform/graphics/image/ImageImpl.h"
#include "platform/graphics/image/ImageMemory.h"
#include "platform/graphics/image/PixelSize.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace dazed {

Image::Image(std::unique_ptr<Impl> impl, float scale)
    : m_impl(std::move(impl))
    , m_scale(scale)
{
}

Image::~Image() = default;

std::shared_ptr<Image> Image::create(CGSize size, float scale)
{
    const PixelSize pixels = pixelSizeFor(size, scale);
    auto impl = std::make_unique<Impl>();
    impl->surface.reset(createArgbSurface(pixels.width, pixels.height));
    cairo_surface_set_device_scale(impl->surface.get(), pixels.scale, pixels.scale);
    return std::shared_ptr<Image>(new Image(std::move(impl), pixels.scale));
}

std::shared_ptr<Image> Image::borrowOpaquePixels(std::uint8_t* pixels, int pixelWidth, int pixelHeight,
                                                 int stride, float scale)
{
    if (!pixels || pixelWidth <= 0 || pixelHeight <= 0 || pixelWidth > kMaxImageSide ||
        pixelHeight > kMaxImageSide || stride % 4 != 0 ||
        stride < cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, pixelWidth))
        return nullptr;
    if (!(scale > 0.0f) || !std::isfinite(scale))
        scale = 1.0f;
    auto impl = std::make_unique<Impl>();
    impl->surface.reset(
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_RGB24, pixelWidth, pixelHeight, stride));
    if (cairo_surface_status(impl->surface.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    cairo_surface_set_device_scale(impl->surface.get(), scale, scale);
    return std::shared_ptr<Image>(new Image(std::move(impl), scale));
}

namespace {
// The bytes of the file at `path`: only a plain file is read, as a device or a pipe could feed it
// without end, and none larger than `limit`.
Result<std::string> readPictureFile(const std::string& path, std::uintmax_t limit)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return failure("file not found");
    if (!std::filesystem::is_regular_file(path, ec))
        return failure("not a file");
    const auto bytes = std::filesystem::file_size(path, ec);
    if (ec)
        return failure("cannot be read");
    if (bytes > limit)
        return failure("file too large for a picture");
    std::ifstream in(path, std::ios::binary);
    std::string data(static_cast<std::size_t>(bytes), '\0');
    if (!in.read(data.data(), static_cast<std::streamsize>(data.size())))
        return failure("cannot be read");
    return data;
}
} // namespace

Result<std::shared_ptr<Image>> Image::loadPNG(const std::string& path, float scale)
{
    DAZED_TRY(const std::string data, readPictureFile(path, kMaxPNGFileBytes));
    return decodePNG(data, scale);
}

namespace {

// Cairo reads the PNG stream through this: the bytes not yet handed over.
struct PNGSource {
    std::string_view rest;
};

cairo_status_t readPNGBytes(void* closure, unsigned char* data, unsigned int length)
{
    auto* source = static_cast<PNGSource*>(closure);
    if (length > source->rest.size())
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, source->rest.data(), length);
    source->rest.remove_prefix(length);
    return CAIRO_STATUS_SUCCESS;
}

std::uint32_t bigEndian32(std::string_view bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

} // namespace

Result<std::shared_ptr<Image>> Image::decodePNG(std::string_view bytes, float scale)
{
    if (!std::isfinite(scale) || !(scale > 0.0f))
        scale = 1.0f;
    // The signature, then the header chunk: length 13, "IHDR", width and height. The size is
    // checked before anything is decoded, so that a header claiming a huge picture is refused
    // instead of asking for its memory.
    constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
    if (bytes.size() < 24 || bytes.substr(0, 8) != kSignature || bytes.substr(12, 4) != "IHDR")
        return failure("not a readable PNG file");
    const std::uint32_t width = bigEndian32(bytes, 16);
    const std::uint32_t height = bigEndian32(bytes, 20);
    if (width > static_cast<std::uint32_t>(kMaxImageSide) ||
        height > static_cast<std::uint32_t>(kMaxImageSide) ||
        std::int64_t{width} * std::int64_t{height} > kMaxImagePixels)
        return failure("picture too large (" + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels; at most " + std::to_string(kMaxImageSide) + " a side and " +
                       std::to_string(kMaxImagePixels) + " in all)");
    PNGSource source{bytes};
    CairoSurfacePtr surface(cairo_image_surface_create_from_png_stream(readPNGBytes, &source));
    // Cairo reports most unreadable files as "out of memory"; say what the user can act on.
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return failure("not a readable PNG file");
    // Normalise to ARGB32 so that every image can be read and drawn the same way.
    if (cairo_image_surface_get_format(surface.get()) != CAIRO_FORMAT_ARGB32) {
        CairoSurfacePtr converted(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                                             cairo_image_surface_get_width(surface.get()),
                                                             cairo_image_surface_get_height(surface.get())));
        CairoPtr cr(cairo_create(converted.get()));
        cairo_set_source_surface(cr.get(), surface.get(), 0, 0);
        cairo_paint(cr.get());
        surface = std::move(converted);
    }
    // Drawn as a source, the surface then covers its size in points whatever its pixel density.
    cairo_surface_set_device_scale(surface.get(), scale, scale);
    auto impl = std::make_unique<Impl>();
    impl->surface = std::move(surface);
    return std::shared_ptr<Image>(new Image(std::move(impl), scale));
}

CGSize Image::size() const
{
    return {static_cast<float>(pixelWidth()) / m_scale, static_cast<float>(pixelHeight()) / m_scale};
}

int Image::pixelWidth() const
{
    return cairo_image_surface_get_width(m_impl->surface.get());
}

int Image::pixelHeight() const
{
    return cairo_image_surface_get_height(m_impl->surface.get());
}

int Image::stride() const
{
    return cairo_image_surface_get_stride(m_impl->surface.get());
}

const std::uint8_t* Image::pixels() const
{
    cairo_surface_flush(m_impl->surface.get());
    return cairo_image_surface_get_data(m_impl->surface.get());
}

std::uint32_t Image::pixelAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight())
        return 0;
    std::uint32_t word = 0;
    std::memcpy(&word,
                pixels() + static_cast<std::ptrdiff_t>(y) * stride() + static_cast<std::ptrdiff_t>(x) * 4,
                sizeof word);
    return word;
}

} // namespace dazed
