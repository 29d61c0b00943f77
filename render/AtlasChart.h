#pragma once

// What the passes of an atlas chart share: the chart's projection and chart area, and the pieces
// of geometry more than one pass draws with. Page points are PDF points from the top left corner,
// y down; plane points are the tangent plane's standard coordinates (AtlasLayout.h).

#include "render/AtlasPage.h"
#include "render/TangentPlane.h"

#include <cmath>
#include <optional>

namespace dazed {

// Ends of segments and lines farther than 85 degrees from a chart's centre are not drawn: their
// images lie far outside any chart area, or nowhere.
inline const double kAtlasFrontCosLimit = std::cos(degreesTimesPiOver180(85.0));

// A chart's projection and chart area.
class AtlasChart {
public:
    AtlasChart(const AtlasSettings& chartSettings, const ChartPage& page)
        : settings(chartSettings)
        , basis(tangentBasis(hoursTimesPiOver12(page.raHours), degreesTimesPiOver180(page.decDegrees)))
        , extent(pageExtent(chartSettings.paper, chartSettings.radiusMm))
        , palette(atlasPalette(chartSettings.style))
    {
    }

    [[nodiscard]] PagePoint toPage(PlanePoint p) const
    {
        return pagePointOfPlane(settings.paper, settings.radiusMm, p);
    }
    [[nodiscard]] bool inside(PlanePoint p) const
    {
        return std::fabs(p.xi) <= extent.halfWidth && std::fabs(p.eta) <= extent.halfHeight;
    }
    // The image of a direction near enough the centre to have a finite one on the page.
    [[nodiscard]] std::optional<PlanePoint> image(const UnitVector& d) const
    {
        if (!(dot(basis.centre, d) > kAtlasFrontCosLimit))
            return std::nullopt;
        return gnomonic(basis, d);
    }

    // Cuts the line p(s) = a + s (b - a), s in [lo, hi], to the chart area (Liang and Barsky):
    // false when nothing of it is left.
    [[nodiscard]] bool clip(PlanePoint a, PlanePoint b, double& lo, double& hi) const;

    const AtlasSettings& settings;
    TangentBasis basis;
    PageExtent extent;
    AtlasPalette palette;
};

// The point a fraction s of the way from a to b.
PlanePoint along(PlanePoint a, PlanePoint b, double s);

// The part of a great circle (given by its plane's unit normal) on the chart area, as two points of
// the plane, optionally only where `half` . direction >= 0 (one meridian of the two halves of its
// great circle). False when the circle misses the chart area.
bool greatCircleSegment(const AtlasChart& chart, const UnitVector& normal, const UnitVector* half,
                        PlanePoint& from, PlanePoint& to);

// One straight stroke in the stroke colour and width in force.
void strokeSegment(CGContextRef c, PagePoint a, PagePoint b);

// A disc of `diameter` points around a page point, in the fill colour in force.
void fillDisc(CGContextRef c, PagePoint at, double diameter);

// A page point narrowed to the drawing calls' single precision.
CGPoint narrowed(PagePoint p);

// The hour circles and parallels every grid step, with their labels.
void atlasGridPass(CGContextRef c, const AtlasChart& chart);
// The equator, solid, and the ecliptic, dashed.
void atlasReferencePass(CGContextRef c, const AtlasChart& chart);

} // namespace dazed
