#include "render/SkyFrame.h"

#include "render/SkyDirection.h"

namespace dazed {

SkyFrame makeSkyFrame(CGContextRef context, const FrameSettings& settings)
{
    SkyFrame frame;
    frame.context = context;
    frame.centreHours = settings.centreHours;
    frame.centreDegrees = settings.centreDegrees;
    frame.alpha0 = hoursTimesPiOver12(settings.centreHours);
    frame.delta0 = degreesTimesPiOver180(settings.centreDegrees);
    frame.sinDelta0 = std::sin(frame.delta0);
    frame.cosDelta0 = std::cos(frame.delta0);
    frame.centreUnit = {frame.cosDelta0 * std::cos(frame.alpha0), frame.cosDelta0 * std::sin(frame.alpha0),
                        frame.sinDelta0};
    frame.size = {settings.width, settings.height};
    frame.cx = settings.width * 0.5f;
    frame.cy = settings.height * 0.5f;
    double baseScale = 300.0;
    if (settings.width > 480.0f) {
        frame.family = DeviceFamily::Tablet;
        baseScale = 540.0;
    }
    frame.scale = settings.ech * baseScale;
    frame.labels = settings.labels;
    frame.sky = settings.sky;
    return frame;
}

bool projectVisibleHoursDegrees(const SkyFrame& f, double hours, double degrees, SkyPoint& out)
{
    return projectVisible(f, directionOfHoursDegrees(hours, degrees), out);
}

SkyPoint projectHoursDegrees(const SkyFrame& f, double hours, double degrees)
{
    return projectDirection(f, directionOfHoursDegrees(hours, degrees));
}

} // namespace dazed
