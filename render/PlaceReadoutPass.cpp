#include "render/LabelText.h"
#include "render/PlaceReadout.h"
#include "render/SkyLayerPasses.h"

namespace dazed {

void placeReadoutPass(const SkyFrame& frame)
{
    if (!frame.sky)
        return;
    CGContextRef c = frame.context;
    const std::string text = formatPlaceReadout(*frame.sky);
    // Under the readout's panel (whose height follows the view's width), as wide as the text: about
    // 0.55 of the font size a character.
    const bool phone = frame.family == DeviceFamily::Phone;
    const double font = phone ? kSmallTextSize : kTabletTextSize;
    const double top = 16.0 + frame.size.width * 10.0 / 320.0;
    const double height = font + 6.0;
    const double width = 20.0 + static_cast<double>(text.size()) * font * 0.55;
    CGContextSetRGBFillColor(c, 0, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, toPoint(top), toPoint(width), toPoint(height)));
    CGContextSetRGBStrokeColor(c, 0.6f, 0, 0, 1);
    CGContextSetLineWidth(c, 0);
    CGContextSetRGBFillColor(c, 0.8f, 0, 0, 1);
    showText(c, frame.family, kSmallTextSize, 20.0f, toPoint(top + font + 1.0), text.c_str());
}

} // namespace dazed
