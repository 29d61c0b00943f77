#include "render/QuartzView.h"

#include "render/LabelText.h"
#include "render/Passes.h"
#include "render/SkyFrame.h"
#include "render/SkyLayerPasses.h"

namespace dazed {

namespace {
DeviceFamily familyOf(bool iphone)
{
    return iphone ? DeviceFamily::Phone : DeviceFamily::Tablet;
}
} // namespace

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

void QuartzView::setSkySnapshot(std::optional<SkySnapshot> sky)
{
    m_sky = std::move(sky);
    setNeedsDisplay();
}

void QuartzView::drawText(CGContextRef context, float x, float y, const char* text)
{
    showText(context, familyOf(m_fields.iphone), kSmallTextSize, x, y, text);
}

void QuartzView::drawText14(CGContextRef context, float x, float y, const char* text)
{
    showText(context, familyOf(m_fields.iphone), kTextSize, x, y, text);
}

bool QuartzView::centreUnchanged() const
{
    // A NaN centre compares unequal to its own copy, so such a frame stops at the first check.
    return m_fields.oxs1 == xs1 && m_fields.oys1 == ys1;
}

void QuartzView::drawRect(CGRect rect)
{
    Fields& f = m_fields;

    // The centre is copied once: the frame is made from the copy, and the checks between passes
    // compare the process-wide centre with it.
    f.oxs1 = xs1;
    f.oys1 = ys1;
    f.rectCur = rect;
    f.cgContext1 = UIGraphicsGetCurrentContext();
    const SkyFrame frame = makeSkyFrame(f.cgContext1, {.centreHours = f.oxs1,
                                                       .centreDegrees = f.oys1,
                                                       .width = f.largeur,
                                                       .height = f.hauteur,
                                                       .ech = f.ech,
                                                       .labels = static_cast<LabelMode>(f.wLN),
                                                       .sky = m_sky ? &*m_sky : nullptr});
    f.iphone = frame.family == DeviceFamily::Phone;

    // Frame set-up. This blue outlines the names, labels and "GC" text and strokes the lines and
    // the "GC" cross.
    CGContextRef c = frame.context;
    CGContextClearRect(c, rect);
    // A place's ground lies beneath everything, and the set-up below restores the colours and
    // width it changes. Without a place none of the sky layer's passes draws anything.
    groundPass(frame);
    selectTextFont(c, frame.family, kTextSize);
    CGContextSetRGBStrokeColor(c, 0, 0, 0.8f, 1);
    CGContextSetLineWidth(c, 2.0f);

    f.nblines = linePass(frame, f.points);
    f.ctxDraw = frame.context;
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
    // A place's horizon, bodies and readout line lie over the stars; the cross, which sets every
    // state it uses, stays the last call of the frame.
    horizonPass(frame);
    solarSystemPass(frame);
    placeReadoutPass(frame);
    centreCross(frame);
}

} // namespace dazed
