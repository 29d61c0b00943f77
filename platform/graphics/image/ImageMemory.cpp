#include "platform/graphics/image/ImageMemory.h"

#include <cstdint>
#include <memory>
#include <sys/mman.h>

namespace dazed {

namespace {
constexpr std::size_t kHugePage = 2u << 20;

// The key under which a surface keeps its mapping; only its address matters.
const cairo_user_data_key_t kMappingKey{};

struct Mapping {
    void* address{nullptr};
    std::size_t length{0};
};

void unmap(void* data)
{
    auto* mapping = static_cast<Mapping*>(data);
    munmap(mapping->address, mapping->length);
    delete mapping;
}

// `length` bytes of zeroed memory starting on a huge-page boundary, or nothing. The mapping is
// made one huge page longer than asked and its unaligned ends are given back.
Mapping mapAligned(std::size_t length)
{
    const std::size_t rounded = (length + kHugePage - 1) / kHugePage * kHugePage;
    const std::size_t padded = rounded + kHugePage;
    void* start = mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (start == MAP_FAILED)
        return {};
    const auto base = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t aligned = (base + kHugePage - 1) / kHugePage * kHugePage;
    const std::size_t head = aligned - base;
    const std::size_t tail = padded - head - rounded;
    if (head > 0)
        munmap(start, head);
    if (tail > 0)
        munmap(reinterpret_cast<void*>(aligned + rounded), tail);
    void* address = reinterpret_cast<void*>(aligned);
    // Only advice: where the kernel has no huge pages to give, the memory is ordinary pages.
#ifdef MADV_HUGEPAGE
    madvise(address, rounded, MADV_HUGEPAGE);
#endif
    return {address, rounded};
}
} // namespace

cairo_surface_t* createArgbSurface(int width, int height)
{
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    // Sizes Cairo refuses are left to it, so that the surface carries its usual error status.
    if (width <= 0 || height <= 0 || stride <= 0)
        return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    if (bytes < kMappedImageBytes)
        return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);

    // The record of the mapping is made first, so that nothing can fail between mapping the
    // pixels and handing them to the surface.
    auto owned = std::make_unique<Mapping>(mapAligned(bytes));
    if (!owned->address)
        return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(owned->address), CAIRO_FORMAT_ARGB32, width, height, stride);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_set_user_data(surface, &kMappingKey, owned.get(), unmap) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        unmap(owned.release());
        return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    }
    // The surface owns the mapping now: Cairo calls unmap when it destroys it.
    owned.release();
    return surface;
}

bool hasMappedPixels(cairo_surface_t* surface)
{
    return surface && cairo_surface_get_user_data(surface, &kMappingKey) != nullptr;
}

} // namespace dazed
