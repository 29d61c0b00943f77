#pragma once

// Recorded drawing calls replayed into a Cairo image in horizontal bands, each band drawn through
// a context of its own on a thread of its own. Rasterising is most of a frame's cost and Cairo
// draws one context on one thread; cut into bands, the frame's strokes, discs and text are
// rasterised on every core at once. Each band replays every call, and Cairo clips what falls
// outside it, so the pixels are those of one context over the whole image.

#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/cairo/CairoContext.h"

#include <cairo.h>
#include <functional>
#include <optional>
#include <span>

namespace dazed {

// How many bands an image of `pixelWidth` by `pixelHeight` is drawn in: one for each core, at most
// four, and never fewer than kMinPixelsPerBand pixels a band. Each band strokes every path and
// lays out every text again, and only the rasterising is shared out: a phone frame at one pixel a
// point costs more cut than whole, while from a phone at two pixels a point up the bands win when
// a core is free. 1 draws the image whole on the calling thread.
inline constexpr long kMinPixelsPerBand = 300'000;
int bandsFor(int pixelWidth, int pixelHeight);

// Has `draw` draw into `image`, an image surface with its device scale set, in `bands` bands of
// rows: it is called once a band, all but the first on threads of their own, with a context over
// that band's rows only which draws in the image's coordinates. Returns when every band is drawn.
// Where a band cannot be set up or its thread cannot start, the calling thread draws it; a band
// Cairo cannot make is drawn through the whole image clipped to its rows. `draw` must only draw
// through the context it is given and read what no band writes.
void drawInBands(cairo_surface_t* image, int bands, const std::function<void(cairo_t*)>& draw);

// Draws `ops` into `image`, an image surface with its device scale set, as a CairoContext over the
// whole image with its origin moved to `origin` (points) and clipped to `clip` (points, before the
// move; none leaves the whole image) would: in `bands` bands of equal height, shared out among the
// calling thread and the task pool's threads (ParallelTasks.h). Returns when every band is drawn. Where a
// band cannot be set up or its thread cannot start, the calling thread draws it. The colours are
// drawn in `tint`.
void drawInBands(std::span<const DrawOp> ops, cairo_surface_t* image, CGPoint origin,
                 CairoContext::ClearMode clear, int bands, std::optional<CGRect> clip = std::nullopt,
                 ScreenTint tint = ScreenTint::Day);

} // namespace dazed
