#include "render/LabelText.h"

#include <cstring>

namespace dazed {

void selectTextFont(CGContextRef context, DeviceFamily family, float phoneSize)
{
    // The phone size is selected on a tablet too; the tablet's size then replaces it.
    CGContextSelectFont(context, "Helvetica", phoneSize, kCGEncodingMacRoman);
    if (family == DeviceFamily::Tablet)
        CGContextSelectFont(context, "Helvetica", kTabletTextSize, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(context, kCGTextFillStroke);
    // Glyph space grows upwards; the flip keeps glyphs upright in the view.
    CGContextSetTextMatrix(context, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
}

void showText(CGContextRef context, DeviceFamily family, float phoneSize, float x, float y, const char* text)
{
    selectTextFont(context, family, phoneSize);
    const char* bytes = text ? text : "";
    CGContextShowTextAtPoint(context, x, y, bytes, std::strlen(bytes));
}

} // namespace dazed
