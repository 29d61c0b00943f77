#pragma once

// The printed atlas's pages in millimetres: the paper, the chart area on it and the scale. The
// tangent point of a chart is the middle of its page; the chart area is the page less 8 mm at each
// side and 20 mm at the top and bottom (the header, the magnitude key and the neighbours' numbers
// go there). A point (xi, eta) of the tangent plane lies R xi millimetres to the LEFT of the tangent
// point (east is on the left, as the sky is seen) and R eta millimetres above it.

#include "render/AtlasScheme.h"

#include <optional>
#include <string_view>

namespace dazed {

enum class Paper { A4, Letter };

// "a4" or "letter" (as typed on the command line, lower case), or none.
std::optional<Paper> paperNamed(std::string_view name);

// The scale the atlas is printed at unless told otherwise: 160.43 mm for one radian at a chart's
// centre.
inline constexpr double kDefaultRadiusMm = 160.43;
// Scales below this spread a page over more than 70 degrees from its centre, where the projection
// stretches the sky more than threefold.
inline constexpr double kMinimumRadiusMm = 60.0;

// Points to millimetres, the one conversion of the page: 72 points make 25.4 mm.
inline constexpr double kPointsPerMm = 72.0 / 25.4;

struct PaperSize {
    double widthMm{0.0};
    double heightMm{0.0};
};
PaperSize paperSize(Paper paper);

// The chart area's half-sides in millimetres, centred on the page's middle.
struct ChartArea {
    double halfWidthMm{0.0};
    double halfHeightMm{0.0};
};
inline constexpr double kSideMarginMm = 8.0;
inline constexpr double kTopBottomMarginMm = 20.0;
ChartArea chartArea(Paper paper);

// The chart area in tangent units at scale R (mm per radian).
PageExtent pageExtent(Paper paper, double radiusMm);

// The largest scale at which the chart area still holds the atlas's margin (extentHoldsMargin).
double largestRadiusMm(Paper paper);

// Where a millimetre offset from the tangent point (x to the right, y up) lies on the page, in
// points from the page's top left corner with y down, as the drawing calls take it.
struct PagePoint {
    double x{0.0};
    double y{0.0};
};
PagePoint pagePointOfMm(Paper paper, double xMm, double yMm);

// The same for a point of the tangent plane at scale R: x = -R xi, y = R eta.
PagePoint pagePointOfPlane(Paper paper, double radiusMm, PlanePoint p);

} // namespace dazed
