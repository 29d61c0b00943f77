#include "render/AtlasText.h"

namespace dazed {

void setFill(CGContextRef c, Rgb colour)
{
    CGContextSetRGBFillColor(c, colour.red, colour.green, colour.blue, 1.0f);
}

void setStroke(CGContextRef c, Rgb colour)
{
    CGContextSetRGBStrokeColor(c, colour.red, colour.green, colour.blue, 1.0f);
}

void pageText(CGContextRef c, Rgb colour, float size, double x, double y, std::string_view text,
              TextAnchor anchor)
{
    CGContextSelectFont(c, "Helvetica", size, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(c, kCGTextFill);
    // Glyph space grows upwards; the flip keeps glyphs upright on the page.
    CGContextSetTextMatrix(c, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    setFill(c, colour);
    const double width = 0.55 * size * static_cast<double>(text.size());
    if (anchor == TextAnchor::Centre)
        x -= width / 2.0;
    else if (anchor == TextAnchor::Right)
        x -= width;
    CGContextShowTextAtPoint(c, static_cast<float>(x), static_cast<float>(y), text.data(), text.size());
}

} // namespace dazed
