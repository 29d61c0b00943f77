#include "platform/graphics/image/ImageExport.h"

#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/cairo/CairoContext.h"
#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/graphics/image/RasterSurface.h"

#include <algorithm>
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cctype>

namespace dazed {

std::optional<ImageFormat> imageFormatForPath(std::string_view path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    std::string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png")
        return ImageFormat::Png;
    if (ext == "svg")
        return ImageFormat::Svg;
    if (ext == "pdf")
        return ImageFormat::Pdf;
    return std::nullopt;
}

namespace {
Result<std::string> renderPng(CGSize size, double scale, const std::function<void()>& draw)
{
    RasterSurface raster(size.width, size.height, scale);
    if (!raster.ok())
        return failure("cannot make an image of that size");
    // The calls are recorded, then rasterised in bands on every core.
    RecordingContext recording;
    {
        UIGraphicsContextScope scope(&recording);
        draw();
    }
    raster.drawRecorded(recording.ops());
    return raster.encodePng();
}

Result<std::string> renderVector(ImageFormat format, CGSize size, const std::function<void()>& draw)
{
    std::string bytes;
    CairoSurfacePtr surface(
        format == ImageFormat::Pdf
            ? cairo_pdf_surface_create_for_stream(appendToString, &bytes, size.width, size.height)
            : cairo_svg_surface_create_for_stream(appendToString, &bytes, size.width, size.height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return failure(cairo_status_to_string(cairo_surface_status(surface.get())));
    {
        CairoPtr cr(cairo_create(surface.get()));
        CairoContext context(cr.get(), CairoContext::ClearMode::Black);
        UIGraphicsContextScope scope(&context);
        draw();
    }
    // Finishing writes the document's tail through the stream callback.
    cairo_surface_finish(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return failure(cairo_status_to_string(cairo_surface_status(surface.get())));
    return bytes;
}
} // namespace

Result<std::string> renderImage(ImageFormat format, CGSize size, double scale,
                                const std::function<void()>& draw)
{
    if (format == ImageFormat::Png)
        return renderPng(size, scale, draw);
    return renderVector(format, size, draw);
}

} // namespace dazed
