#pragma once

// Owning handles for Cairo objects, so that every surface and cairo_t is released exactly once,
// and the write callback that streams a surface's file (PNG, PDF, SVG) into memory.

#include <cairo.h>
#include <memory>
#include <string>

namespace dazed {

struct CairoSurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;

struct CairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;

// A cairo write callback that appends to a std::string passed as the closure.
cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length);

} // namespace dazed
