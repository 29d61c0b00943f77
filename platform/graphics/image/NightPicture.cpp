#include "platform/graphics/image/NightPicture.h"

#include "platform/graphics/image/ImageImpl.h"
#include "platform/graphics/parallel/ParallelTasks.h"

#include <algorithm>
#include <cairo.h>
#include <cstddef>

namespace dazed {

namespace {
// Rows a band holds at least: below this a task costs more to hand out than to run.
constexpr int kMinRowsPerBand = 64;

// Pixels turned together: a fixed count the compiler turns into vector code at -O2, where its cost
// model leaves a loop of unknown length scalar (three times slower).
constexpr int kPixelsAtOnce = 16;

void turnRowsNight(std::uint8_t* first, int stride, int width, int fromRow, int toRow)
{
    for (int y = fromRow; y < toRow; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(first + static_cast<std::ptrdiff_t>(y) * stride);
        int x = 0;
        for (; x + kPixelsAtOnce <= width; x += kPixelsAtOnce) {
            std::uint32_t* block = row + x;
            for (int i = 0; i < kPixelsAtOnce; ++i)
                block[i] = nightPixel(block[i]);
        }
        for (; x < width; ++x)
            row[x] = nightPixel(row[x]);
    }
}
} // namespace

void turnNight(Image& image)
{
    cairo_surface_t* surface = image.impl().surface.get();
    cairo_surface_flush(surface);
    std::uint8_t* first = cairo_image_surface_get_data(surface);
    const int width = image.pixelWidth();
    const int height = image.pixelHeight();
    const int stride = image.stride();
    if (!first || width <= 0 || height <= 0)
        return;
    const int bands = std::clamp(height / kMinRowsPerBand, 1, coreCount());
    runTasks(bands, [&](int band) {
        const int from = static_cast<int>(static_cast<long long>(height) * band / bands);
        const int to = static_cast<int>(static_cast<long long>(height) * (band + 1) / bands);
        turnRowsNight(first, stride, width, from, to);
    });
    cairo_surface_mark_dirty(surface);
}

std::shared_ptr<Image> nightCopy(const Image& image)
{
    auto copy = Image::create(image.size(), image.scale());
    {
        CairoPtr cr(cairo_create(copy->impl().surface.get()));
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr.get(), image.impl().surface.get(), 0, 0);
        cairo_paint(cr.get());
    }
    turnNight(*copy);
    copy->setTint(ScreenTint::Night);
    return copy;
}

} // namespace dazed
