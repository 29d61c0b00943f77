#include "platform/graphics/Image.h"

#include "platform/graphics/ImageImpl.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace dazed {

Image::Image(std::unique_ptr<Impl> impl, float scale)
    : m_impl(std::move(impl))
    , m_scale(scale)
{
}

Image::~Image() = default;

std::shared_ptr<Image> Image::create(CGSize size, float scale)
{
    if (!(scale > 0.0f))
        scale = 1.0f;
    const int w = std::max(1, static_cast<int>(std::ceil(std::max(0.0f, size.width) * scale)));
    const int h = std::max(1, static_cast<int>(std::ceil(std::max(0.0f, size.height) * scale)));
    auto impl = std::make_unique<Impl>();
    impl->surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    cairo_surface_set_device_scale(impl->surface.get(), scale, scale);
    return std::shared_ptr<Image>(new Image(std::move(impl), scale));
}

std::shared_ptr<Image> Image::loadPNG(const std::string& path, std::string* error, float scale)
{
    if (!(scale > 0.0f))
        scale = 1.0f;
    CairoSurfacePtr surface(cairo_image_surface_create_from_png(path.c_str()));
    const cairo_status_t status = cairo_surface_status(surface.get());
    if (status != CAIRO_STATUS_SUCCESS) {
        // Cairo reports most unreadable files as "out of memory"; say what the user can act on.
        if (error)
            *error = status == CAIRO_STATUS_FILE_NOT_FOUND ? "file not found" : "not a readable PNG file";
        return nullptr;
    }
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
