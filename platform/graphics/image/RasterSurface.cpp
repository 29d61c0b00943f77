#include "platform/graphics/image/RasterSurface.h"

#include "platform/graphics/cairo/CairoContext.h"
#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/graphics/image/Image.h"
#include "platform/graphics/image/ImageMemory.h"
#include "platform/graphics/image/PngEncoder.h"
#include "platform/graphics/parallel/CairoBands.h"

#include <cmath>
#include <cstring>

namespace dazed {

struct RasterSurface::Impl {
    CairoSurfacePtr surface;
    CairoPtr cr;
    std::unique_ptr<CairoContext> context;
    int width{0};
    int height{0};
};

namespace {
// Large enough for a tablet at triple density; beyond it a request is almost surely a mistake.
constexpr double kMaxPixels = 16384.0;

int pixelsFor(float points, double scale)
{
    const double pixels = std::round(double{points} * scale);
    if (!(pixels >= 1.0) || pixels > kMaxPixels)
        return 0;
    return static_cast<int>(pixels);
}
} // namespace

RasterSurface::RasterSurface(float widthPoints, float heightPoints, double scale)
    : m_impl(std::make_unique<Impl>())
{
    if (!(scale > 0.0) || !std::isfinite(scale))
        return;
    const int w = pixelsFor(widthPoints, scale);
    const int h = pixelsFor(heightPoints, scale);
    if (w == 0 || h == 0)
        return;
    CairoSurfacePtr surface(createArgbSurface(w, h));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return;
    cairo_surface_set_device_scale(surface.get(), scale, scale);
    CairoPtr cr(cairo_create(surface.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return;
    m_impl->context = std::make_unique<CairoContext>(cr.get(), CairoContext::ClearMode::Black);
    m_impl->surface = std::move(surface);
    m_impl->cr = std::move(cr);
    m_impl->width = w;
    m_impl->height = h;
}

RasterSurface::~RasterSurface()
{
    // The context refers to the cairo_t, which refers to the surface: release in that order.
    if (m_impl) {
        m_impl->context.reset();
        m_impl->cr.reset();
        m_impl->surface.reset();
    }
}

bool RasterSurface::ok() const
{
    return m_impl->context != nullptr;
}

int RasterSurface::pixelWidth() const
{
    return m_impl->width;
}

int RasterSurface::pixelHeight() const
{
    return m_impl->height;
}

CGContextRef RasterSurface::context()
{
    return m_impl->context.get();
}

namespace {
// Cairo stores premultiplied colour; undo it so that tests compare plain colours.
Rgba8 unpremultiplied(const unsigned char* argbPixel)
{
    std::uint32_t argb = 0;
    std::memcpy(&argb, argbPixel, sizeof argb);
    const std::uint32_t a = argb >> 24;
    auto channel = [a](std::uint32_t premultiplied) {
        return static_cast<std::uint8_t>(a == 0 ? 0 : (premultiplied * 255 + a / 2) / a);
    };
    return {channel((argb >> 16) & 0xFF), channel((argb >> 8) & 0xFF), channel(argb & 0xFF),
            static_cast<std::uint8_t>(a)};
}

std::vector<Rgba8> allPixels(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    std::vector<Rgba8> result;
    result.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.push_back(unpremultiplied(data + static_cast<std::ptrdiff_t>(y) * stride + x * 4));
    return result;
}
} // namespace

Rgba8 RasterSurface::pixel(int px, int py) const
{
    if (!ok() || px < 0 || py < 0 || px >= m_impl->width || py >= m_impl->height)
        return {};
    cairo_surface_flush(m_impl->surface.get());
    const unsigned char* data = cairo_image_surface_get_data(m_impl->surface.get());
    const int stride = cairo_image_surface_get_stride(m_impl->surface.get());
    return unpremultiplied(data + static_cast<std::ptrdiff_t>(py) * stride + px * 4);
}

std::vector<Rgba8> RasterSurface::pixels() const
{
    if (!ok())
        return {};
    return allPixels(m_impl->surface.get());
}

Rgba8 RasterSurface::pixelAtPoint(float x, float y) const
{
    if (!ok() || !std::isfinite(x) || !std::isfinite(y))
        return {};
    double sx = 1.0;
    double sy = 1.0;
    cairo_surface_get_device_scale(m_impl->surface.get(), &sx, &sy);
    const double px = std::floor(double{x} * sx);
    const double py = std::floor(double{y} * sy);
    if (px < 0.0 || py < 0.0 || px >= m_impl->width || py >= m_impl->height)
        return {};
    return pixel(static_cast<int>(px), static_cast<int>(py));
}

void RasterSurface::drawRecorded(std::span<const DrawOp> ops, int bands)
{
    if (!ok())
        return;
    drawInBands(ops, m_impl->surface.get(), {}, CairoContext::ClearMode::Black,
                bands > 0 ? bands : bandsFor(m_impl->width, m_impl->height));
}

Result<std::string> RasterSurface::encodePng() const
{
    if (!ok())
        return failure("cannot encode an image that could not be made");
    cairo_surface_flush(m_impl->surface.get());
    const ArgbPixels image{cairo_image_surface_get_data(m_impl->surface.get()), m_impl->width, m_impl->height,
                           cairo_image_surface_get_stride(m_impl->surface.get())};
    return dazed::encodePng(image);
}

Result<DecodedImage> decodePng(const std::string& bytes)
{
    DAZED_TRY(const std::shared_ptr<Image> image, Image::decodePNG(bytes));
    DecodedImage decoded;
    decoded.width = image->pixelWidth();
    decoded.height = image->pixelHeight();
    decoded.pixels.reserve(static_cast<std::size_t>(decoded.width) *
                           static_cast<std::size_t>(decoded.height));
    for (int y = 0; y < decoded.height; ++y) {
        for (int x = 0; x < decoded.width; ++x) {
            const std::uint32_t argb = image->pixelAt(x, y);
            decoded.pixels.push_back(unpremultiplied(reinterpret_cast<const unsigned char*>(&argb)));
        }
    }
    return decoded;
}

} // namespace dazed
