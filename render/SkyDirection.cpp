#include "render/SkyDirection.h"

namespace dazed {

namespace {
UnitVector unitOf(double alpha, double sinDec, double cosDec)
{
    return {cosDec * std::cos(alpha), cosDec * std::sin(alpha), sinDec};
}
} // namespace

SkyDirection directionOfHoursDegrees(double hours, double degrees)
{
    SkyDirection d;
    d.alpha = hoursTimesPiOver12(hours);
    const double dec = degreesTimesPiOver180(degrees);
    d.sinDec = std::sin(dec);
    d.cosDec = std::cos(dec);
    d.unit = unitOf(d.alpha, d.sinDec, d.cosDec);
    return d;
}

SkyDirection directionOfTable(float alphaRadians, float sinDec, float cosDec)
{
    SkyDirection d;
    d.alpha = alphaRadians;
    d.sinDec = sinDec;
    d.cosDec = cosDec;
    d.unit = unitOf(d.alpha, d.sinDec, d.cosDec);
    return d;
}

bool projectVisible(const SkyFrame& f, const SkyDirection& d, SkyPoint& out)
{
    if (surelyOutside(f, d.unit, kLabelCosLimit))
        return false;
    const double deltaAlpha = d.alpha - f.alpha0;
    const double cosDa = std::cos(deltaAlpha);
    const double cosRho = cosDistance(f, cosDa, d.sinDec, d.cosDec);
    if (!closerThan(cosRho, kLabelLimit, kLabelCosLimit))
        return false;
    out = project(f, std::sin(deltaAlpha), cosDa, d.sinDec, d.cosDec, cosRho);
    return true;
}

SkyPoint projectDirection(const SkyFrame& f, const SkyDirection& d)
{
    const double deltaAlpha = d.alpha - f.alpha0;
    const double cosDa = std::cos(deltaAlpha);
    const double cosRho = cosDistance(f, cosDa, d.sinDec, d.cosDec);
    return project(f, std::sin(deltaAlpha), cosDa, d.sinDec, d.cosDec, cosRho);
}

} // namespace dazed
