#include "render/SkyFrame.h"

namespace dazed {

namespace {
struct Placed {
    double sinDa;
    double cosDa;
    double sinDec;
    double cosDec;
    double cosRho;
};

Placed place(const SkyFrame& f, double centreHours, double hours, double degrees)
{
    // The offset is formed as the difference of the two angles in radians, each converted alone.
    const double deltaAlpha = hoursTimesPiOver12(hours) - hoursTimesPiOver12(centreHours);
    const double dec = degreesTimesPiOver180(degrees);
    Placed p{std::sin(deltaAlpha), std::cos(deltaAlpha), std::sin(dec), std::cos(dec), 0.0};
    p.cosRho = cosDistance(f, p.cosDa, p.sinDec, p.cosDec);
    return p;
}
} // namespace

bool projectVisibleHoursDegrees(const SkyFrame& f, double centreHours, double hours, double degrees,
                                SkyPoint& out)
{
    const Placed p = place(f, centreHours, hours, degrees);
    if (!closerThan(p.cosRho, kLabelLimit, kLabelCosLimit))
        return false;
    out = project(f, p.sinDa, p.cosDa, p.sinDec, p.cosDec, p.cosRho);
    return true;
}

SkyPoint projectHoursDegrees(const SkyFrame& f, double centreHours, double hours, double degrees)
{
    const Placed p = place(f, centreHours, hours, degrees);
    return project(f, p.sinDa, p.cosDa, p.sinDec, p.cosDec, p.cosRho);
}

} // namespace dazed
