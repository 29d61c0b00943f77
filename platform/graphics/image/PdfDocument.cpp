#include "platform/graphics/image/PdfDocument.h"

#include "platform/graphics/cairo/CairoContext.h"
#include "platform/graphics/cairo/CairoHandles.h"

#include <cairo-pdf.h>
#include <cmath>

namespace dazed {

Result<std::string> renderPdfDocument(double widthPoints, double heightPoints, int pageCount,
                                      const std::function<void(int)>& drawPage)
{
    if (pageCount < 1)
        return failure("a document needs at least one page");
    if (!std::isfinite(widthPoints) || !std::isfinite(heightPoints) || !(widthPoints >= 1.0) ||
        !(heightPoints >= 1.0))
        return failure("a page needs a finite size of at least one point");
    std::string bytes;
    CairoSurfacePtr surface(
        cairo_pdf_surface_create_for_stream(appendToString, &bytes, widthPoints, heightPoints));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return failure(cairo_status_to_string(cairo_surface_status(surface.get())));
    {
        CairoPtr cr(cairo_create(surface.get()));
        for (int page = 0; page < pageCount; ++page) {
            {
                // Each page starts from the context's defaults, whatever the last one left set.
                CairoContext context(cr.get(), CairoContext::ClearMode::Black);
                UIGraphicsContextScope scope(&context);
                drawPage(page);
            }
            cairo_show_page(cr.get());
        }
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            return failure(cairo_status_to_string(cairo_status(cr.get())));
    }
    // Finishing writes the document's tail through the stream callback.
    cairo_surface_finish(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return failure(cairo_status_to_string(cairo_surface_status(surface.get())));
    return bytes;
}

} // namespace dazed
