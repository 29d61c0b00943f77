#pragma once

// The drawing context over a Cairo surface: image (PNG, the window), PDF or SVG. The caller owns
// the cairo_t and its surface and keeps them alive while this context is used; the pixel density
// comes from the surface's device scale (cairo_surface_set_device_scale).

#include "platform/graphics/CGContext.h"

#include <cairo.h>

namespace dazed {

class CairoContext final : public CGContext {
public:
    // What CGContextClearRect leaves: black, as an opaque view shows a cleared area, or
    // transparent, for a view that is not opaque.
    enum class ClearMode { Black, Transparent };

    explicit CairoContext(cairo_t* cr, ClearMode clearMode = ClearMode::Black);
    ~CairoContext() override;
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;

    void clearRect(CGRect rect) override;
    void fillRect(CGRect rect) override;
    void fillEllipseInRect(CGRect rect) override;
    void setRGBFillColor(float red, float green, float blue, float alpha) override;
    void setRGBStrokeColor(float red, float green, float blue, float alpha) override;
    void setLineWidth(float width) override;
    void beginPath() override;
    void moveToPoint(float x, float y) override;
    void addLineToPoint(float x, float y) override;
    void strokePath() override;
    void strokeLineSegments(const CGPoint* points, std::size_t count) override;
    void selectFont(const char* name, float size, CGTextEncoding encoding) override;
    void setTextDrawingMode(CGTextDrawingMode mode) override;
    void setTextMatrix(CGAffineTransform matrix) override;
    void showTextAtPoint(float x, float y, const char* bytes, std::size_t length) override;

private:
    cairo_t* m_cr;
    ClearMode m_clearMode;
    // Implementation state (colours, width, font, text mode and matrix) is added with the implementation.
};

} // namespace dazed
