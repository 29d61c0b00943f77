#include "platform/graphics/image/ImageContext.h"

#include "platform/graphics/cairo/CairoContext.h"
#include "platform/graphics/image/ImageImpl.h"
#include "platform/graphics/parallel/CairoBands.h"

namespace dazed {

struct ImageContext::Impl {
    CairoPtr cr;
    std::unique_ptr<CairoContext> context;
};

ImageContext::ImageContext(Image& target, CGPoint origin, Clear clear)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->cr.reset(cairo_create(target.impl().surface.get()));
    cairo_translate(m_impl->cr.get(), origin.x, origin.y);
    m_impl->context = std::make_unique<CairoContext>(
        m_impl->cr.get(),
        clear == Clear::Black ? CairoContext::ClearMode::Black : CairoContext::ClearMode::Transparent,
        target.tint());
}

// The Cairo context must go before the cairo_t it draws through.
ImageContext::~ImageContext()
{
    m_impl->context.reset();
}

CGContextRef ImageContext::context() const
{
    return m_impl->context.get();
}

void drawRecorded(Image& target, CGPoint origin, ImageContext::Clear clear, std::span<const DrawOp> ops,
                  std::optional<CGRect> clip)
{
    cairo_surface_t* surface = target.impl().surface.get();
    drawInBands(ops, surface, origin,
                clear == ImageContext::Clear::Black ? CairoContext::ClearMode::Black
                                                    : CairoContext::ClearMode::Transparent,
                bandsFor(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)),
                clip, target.tint());
}

} // namespace dazed
