#pragma once

// Values computed once at the start of a frame and shared by all its passes, and the gnomonic
// projection onto the plane tangent to the sphere at the view centre.

#include "catalog/Angles.h"
#include "platform/graphics/CGContext.h"
#include "platform/ui/DeviceFamily.h"
#include "sky/SkySnapshot.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace dazed {

// Visibility limits on the angular distance from the view centre, in radians. Names, labels, the
// "GC" mark and the dash starts are shown within 45 degrees; segments are kept when their first
// end lies within 2 pi / 7; stars are tested on cos rho directly (see the star pass).
inline constexpr double kLabelLimit = 0.7853981633974483;
inline constexpr double kSegmentLimit = 0.8975979010256552;
inline constexpr double kStarCosLimit = 0.7;

// Whether acos(cosRho) < limit, the visibility test of the segments and the names, with acos
// evaluated only where the answer could depend on its last bit: away from the boundary the cosine
// alone decides, a margin of 1e-9 being far wider than acos's rounding error. A NaN is never
// closer, nor is a cosine rounded above 1, whose acos is NaN.
inline bool closerThan(double cosRho, double limit, double cosLimit)
{
    if (cosRho > 1.0)
        return false;
    if (cosRho > cosLimit + 1e-9)
        return true;
    if (cosRho < cosLimit - 1e-9)
        return false;
    return std::acos(cosRho) < limit;
}

inline const double kLabelCosLimit = std::cos(kLabelLimit);
inline const double kSegmentCosLimit = std::cos(kSegmentLimit);

// What the label cycle shows: mode 0 the constellation lines and labels, mode 1 the star names
// too, mode 2 neither lines, labels nor names. The values are the view's wLN.
enum class LabelMode : int { LinesAndLabels = 0, WithStarNames = 1, None = 2 };

// Everything a frame's passes draw from, filled once at the start of the frame: no pass reads the
// process-wide centre or the view. The centre is the one the frame began with, even if it moves
// while the frame is drawn (the checks between passes end such a frame).
struct SkyFrame {
    CGContextRef context{nullptr};
    double centreHours{0.0};   // view centre right ascension, hours, as xs1 held it
    double centreDegrees{0.0}; // view centre declination, degrees, as ys1 held it
    double alpha0{0.0};        // centre right ascension, radians
    double delta0{0.0};        // centre declination, radians
    double sinDelta0{0.0};
    double cosDelta0{1.0};
    // The centre as a unit vector, for passing over far positions at one dot product
    // (SkyDirection.h). Unknown (NaN, so nothing is passed over) until makeSkyFrame sets it.
    UnitVector centreUnit{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::quiet_NaN()};
    CGSize size;    // view size in points: the view's largeur and hauteur
    float cx{0.0f}; // view centre in view points: half the width and height
    float cy{0.0f};
    // Decided by the view's width: above 480 points is a tablet, whichever the orientation.
    DeviceFamily family{DeviceFamily::Phone};
    double scale{0.0}; // points per unit of the tangent plane: ech x 300 (phone) or x 540 (tablet)
    LabelMode labels{LabelMode::LinesAndLabels};
    // The sky of a place and a moment, when the view was given one: the horizon, the Sun, the
    // Moon and the planets are drawn from it. Null draws the chart alone.
    const SkySnapshot* sky{nullptr};
};

// What a frame is made from besides its context: the view's centre, size, zoom and label mode.
struct FrameSettings {
    double centreHours{0.0};
    double centreDegrees{0.0};
    float width{0.0f};
    float height{0.0f};
    double ech{0.0};
    LabelMode labels{LabelMode::LinesAndLabels};
    const SkySnapshot* sky{nullptr};
};

// The frame drawRect draws: the centre converted to radians ((h * pi) / 12 and (d * pi) / 180),
// the screen class and scale from the width, the view centre from the size.
SkyFrame makeSkyFrame(CGContextRef context, const FrameSettings& settings);

// A projected point in view points, still in double; callers narrow it for the drawing call.
struct SkyPoint {
    double x{0.0};
    double y{0.0};
};

// Narrows a view coordinate to the single precision the drawing calls take. A value beyond the
// float range (from an enormous zoom, or a point near 90 degrees out) becomes an infinity, which
// the contexts ignore, instead of an out-of-range conversion.
inline float toPoint(double v)
{
    if (v > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (v < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

// cos rho, the cosine of the angular distance between a point and the view centre, for the
// point's offset in right ascension from the centre and the sine and cosine of its declination.
inline double cosDistance(const SkyFrame& f, double cosDeltaAlpha, double sinDec, double cosDec)
{
    return f.sinDelta0 * sinDec + f.cosDelta0 * cosDec * cosDeltaAlpha;
}

// Right ascension grows to the left of the view and declination to the top; a point rho from the
// centre lies scale x tan rho from (cx, cy).
inline SkyPoint project(const SkyFrame& f, double sinDeltaAlpha, double cosDeltaAlpha, double sinDec,
                        double cosDec, double cosRho)
{
    const double xi = cosDec * sinDeltaAlpha / cosRho;
    const double eta = (f.cosDelta0 * sinDec - f.sinDelta0 * cosDec * cosDeltaAlpha) / cosRho;
    return {double{f.cx} - f.scale * xi, double{f.cy} - f.scale * eta};
}

// A point given in hours and degrees (the name tables, the references), tested against the
// 45-degree limit and projected. Its offset from the centre is the difference of the two right
// ascensions, each converted to radians alone. Returns false, leaving `out` alone, when it is not
// visible (a NaN distance counts as not visible).
bool projectVisibleHoursDegrees(const SkyFrame& f, double hours, double degrees, SkyPoint& out);

// The same projection without the visibility test.
SkyPoint projectHoursDegrees(const SkyFrame& f, double hours, double degrees);

} // namespace dazed
