#include "platform/graphics/parallel/CairoBands.h"

#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/graphics/parallel/ParallelTasks.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace dazed {

namespace {
constexpr int kMaxBands = 4;

struct Band {
    int firstRow{0};
    int endRow{0};
};

// How a surface's points map to its pixels: (x, y) lands on (x * sx + dx, y * sy + dy).
struct DeviceTransform {
    double sx{1.0};
    double sy{1.0};
    double dx{0.0};
    double dy{0.0};
};

DeviceTransform deviceTransformOf(cairo_surface_t* surface)
{
    DeviceTransform t;
    cairo_surface_get_device_scale(surface, &t.sx, &t.sy);
    cairo_surface_get_device_offset(surface, &t.dx, &t.dy);
    return t;
}

void clipTo(cairo_t* cr, const std::optional<CGRect>& clip)
{
    if (!clip)
        return;
    cairo_rectangle(cr, clip->minX(), clip->minY(), clip->size.width, clip->size.height);
    cairo_clip(cr);
}

// Has `draw` draw through a context over rows [firstRow, endRow) of `image` only, in the image's
// coordinates. False when Cairo cannot make it.
bool drawBand(cairo_surface_t* image, Band band, const std::function<void(cairo_t*)>& draw)
{
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    CairoSurfacePtr rows(cairo_image_surface_create_for_data(
        data + static_cast<std::ptrdiff_t>(band.firstRow) * stride, cairo_image_surface_get_format(image),
        cairo_image_surface_get_width(image), band.endRow - band.firstRow, stride));
    if (cairo_surface_status(rows.get()) != CAIRO_STATUS_SUCCESS)
        return false;
    const DeviceTransform device = deviceTransformOf(image);
    cairo_surface_set_device_scale(rows.get(), device.sx, device.sy);
    // Row firstRow of the image is row 0 of the band: every device coordinate moves up by a whole
    // number of pixels, which leaves every pixel's coverage as it was.
    cairo_surface_set_device_offset(rows.get(), device.dx, device.dy - band.firstRow);
    CairoPtr cr(cairo_create(rows.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return false;
    draw(cr.get());
    cr.reset();
    cairo_surface_flush(rows.get());
    return true;
}

// Has `draw` draw through one context over the whole image, clipped to `band`'s rows.
void drawWhole(cairo_surface_t* image, Band band, const std::function<void(cairo_t*)>& draw)
{
    CairoPtr cr(cairo_create(image));
    const DeviceTransform device = deviceTransformOf(image);
    cairo_rectangle(cr.get(), 0.0, band.firstRow / device.sy,
                    cairo_image_surface_get_width(image) / device.sx,
                    (band.endRow - band.firstRow) / device.sy);
    cairo_clip(cr.get());
    draw(cr.get());
}

// Has `draw` draw into `image` in bands of rows starting at `starts` (0 first, increasing, below
// the image's height), as drawInBands below.
void drawInBandsFrom(cairo_surface_t* image, const std::vector<int>& starts,
                     const std::function<void(cairo_t*)>& draw)
{
    const int height = cairo_image_surface_get_height(image);
    if (starts.size() <= 1 || cairo_surface_get_type(image) != CAIRO_SURFACE_TYPE_IMAGE) {
        CairoPtr cr(cairo_create(image));
        draw(cr.get());
        return;
    }
    // The bands write the image's pixels behind Cairo's back: it finishes whatever it has pending
    // first and is told afterwards.
    cairo_surface_flush(image);
    std::vector<Band> all;
    for (std::size_t i = 0; i < starts.size(); ++i)
        all.push_back({starts[i], i + 1 < starts.size() ? starts[i + 1] : height});

    // One result a band, written by the thread that draws it only; read once every band is drawn.
    std::vector<char> drawn(all.size(), 0);
    runTasks(static_cast<int>(all.size()), [&](int i) {
        const auto band = static_cast<std::size_t>(i);
        drawn[band] = drawBand(image, all[band], draw);
    });
    cairo_surface_mark_dirty(image);
    // A band Cairo could not set up (out of memory) is drawn through the whole image, clipped.
    for (std::size_t i = 0; i < all.size(); ++i)
        if (!drawn[i])
            drawWhole(image, all[i], draw);
}
} // namespace

int bandsFor(int pixelWidth, int pixelHeight)
{
    const int cores = coreCount();
    const long pixels = static_cast<long>(std::max(pixelWidth, 0)) * std::max(pixelHeight, 0);
    return static_cast<int>(
        std::clamp(std::min<long>(cores, pixels / kMinPixelsPerBand), 1L, long{kMaxBands}));
}

void drawInBands(cairo_surface_t* image, int bands, const std::function<void(cairo_t*)>& draw)
{
    const int height = cairo_image_surface_get_height(image);
    bands = std::clamp(bands, 1, std::max(1, height));
    std::vector<int> starts;
    for (int i = 0; i < bands; ++i)
        starts.push_back(height * i / bands);
    drawInBandsFrom(image, starts, draw);
}

void drawInBands(std::span<const DrawOp> ops, cairo_surface_t* image, CGPoint origin,
                 CairoContext::ClearMode clear, int bands, std::optional<CGRect> clip, ScreenTint tint)
{
    // Most views draw nothing of their own: no call, no pixel, no thread.
    if (ops.empty())
        return;
    drawInBands(image, bands, [&](cairo_t* cr) {
        clipTo(cr, clip);
        cairo_translate(cr, origin.x, origin.y);
        // What the band shows, in the calls' coordinates, with a point to spare for rounding.
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
        const CGRect visible = CGRectMake(static_cast<float>(x1 - 1), static_cast<float>(y1 - 1),
                                          static_cast<float>(x2 - x1 + 2), static_cast<float>(y2 - y1 + 2));
        CairoContext context(cr, clear, tint);
        // Every band is given every call, and most of a frame's discs lie in other bands: a disc
        // covers no pixel outside its rectangle, so one wholly outside the band is not made into a
        // path for Cairo to clip away. Discs change no drawing state, so leaving one out changes
        // nothing else.
        for (const DrawOp& op : ops) {
            if (const auto* disc = std::get_if<op::FillEllipseInRect>(&op);
                disc && !visible.overlaps(disc->rect))
                continue;
            replay(op, &context);
        }
    });
}

} // namespace dazed
