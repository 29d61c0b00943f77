#include "render/SkyFrame.h"

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
    return frame;
}

namespace {
struct Placed {
    double sinDa;
    double cosDa;
    double sinDec;
    double cosDec;
    double cosRho;
};

Placed place(const SkyFrame& f, double hours, double degrees)
{
    // The offset is formed as the difference of the two angles in radians, each converted alone:
    // alpha0 is the centre's hours converted the same way.
    const double deltaAlpha = hoursTimesPiOver12(hours) - f.alpha0;
    const double dec = degreesTimesPiOver180(degrees);
    Placed p{std::sin(deltaAlpha), std::cos(deltaAlpha), std::sin(dec), std::cos(dec), 0.0};
    p.cosRho = cosDistance(f, p.cosDa, p.sinDec, p.cosDec);
    return p;
}
} // namespace

bool projectVisibleHoursDegrees(const SkyFrame& f, double hours, double degrees, SkyPoint& out)
{
    const Placed p = place(f, hours, degrees);
    if (!closerThan(p.cosRho, kLabelLimit, kLabelCosLimit))
        return false;
    out = project(f, p.sinDa, p.cosDa, p.sinDec, p.cosDec, p.cosRho);
    return true;
}

SkyPoint projectHoursDegrees(const SkyFrame& f, double hours, double degrees)
{
    const Placed p = place(f, hours, degrees);
    return project(f, p.sinDa, p.cosDa, p.sinDec, p.cosDec, p.cosRho);
}

} // namespace dazed
