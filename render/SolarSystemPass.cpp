#include "render/LabelText.h"
#include "render/SkyLayerGeometry.h"
#include "render/SkyLayerPasses.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace dazed {

namespace {

// A planet's disc in points by its magnitude: a step above the stars' 6 for the brightest.
double planetDiameter(double magnitude)
{
    if (magnitude <= -3.0)
        return 8.0;
    if (magnitude <= -1.5)
        return 7.0;
    if (magnitude <= 0.5)
        return 6.0;
    if (magnitude <= 2.5)
        return 5.0;
    return 4.0;
}

bool discInView(const SkyFrame& frame, SkyPoint p, double radius)
{
    return p.x >= -radius && p.y >= -radius && p.x <= frame.size.width + radius &&
           p.y <= frame.size.height + radius;
}

void fillDisc(CGContextRef c, SkyPoint p, double radius, RGBAColor colour)
{
    CGContextSetRGBFillColor(c, colour.red, colour.green, colour.blue, colour.alpha);
    const double d = 2.0 * radius;
    CGContextFillEllipseInRect(
        c, CGRectMake(toPoint(p.x - radius), toPoint(p.y - radius), toPoint(d), toPoint(d)));
}

// The disc diameter of a body of angular diameter `degrees` at the view's scale.
double luminaryDiameter(const SkyFrame& frame, double degrees)
{
    const double d = 2.0 * frame.scale * std::tan(degreesTimesPiOver180(degrees) / 2.0);
    return std::isfinite(d) ? std::max(d, kMinLuminaryDiameter) : kMinLuminaryDiameter;
}

// The unit vector on the view, at the Moon, towards the Sun along the great circle joining them;
// straight up when they stand together or opposite (new or full, when it does not matter).
SkyPoint towardsSunOnView(const SkyFrame& frame, const UnitVector& moon, const UnitVector& sun, SkyPoint at)
{
    const double along = moon.x * sun.x + moon.y * sun.y + moon.z * sun.z;
    UnitVector t{sun.x - along * moon.x, sun.y - along * moon.y, sun.z - along * moon.z};
    const double n = std::hypot(t.x, t.y, t.z);
    if (n < 1e-9)
        return {0.0, -1.0};
    constexpr double kStep = 1e-4; // radians along the great circle
    UnitVector q{moon.x + kStep * t.x / n, moon.y + kStep * t.y / n, moon.z + kStep * t.z / n};
    const auto p = projectUnit(frame, q);
    if (!p)
        return {0.0, -1.0};
    const double dx = p->x - at.x;
    const double dy = p->y - at.y;
    const double len = std::hypot(dx, dy);
    return len > 0.0 ? SkyPoint{dx / len, dy / len} : SkyPoint{0.0, -1.0};
}

// The Moon: a disc in the colour of its larger part, and the smaller part laid over it as chords
// across the disc perpendicular to the Sun's direction. On a chord at q from the middle, the
// terminator (an ellipse seen edge-on by the phase) stands at (1 - 2k) sqrt(R^2 - q^2) towards
// the Sun, k the illuminated fraction.
void drawMoon(const SkyFrame& frame, const BodyView& moon, SkyPoint p, double radius, SkyPoint towardsSun)
{
    CGContextRef c = frame.context;
    const double k = std::clamp(moon.illuminatedFraction, 0.0, 1.0);
    const bool mostlyLit = k >= 0.5;
    fillDisc(c, p, radius, mostlyLit ? kMoonLitColour : kMoonDarkColour);
    const int chords = std::clamp(static_cast<int>(std::ceil(2.0 * radius / 0.75)), 4, 96);
    const double h = 2.0 * radius / chords;
    std::vector<CGPoint> ends;
    const SkyPoint u = towardsSun;
    const SkyPoint v{-u.y, u.x};
    for (int j = 0; j < chords; ++j) {
        const double q = -radius + h * (j + 0.5);
        const double half = std::sqrt(std::max(0.0, radius * radius - q * q));
        const double terminator = (1.0 - 2.0 * k) * half;
        // Lit from the terminator to the Sun's limb; dark from the far limb to the terminator.
        const double from = mostlyLit ? -half : terminator;
        const double to = mostlyLit ? terminator : half;
        if (to - from < 0.05)
            continue;
        ends.push_back({toPoint(p.x + u.x * from + v.x * q), toPoint(p.y + u.y * from + v.y * q)});
        ends.push_back({toPoint(p.x + u.x * to + v.x * q), toPoint(p.y + u.y * to + v.y * q)});
    }
    if (ends.empty())
        return;
    const RGBAColor colour = mostlyLit ? kMoonDarkColour : kMoonLitColour;
    CGContextSetRGBStrokeColor(c, colour.red, colour.green, colour.blue, colour.alpha);
    CGContextSetLineWidth(c, static_cast<float>(h + 0.3));
    CGContextStrokeLineSegments(c, ends.data(), ends.size());
}

struct Placed {
    const BodyView* body;
    SkyPoint at;
    double radius;
};

} // namespace

void solarSystemPass(const SkyFrame& frame)
{
    if (!frame.sky)
        return;
    CGContextRef c = frame.context;
    const SkySnapshot& sky = *frame.sky;
    // Far to near: the outer planets first, then the Sun, and the Moon last, in front of all.
    constexpr SolarSystemBody kOrder[] = {
        SolarSystemBody::Neptune, SolarSystemBody::Uranus, SolarSystemBody::Saturn,
        SolarSystemBody::Jupiter, SolarSystemBody::Mars,   SolarSystemBody::Venus,
        SolarSystemBody::Mercury, SolarSystemBody::Sun,    SolarSystemBody::Moon};
    std::vector<Placed> placed;
    for (const SolarSystemBody which : kOrder) {
        const BodyView& body = sky[which];
        const auto p = projectUnit(frame, body.direction);
        if (!p)
            continue;
        const bool luminary = which == SolarSystemBody::Sun || which == SolarSystemBody::Moon;
        const double radius = (luminary ? luminaryDiameter(frame, body.angularDiameterDegrees)
                                        : planetDiameter(body.magnitude)) /
                              2.0;
        if (!discInView(frame, *p, radius))
            continue;
        if (which == SolarSystemBody::Moon)
            drawMoon(frame, body, *p, radius,
                     towardsSunOnView(frame, body.direction, sky[SolarSystemBody::Sun].direction, *p));
        else
            fillDisc(c, *p, radius, which == SolarSystemBody::Sun ? kSunColour : kPlanetColour);
        placed.push_back({&body, *p, radius});
    }

    // The names, in the star names' font, beside each disc.
    CGContextSetRGBFillColor(c, kBodyNameColour.red, kBodyNameColour.green, kBodyNameColour.blue, 1);
    CGContextSetRGBStrokeColor(c, kBodyNameColour.red, kBodyNameColour.green, kBodyNameColour.blue, 1);
    CGContextSetLineWidth(c, 0);
    selectTextFont(c, frame.family, kTextSize);
    for (const Placed& p : placed) {
        const char* name = bodyName(p.body->body);
        CGContextShowTextAtPoint(c, toPoint(p.at.x + p.radius + 3.0), toPoint(p.at.y + 5.0), name,
                                 std::strlen(name));
    }
}

} // namespace dazed
