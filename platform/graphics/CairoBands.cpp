#include "platform/graphics/CairoBands.h"

#include "platform/graphics/CairoHandles.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace dazed {

namespace {
constexpr int kMaxBands = 4;

struct Band {
    int firstRow{0};
    int endRow{0};
};

// A context over rows [firstRow, endRow) of `image` only, drawing in the image's coordinates.
// False when Cairo cannot make it.
void clipTo(cairo_t* cr, const std::optional<CGRect>& clip)
{
    if (!clip)
        return;
    cairo_rectangle(cr, clip->minX(), clip->minY(), clip->size.width, clip->size.height);
    cairo_clip(cr);
}

bool drawBand(std::span<const DrawOp> ops, cairo_surface_t* image, CGPoint origin,
              CairoContext::ClearMode clear, Band band, const std::optional<CGRect>& clip)
{
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    CairoSurfacePtr rows(cairo_image_surface_create_for_data(
        data + static_cast<std::ptrdiff_t>(band.firstRow) * stride, cairo_image_surface_get_format(image),
        cairo_image_surface_get_width(image), band.endRow - band.firstRow, stride));
    if (cairo_surface_status(rows.get()) != CAIRO_STATUS_SUCCESS)
        return false;
    double sx = 1.0;
    double sy = 1.0;
    cairo_surface_get_device_scale(image, &sx, &sy);
    double dx = 0.0;
    double dy = 0.0;
    cairo_surface_get_device_offset(image, &dx, &dy);
    cairo_surface_set_device_scale(rows.get(), sx, sy);
    // Row firstRow of the image is row 0 of the band: every device coordinate moves up by a whole
    // number of pixels, which leaves every pixel's coverage as it was.
    cairo_surface_set_device_offset(rows.get(), dx, dy - band.firstRow);
    CairoPtr cr(cairo_create(rows.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return false;
    clipTo(cr.get(), clip);
    cairo_translate(cr.get(), origin.x, origin.y);
    {
        CairoContext context(cr.get(), clear);
        replay(ops, &context);
    }
    cairo_surface_flush(rows.get());
    return true;
}

// One context over the whole image, clipped to `band`'s rows when one is given.
void drawWhole(std::span<const DrawOp> ops, cairo_surface_t* image, CGPoint origin,
               CairoContext::ClearMode clear, const std::optional<CGRect>& clip, const Band* band = nullptr)
{
    CairoPtr cr(cairo_create(image));
    if (band) {
        double sx = 1.0;
        double sy = 1.0;
        cairo_surface_get_device_scale(image, &sx, &sy);
        cairo_rectangle(cr.get(), 0.0, band->firstRow / sy, cairo_image_surface_get_width(image) / sx,
                        (band->endRow - band->firstRow) / sy);
        cairo_clip(cr.get());
    }
    clipTo(cr.get(), clip);
    cairo_translate(cr.get(), origin.x, origin.y);
    CairoContext context(cr.get(), clear);
    replay(ops, &context);
}
} // namespace

int bandsFor(int pixelWidth, int pixelHeight)
{
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const long pixels = static_cast<long>(std::max(pixelWidth, 0)) * std::max(pixelHeight, 0);
    return static_cast<int>(
        std::clamp(std::min<long>(cores, pixels / kMinPixelsPerBand), 1L, long{kMaxBands}));
}

void drawInBands(std::span<const DrawOp> ops, cairo_surface_t* image, CGPoint origin,
                 CairoContext::ClearMode clear, int bands, std::optional<CGRect> clip)
{
    // Most views draw nothing of their own: no call, no pixel, no thread.
    if (ops.empty())
        return;
    const int height = cairo_image_surface_get_height(image);
    bands = std::clamp(bands, 1, std::max(1, height));
    if (bands == 1 || cairo_surface_get_type(image) != CAIRO_SURFACE_TYPE_IMAGE) {
        drawWhole(ops, image, origin, clear, clip);
        return;
    }
    // The bands write the image's pixels behind Cairo's back: it finishes whatever it has pending
    // first and is told afterwards.
    cairo_surface_flush(image);
    std::vector<Band> all;
    for (int i = 0; i < bands; ++i)
        all.push_back({height * i / bands, height * (i + 1) / bands});

    // One result a band, written by the band's thread only; read after every thread is joined.
    std::vector<char> drawn(all.size(), 0);
    std::vector<std::thread> threads;
    std::vector<std::size_t> leftOver;
    for (std::size_t i = 1; i < all.size(); ++i) {
        try {
            threads.emplace_back([&, i] { drawn[i] = drawBand(ops, image, origin, clear, all[i], clip); });
        } catch (const std::system_error&) {
            leftOver.push_back(i);
        }
    }
    drawn[0] = drawBand(ops, image, origin, clear, all[0], clip);
    for (std::size_t i : leftOver)
        drawn[i] = drawBand(ops, image, origin, clear, all[i], clip);
    for (std::thread& thread : threads)
        thread.join();
    cairo_surface_mark_dirty(image);
    // A band Cairo could not set up (out of memory) is drawn through the whole image, clipped.
    for (std::size_t i = 0; i < all.size(); ++i)
        if (!drawn[i])
            drawWhole(ops, image, origin, clear, clip, &all[i]);
}

} // namespace dazed
