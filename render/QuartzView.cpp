#include "render/QuartzView.h"

#include "render/SkyFrame.h"

#include <cstring>

namespace dazed {

void QuartzView::setEch(double zoom)
{
    m_fields.ech = zoom;
    setNeedsDisplay();
}

void QuartzView::writexs(float rightAscension, float declination, float width, float height)
{
    m_fields.largeur = width;
    m_fields.hauteur = height;
    ys1 = declination;
    xs1 = rightAscension;
    setNeedsDisplay();
}

void QuartzView::writeStarNames()
{
    int mode = m_fields.wLN + 1;
    if (mode == 3)
        mode = 0;
    // Only 0, 1 and 2 are ever stored here; anything else is brought back into the cycle.
    if (mode < 0 || mode > 2)
        mode = 0;
    m_fields.wLN = mode;
    m_fields.wSN = mode == 1;
    setNeedsDisplay();
}

void QuartzView::drawTextAtSize(CGContextRef context, float x, float y, const char* text, float smallSize)
{
    CGContextSelectFont(context, "Helvetica", smallSize, kCGEncodingMacRoman);
    if (!m_fields.iphone)
        CGContextSelectFont(context, "Helvetica", 22.0f, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(context, kCGTextFillStroke);
    CGContextSetTextMatrix(context, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    const char* bytes = text ? text : "";
    CGContextShowTextAtPoint(context, x, y, bytes, std::strlen(bytes));
}

void QuartzView::drawText(CGContextRef context, float x, float y, const char* text)
{
    drawTextAtSize(context, x, y, text, 12.0f);
}

void QuartzView::drawText14(CGContextRef context, float x, float y, const char* text)
{
    drawTextAtSize(context, x, y, text, 14.0f);
}

bool QuartzView::centreUnchanged() const
{
    // A NaN centre compares unequal to its own copy, so such a frame stops at the first check.
    return m_fields.oxs1 == xs1 && m_fields.oys1 == ys1;
}

void QuartzView::drawRect(CGRect rect)
{
    Fields& f = m_fields;

    // Frame set-up.
    f.oxs1 = xs1;
    f.oys1 = ys1;
    f.iphone = true;
    double baseScale = 300.0;
    if (f.largeur > 480.0f) {
        f.iphone = false;
        baseScale = 540.0;
    }
    f.rectCur = rect;
    f.cgContext1 = UIGraphicsGetCurrentContext();
    CGContextRef c = f.cgContext1;
    CGContextClearRect(c, rect);
    CGContextSelectFont(c, "Helvetica", 14.0f, kCGEncodingMacRoman);
    if (!f.iphone)
        CGContextSelectFont(c, "Helvetica", 22.0f, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(c, kCGTextFillStroke);
    CGContextSetTextMatrix(c, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    // This blue outlines the names, labels and "GC" text and strokes the lines and the "GC" cross.
    CGContextSetRGBStrokeColor(c, 0, 0, 0.8f, 1);
    CGContextSetLineWidth(c, 2.0f);

    SkyFrame frame;
    frame.context = c;
    frame.scale = f.ech * baseScale;
    frame.alpha0 = hoursTimesPiOver12(xs1);
    const double delta0 = degreesTimesPiOver180(ys1);
    frame.sinDelta0 = std::sin(delta0);
    frame.cosDelta0 = std::cos(delta0);
    frame.cx = f.largeur * 0.5f;
    frame.cy = f.hauteur * 0.5f;

    linePass(frame);
    if (!centreUnchanged())
        return;
    if (f.wSN)
        starNamePass(frame);
    if (!centreUnchanged())
        return;
    constellationLabelPass(frame);
    if (!centreUnchanged())
        return;
    galacticCentreMark(frame);
    eclipticCurve(frame);
    if (!centreUnchanged())
        return;
    equatorCurve(frame);
    if (!centreUnchanged())
        return;
    readoutPanel(frame);
    starDiscPass(frame);
    if (!centreUnchanged())
        return;
    centreCross(frame);
}

} // namespace dazed
