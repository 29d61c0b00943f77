#include "render/LabelText.h"
#include "render/Passes.h"
#include "render/Readout.h"

namespace dazed {

void readoutPanel(const SkyFrame& frame)
{
    CGContextRef c = frame.context;
    CGContextSetRGBFillColor(c, 0, 0, 0, 1);
    // The products are single precision, the rest double.
    const float width = toPoint(260.0 + frame.size.width * 40.0f / 320.0);
    const float height = toPoint(16.0 + frame.size.width * 10.0f / 320.0);
    CGContextFillRect(c, CGRectMake(0, 0, width, height));
    CGContextSetRGBStrokeColor(c, 0.6f, 0, 0, 1);
    CGContextSetLineWidth(c, 0);
    CGContextSetRGBFillColor(c, 0.8f, 0, 0, 1);

    const ReadoutText text = formatReadout(readoutFields(frame.centreHours, frame.centreDegrees));
    showText(c, frame.family, kTextSize, 20.0f, toPoint(10.0 + frame.size.width * 11.0f / 320.0),
             text.data());
}

} // namespace dazed
