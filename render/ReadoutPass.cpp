#include "render/QuartzView.h"
#include "render/Readout.h"
#include "render/SkyFrame.h"

#include <climits>
#include <cstdio>

namespace dazed {

int truncateToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

ReadoutFields readoutFields(double ra, double dec)
{
    // The whole parts are multiplied back as doubles: for every field in range that is the exact
    // integer product, and it cannot overflow for held values.
    ReadoutFields f;
    f.d = truncateToInt(dec);
    f.am = truncateToInt(dec * 60.0 - f.d * 60.0);
    f.h = truncateToInt(ra);
    f.m = truncateToInt(ra * 60.0 - f.h * 60.0);
    f.s = truncateToInt(ra * 3600.0 - f.h * 3600.0 - f.m * 60.0);
    f.as = truncateToInt(dec * 3600.0 - f.d * 3600.0 - f.am * 60.0);
    return f;
}

ReadoutText formatReadout(const ReadoutFields& f)
{
    ReadoutText text{};
    std::snprintf(text.data(), text.size(), "Ra : %2.2dh %2.2dmn %2.2ds  De : %2.2dd %2.2d' %2.2d\" ", f.h,
                  f.m, f.s, f.d, f.am, f.as);
    return text;
}

void QuartzView::readoutPanel(const SkyFrame& frame)
{
    const Fields& f = m_fields;
    CGContextRef c = frame.context;
    CGContextSetRGBFillColor(c, 0, 0, 0, 1);
    // The products are single precision, the rest double.
    const float width = static_cast<float>(260.0 + f.largeur * 40.0f / 320.0);
    const float height = static_cast<float>(16.0 + f.largeur * 10.0f / 320.0);
    CGContextFillRect(c, CGRectMake(0, 0, width, height));
    CGContextSetRGBStrokeColor(c, 0.6f, 0, 0, 1);
    CGContextSetLineWidth(c, 0);
    CGContextSetRGBFillColor(c, 0.8f, 0, 0, 1);

    const ReadoutText text = formatReadout(readoutFields(xs1, ys1));
    drawText14(c, 20.0f, static_cast<float>(10.0 + f.largeur * 11.0f / 320.0), text.data());
}

void QuartzView::centreCross(const SkyFrame& frame)
{
    CGContextRef c = frame.context;
    const float cx = m_fields.largeur * 0.5f;
    const float cy = m_fields.hauteur * 0.5f;
    CGContextSetRGBStrokeColor(c, 0.8f, 0, 0, 1);
    CGContextSetLineWidth(c, 1.0f);
    CGContextSetRGBFillColor(c, 0.8f, 0, 0, 1);
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, cx - 10.0f, cy);
    CGContextAddLineToPoint(c, cx + 10.0f, cy);
    CGContextMoveToPoint(c, cx, cy - 10.0f);
    CGContextAddLineToPoint(c, cx, cy + 10.0f);
    CGContextStrokePath(c);
}

} // namespace dazed
