#include "RenderTestSupport.h"
#include "render/PlaceReadout.h"
#include "render/SkyLayerPasses.h"
#include "sky/SolarSystem.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>
#include <optional>

namespace dazed {
namespace {

using test::ViewSetup;

constexpr double kDegree = kPi / 180.0;
const GeographicPlace kParis{48.8566, 2.3522, 35.0};
const UtcTime kEvening{2026, 12, 9, 21, 30, 0.0};

SkySnapshot skyOf(const GeographicPlace& place, const UtcTime& time)
{
    auto sky = computeSkySnapshot(place, time, 60);
    EXPECT_TRUE(sky);
    return sky.value_or(SkySnapshot{});
}

double hoursOf(const UnitVector& u)
{
    double ra = std::atan2(u.y, u.x);
    if (ra < 0)
        ra += 2.0 * kPi;
    return radiansTimes12OverPi(ra);
}

double degreesOf(const UnitVector& u)
{
    return radiansTimes180OverPi(std::asin(std::clamp(u.z, -1.0, 1.0)));
}

// A phone view at zoom 1 centred on `centre`, drawn with `sky` (or without any).
std::unique_ptr<test::Frame> frameWith(const UnitVector& centre, const std::optional<SkySnapshot>& sky,
                                       float width = 320, float height = 480, double zoom = 1.0)
{
    auto f = std::make_unique<test::Frame>();
    f->view = test::makeView(ViewSetup{width, height, static_cast<float>(hoursOf(centre)),
                                       static_cast<float>(degreesOf(centre)), zoom, 0});
    if (sky)
        f->view->setSkySnapshot(sky);
    test::drawFrame(*f->view, &f->rec);
    return f;
}

bool isColour(const op::SetRGBStrokeColor& c, RGBAColor want)
{
    return c.red == want.red && c.green == want.green && c.blue == want.blue;
}
bool isColour(const op::SetRGBFillColor& c, RGBAColor want)
{
    return c.red == want.red && c.green == want.green && c.blue == want.blue;
}

// The segment lists stroked while `colour` is the stroke colour.
std::vector<op::StrokeLineSegments> segmentsIn(const RecordingContext& rec, RGBAColor colour)
{
    std::vector<op::StrokeLineSegments> found;
    bool inside = false;
    for (const DrawOp& o : rec.ops()) {
        if (const auto* c = std::get_if<op::SetRGBStrokeColor>(&o))
            inside = isColour(*c, colour);
        else if (const auto* s = std::get_if<op::StrokeLineSegments>(&o); s && inside)
            found.push_back(*s);
    }
    return found;
}

// The rectangles filled (FillRect) or discs filled (FillEllipseInRect) while `colour` is the fill.
template <typename Fill> std::vector<CGRect> fillsIn(const RecordingContext& rec, RGBAColor colour)
{
    std::vector<CGRect> found;
    bool inside = false;
    for (const DrawOp& o : rec.ops()) {
        if (const auto* c = std::get_if<op::SetRGBFillColor>(&o))
            inside = isColour(*c, colour);
        else if (const auto* f = std::get_if<Fill>(&o); f && inside)
            found.push_back(f->rect);
    }
    return found;
}

// The horizon's line: the first segment of the first segment list in the horizon's colour (the
// others are the cardinal points' ticks).
std::optional<std::pair<CGPoint, CGPoint>> horizonLine(const RecordingContext& rec)
{
    for (const auto& s : segmentsIn(rec, kHorizonColour))
        if (s.count >= 2)
            return std::make_pair(s.points[0], s.points[1]);
    return std::nullopt;
}

double distanceToLine(CGPoint p, const std::pair<CGPoint, CGPoint>& line)
{
    const double dx = double{line.second.x} - line.first.x;
    const double dy = double{line.second.y} - line.first.y;
    return std::abs(dx * (double{line.first.y} - p.y) - dy * (double{line.first.x} - p.x)) /
           std::hypot(dx, dy);
}

// The gnomonic projection written out independently of the renderer, from unit vectors: the
// tangent plane at the centre C has east E = (-sin a0, cos a0, 0) (to the left on the view) and
// north N = C x E... taken as (-sin d0 cos a0, -sin d0 sin a0, cos d0) (upwards); a direction u
// lands at scale * (u.E, u.N) / (u.C) from the middle.
CGPoint onView(const UnitVector& centre, const UnitVector& u, double scale, double cx, double cy)
{
    const double a0 = std::atan2(centre.y, centre.x);
    const double d0 = std::asin(centre.z);
    const UnitVector e{-std::sin(a0), std::cos(a0), 0.0};
    const UnitVector n{-std::sin(d0) * std::cos(a0), -std::sin(d0) * std::sin(a0), std::cos(d0)};
    const auto dot = [](const UnitVector& a, const UnitVector& b) {
        return a.x * b.x + a.y * b.y + a.z * b.z;
    };
    const double c = dot(u, centre);
    return {static_cast<float>(cx - scale * dot(u, e) / c), static_cast<float>(cy - scale * dot(u, n) / c)};
}

// What the place sees at azimuth `az` and altitude `alt` (degrees), as an astrometric J2000
// direction through ERFA's observed-to-astrometric chain, without refraction.
UnitVector seenAt(double az, double alt, const GeographicPlace& place, const UtcTime& t)
{
    double utc1 = 0, utc2 = 0, ra = 0, dec = 0;
    eraDtf2d("UTC", t.year, t.month, t.day, t.hour, t.minute, t.second, &utc1, &utc2);
    eraAtoc13("A", az * kDegree, (90.0 - alt) * kDegree, utc1, utc2, 0.0, place.longitudeDegrees * kDegree,
              place.latitudeDegrees * kDegree, place.heightMetres, 0, 0, 0, 0, 0, 0.55, &ra, &dec);
    return unitVector(ra, dec);
}

TEST(SkyLayer, AStarThePlaceSeesAtAltitudeZeroLiesOnTheDrawnHorizon)
{
    const SkySnapshot sky = skyOf(kParis, kEvening);
    for (const double centreAzimuth : {20.0, 120.0, 200.0, 300.0}) {
        const UnitVector centre = seenAt(centreAzimuth, 12.0, kParis, kEvening);
        const auto f = frameWith(centre, sky);
        const auto line = horizonLine(f->rec);
        ASSERT_TRUE(line) << centreAzimuth;
        // The view's centre as it was drawn (single precision).
        const UnitVector drawnCentre = unitVector(hoursTimesPiOver12(f->view->fields().oxs1),
                                                  degreesTimesPiOver180(f->view->fields().oys1));
        int onScreen = 0;
        for (double az = centreAzimuth - 40.0; az <= centreAzimuth + 40.0; az += 4.0) {
            const CGPoint p = onView(drawnCentre, seenAt(az, 0.0, kParis, kEvening), 300.0, 160.0, 240.0);
            if (p.x < 0 || p.x > 320 || p.y < 0 || p.y > 480)
                continue;
            ++onScreen;
            // Off the centre the projection only stretches: points apart on the view are at most
            // that many 300ths of a radian apart on the sky.
            EXPECT_LT(distanceToLine(p, *line) / 300.0 / kDegree, 0.05) << "azimuth " << az;
        }
        EXPECT_GT(onScreen, 5);
    }
}

TEST(SkyLayer, AViewCentredOnTheHorizonHasItThroughTheCentre)
{
    const SkySnapshot sky = skyOf(kParis, kEvening);
    const auto f = frameWith(sky.horizon.north, sky);
    const auto line = horizonLine(f->rec);
    ASSERT_TRUE(line);
    EXPECT_LT(distanceToLine({160, 240}, *line), 0.5);
    // The ground beneath: tinted in bands, and the view is part sky.
    EXPECT_FALSE(segmentsIn(f->rec, kGroundColour).empty());
}

// The ground's strokes, each with the line width it was drawn with.
struct WideStroke {
    CGPoint from;
    CGPoint to;
    double width;
};
std::vector<WideStroke> groundStrokes(const RecordingContext& rec)
{
    std::vector<WideStroke> found;
    bool ground = false;
    double width = 0.0;
    for (const DrawOp& o : rec.ops()) {
        if (const auto* c = std::get_if<op::SetRGBStrokeColor>(&o))
            ground = isColour(*c, kGroundColour);
        else if (const auto* w = std::get_if<op::SetLineWidth>(&o))
            width = w->width;
        else if (const auto* seg = std::get_if<op::StrokeLineSegments>(&o); seg && ground)
            for (std::size_t i = 0; i + 1 < seg->count; i += 2)
                found.push_back({seg->points[i], seg->points[i + 1], width});
    }
    return found;
}

// Whether a butt-ended stroke of the segment covers p.
bool covers(const WideStroke& s, CGPoint p)
{
    const double dx = double{s.to.x} - s.from.x;
    const double dy = double{s.to.y} - s.from.y;
    const double length = std::hypot(dx, dy);
    const double along = ((p.x - double{s.from.x}) * dx + (p.y - double{s.from.y}) * dy) / length;
    const double across = std::abs((p.x - double{s.from.x}) * dy - (p.y - double{s.from.y}) * dx) / length;
    return along >= 0.0 && along <= length && across <= s.width / 2.0;
}

TEST(SkyLayer, TheGroundIsOneStrokeOverEveryPointOfTheViewBelowTheHorizonAndNoneAbove)
{
    // Where the horizon crosses the view the ground is one wide stroke, so that the only edge it
    // puts in the view is the horizon: it covers every point below the horizon, corners included,
    // and none above. Views at several azimuths and heights tilt the horizon every way.
    const SkySnapshot sky = skyOf(kParis, kEvening);
    for (const double azimuth : {0.0, 45.0, 100.0, 200.0, 290.0})
        for (const double altitude : {-15.0, -4.0, 5.0, 12.0}) {
            const UnitVector centre = seenAt(azimuth, altitude, kParis, kEvening);
            const auto f = frameWith(centre, sky);
            const auto line = horizonLine(f->rec);
            ASSERT_TRUE(line) << azimuth << " " << altitude;
            const auto strokes = groundStrokes(f->rec);
            ASSERT_EQ(strokes.size(), 1u) << azimuth << " " << altitude;
            EXPECT_TRUE(fillsIn<op::FillRect>(f->rec, kGroundColour).empty());
            // The middle of the view is below the horizon when the view looks below it.
            const auto side = [&](CGPoint p) {
                const double dx = double{line->second.x} - line->first.x;
                const double dy = double{line->second.y} - line->first.y;
                return dx * (p.y - double{line->first.y}) - dy * (p.x - double{line->first.x});
            };
            const double groundSign = (side({160, 240}) > 0.0) == (altitude < 0.0) ? 1.0 : -1.0;
            int ground = 0;
            for (float x = 0; x <= 320; x += 8)
                for (float y = 0; y <= 480; y += 8) {
                    const CGPoint p{x, y};
                    if (distanceToLine(p, *line) < 0.25)
                        continue; // on the line itself, within rounding
                    const bool isGround = side(p) * groundSign > 0.0;
                    ground += isGround ? 1 : 0;
                    EXPECT_EQ(covers(strokes[0], p), isGround)
                        << "at " << x << "," << y << " azimuth " << azimuth << " altitude " << altitude;
                }
            EXPECT_GT(ground, 0);
        }
}

TEST(SkyLayer, WithTheZenithInTheMiddleNothingIsTintedAndTheZenithIsMarked)
{
    const SkySnapshot sky = skyOf(kParis, kEvening);
    const auto f = frameWith(sky.horizon.zenith, sky);
    EXPECT_FALSE(horizonLine(f->rec));
    EXPECT_TRUE(segmentsIn(f->rec, kGroundColour).empty());
    EXPECT_TRUE(fillsIn<op::FillRect>(f->rec, kGroundColour).empty());
    bool zenithNamed = false;
    for (const DrawOp& o : f->rec.ops())
        if (const auto* text = std::get_if<op::ShowTextAtPoint>(&o))
            zenithNamed = zenithNamed || text->text == "Zenith";
    EXPECT_TRUE(zenithNamed);
}

TEST(SkyLayer, WithTheNadirInTheMiddleTheWholeViewIsGround)
{
    const SkySnapshot sky = skyOf(kParis, kEvening);
    const UnitVector nadir{-sky.horizon.zenith.x, -sky.horizon.zenith.y, -sky.horizon.zenith.z};
    const auto f = frameWith(nadir, sky);
    EXPECT_EQ(fillsIn<op::FillRect>(f->rec, kGroundColour),
              (std::vector<CGRect>{CGRectMake(0, 0, 320, 480)}));
    EXPECT_TRUE(segmentsIn(f->rec, kGroundColour).empty());
    EXPECT_FALSE(horizonLine(f->rec));
}

TEST(SkyLayer, AtThePoleTheHorizonIsTheEquatorOfDate)
{
    // At the North Pole the zenith is the pole of date, a few tenths of a degree from J2000's by
    // precession; looking at the J2000 equator the horizon is a level line through the middle.
    const SkySnapshot sky = skyOf({90.0, 0.0, 0.0}, kEvening);
    EXPECT_GT(degreesOf(sky.horizon.zenith), 89.5);
    const auto f = frameWith(unitVector(1.0, 0.0), sky);
    const auto line = horizonLine(f->rec);
    ASSERT_TRUE(line);
    EXPECT_LT(distanceToLine({160, 240}, *line) / 300.0 / kDegree, 0.5);
    const double slope = (double{line->second.y} - line->first.y) / (double{line->second.x} - line->first.x);
    EXPECT_LT(std::abs(slope), 0.01);
}

// A snapshot made by hand: only the Sun and the Moon, at given directions.
SkySnapshot handMade(const UnitVector& sun, const UnitVector& moon, double illuminated)
{
    SkySnapshot sky = skyOf(kParis, kEvening);
    for (BodyView& b : sky.bodies)
        b.direction = {-sky.horizon.zenith.x, -sky.horizon.zenith.y, -sky.horizon.zenith.z}; // out of sight
    sky.bodies[static_cast<std::size_t>(SolarSystemBody::Sun)].direction = sun;
    BodyView& m = sky.bodies[static_cast<std::size_t>(SolarSystemBody::Moon)];
    m.direction = moon;
    m.illuminatedFraction = illuminated;
    return sky;
}

TEST(SkyLayer, TheMoonIsWhollyLitAtFullAndDarkAtNew)
{
    // Real moments: the full Moon of the eclipse of 2000 Jan 21 and the new Moon of the eclipse
    // of 1977 Feb 18 (see the sky tests), each in the middle of a view.
    const SkySnapshot full = skyOf(kParis, {2000, 1, 21, 4, 40, 0.0});
    const auto f = frameWith(full[SolarSystemBody::Moon].direction, full);
    EXPECT_EQ(fillsIn<op::FillEllipseInRect>(f->rec, kMoonLitColour).size(), 1u);
    EXPECT_TRUE(segmentsIn(f->rec, kMoonDarkColour).empty());

    const SkySnapshot fresh = skyOf(kParis, {1977, 2, 18, 3, 36, 54.0});
    const auto g = frameWith(fresh[SolarSystemBody::Moon].direction, fresh);
    EXPECT_EQ(fillsIn<op::FillEllipseInRect>(g->rec, kMoonDarkColour).size(), 1u);
    EXPECT_TRUE(segmentsIn(g->rec, kMoonLitColour).empty());
}

TEST(SkyLayer, TheMoonIsLitOnTheSideFacingTheSun)
{
    // The Sun 60 degrees to the east (left on the view) of a Moon in the middle of the view. A
    // crescent is a dark disc with lit chords on the left; a gibbous Moon a lit disc with dark
    // chords on the right.
    const UnitVector moon = unitVector(0.0, 0.0);
    const UnitVector sun = unitVector(60.0 * kDegree, 0.0);
    const auto crescent = frameWith(moon, handMade(sun, moon, 0.3));
    const auto lit = segmentsIn(crescent->rec, kMoonLitColour);
    ASSERT_EQ(lit.size(), 1u);
    ASSERT_FALSE(lit[0].points.empty());
    for (const CGPoint& p : lit[0].points)
        EXPECT_LE(p.x, 160.5f);
    const auto gibbous = frameWith(moon, handMade(sun, moon, 0.7));
    const auto dark = segmentsIn(gibbous->rec, kMoonDarkColour);
    ASSERT_EQ(dark.size(), 1u);
    ASSERT_FALSE(dark[0].points.empty());
    for (const CGPoint& p : dark[0].points)
        EXPECT_GE(p.x, 159.5f);
}

TEST(SkyLayer, TheSunsDiscHasItsAngularSizeButNeverLessThanABrightStar)
{
    const SkySnapshot sky = skyOf(kParis, kEvening);
    const BodyView& sun = sky[SolarSystemBody::Sun];
    // A phone at zoom 1: 300 points a radian make the Sun about 2.8 points wide: held at 8.
    const auto small = frameWith(sun.direction, sky);
    const auto discs = fillsIn<op::FillEllipseInRect>(small->rec, kSunColour);
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_FLOAT_EQ(discs[0].size.width, 8.0f);
    // A tablet at zoom 3: 1620 points a radian.
    const auto large = frameWith(sun.direction, sky, 768, 1024, 3.0);
    const auto big = fillsIn<op::FillEllipseInRect>(large->rec, kSunColour);
    ASSERT_EQ(big.size(), 1u);
    EXPECT_NEAR(big[0].size.width, 2.0 * 1620.0 * std::tan(sun.angularDiameterDegrees * kDegree / 2.0), 0.01);
    EXPECT_GT(big[0].size.width, 8.0f);
}

TEST(SkyLayer, ABodyOnTheViewsEdgeIsDrawnAndOneJustBeyondIsNot)
{
    // The directions that land on the left edge at mid-height, and a disc's width further out.
    const UnitVector centre = unitVector(1.0, 0.3);
    const UnitVector east{-std::sin(1.0), std::cos(1.0), 0.0};
    const auto along = [&](double xi) {
        const UnitVector v{centre.x + xi * east.x, centre.y + xi * east.y, centre.z + xi * east.z};
        const double n = std::hypot(v.x, v.y, v.z);
        return UnitVector{v.x / n, v.y / n, v.z / n};
    };
    const auto onEdge = frameWith(centre, handMade(along(160.0 / 300.0), centre, 1.0));
    const auto sunDiscs = fillsIn<op::FillEllipseInRect>(onEdge->rec, kSunColour);
    ASSERT_EQ(sunDiscs.size(), 1u);
    EXPECT_NEAR(sunDiscs[0].origin.x + sunDiscs[0].size.width / 2.0, 0.0, 0.01);
    const auto beyond = frameWith(centre, handMade(along((160.0 + 5.0) / 300.0), centre, 1.0));
    EXPECT_TRUE(fillsIn<op::FillEllipseInRect>(beyond->rec, kSunColour).empty());
}

TEST(SkyLayer, WithoutASkyTheFrameIsTheChartsAlone)
{
    const auto plain = test::recordFrame(ViewSetup{});
    // A view that had a sky and lost it draws the same calls as one that never had one.
    auto f = std::make_unique<test::Frame>();
    f->view = test::makeView(ViewSetup{});
    f->view->setSkySnapshot(skyOf(kParis, kEvening));
    f->view->setSkySnapshot(std::nullopt);
    test::drawFrame(*f->view, &f->rec);
    EXPECT_EQ(f->rec.ops(), plain->rec.ops());
}

TEST(PlaceReadout, GivesTheLocalDateTimeAndThePlace)
{
    SkySnapshot sky;
    sky.place = {48.85, 2.35, 0};
    sky.time = {2026, 12, 9, 20, 30, 15.0};
    sky.utcOffsetMinutes = 60;
    EXPECT_EQ(formatPlaceReadout(sky), "2026-12-09 21:30 +01:00  48.85\xA1N 2.35\xA1"
                                       "E");
    // Across the year's end, west of Greenwich and south of the equator, half-hour zones.
    sky.place = {-33.87, -180.0, 0};
    sky.time = {2026, 12, 31, 23, 45, 0.0};
    sky.utcOffsetMinutes = 30;
    EXPECT_EQ(formatPlaceReadout(sky), "2027-01-01 00:15 +00:30  33.87\xA1S 180.00\xA1W");
    sky.place = {90.0, 180.0, 0};
    sky.time = {2027, 1, 1, 2, 0, 0.0};
    sky.utcOffsetMinutes = -210;
    EXPECT_EQ(formatPlaceReadout(sky), "2026-12-31 22:30 -03:30  90.00\xA1N 180.00\xA1"
                                       "E");
}

} // namespace
} // namespace dazed
