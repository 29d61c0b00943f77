#pragma once

// ARGB image surfaces whose pixels come straight from the kernel. A frame at two pixels per point
// is megabytes of pixels, and a new surface's memory is faulted in one 4 KiB page at a time when
// it is first drawn: for a tablet frame that is over 3,000 page faults, a good part of a process
// that draws one frame, writes it and exits. Large images are therefore mapped aligned to, and
// advised to be backed by, 2 MiB pages where the kernel offers them (transparent huge pages);
// elsewhere they are ordinary zeroed memory. Every full-screen copy and composite then also walks
// a few large pages instead of thousands of small ones, which shows in every frame of a drag on a
// tablet at two pixels per point. Either way the surface owns its pixels and releases them
// when Cairo destroys it.

#include <cairo.h>
#include <cstddef>

namespace dazed {

// Images of at least this many bytes get their own mapping; smaller ones come from Cairo's
// allocator, for which a page or two more or less makes no difference.
inline constexpr std::size_t kMappedImageBytes = 2u << 20;

// A new ARGB32 surface of `width` by `height` pixels, every pixel transparent black, as
// cairo_image_surface_create makes it: the caller owns the reference and checks its status.
cairo_surface_t* createArgbSurface(int width, int height);

// Whether `surface`'s pixels are a mapping of their own (for tests and measurements).
bool hasMappedPixels(cairo_surface_t* surface);

} // namespace dazed
