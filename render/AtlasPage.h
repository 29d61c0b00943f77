#pragma once

// The pages of the printed atlas, drawn through the drawing-context calls in points (y down) on a
// page of the paper's size: a gnomonic chart of fixed scale around a tangent point, and the index
// of the whole atlas. Where things lie on a chart is AtlasLayout's business: a direction's image
// (xi, eta) lies R xi mm left of and R eta mm above the page's middle.

#include "platform/graphics/CGContext.h"
#include "render/AtlasLayout.h"
#include "render/AtlasScheme.h"
#include "render/AtlasStyle.h"

#include <string>

namespace dazed {

// What every page of one atlas shares.
struct AtlasSettings {
    Paper paper{Paper::A4};
    double radiusMm{kDefaultRadiusMm};
    AtlasStyle style{AtlasStyle::Print};
    double limitMagnitude{5.0}; // stars fainter than this are left out
    double gridDegrees{10.0};   // spacing of the hour circles and parallels, degrees
};

// One chart: its number in the atlas (0 for a chart on its own), the number of charts, its tangent
// point and its neighbours' numbers.
struct ChartPage {
    int number{0};
    int count{0};
    double raHours{0.0};
    double decDegrees{0.0};
    PageNeighbours neighbours;
};

// The reference crosses of a chart, in millimetres from the tangent point (x right, y up): the
// tangent point and the four corners of the largest rectangle of whole centimetres that keeps
// 5 mm inside the chart area. A copier's distortion shows in their distances.
struct ReferenceCrosses {
    double xMm{0.0};
    double yMm{0.0};
};
ReferenceCrosses referenceCrosses(Paper paper);

// Star disc diameter in millimetres for a V magnitude: 0.45 mm at magnitude 5, 0.45 mm more for
// each magnitude brighter.
double starDiameterMm(double magnitude);

// Right ascension and declination as a chart's header writes them: "3h 20m", "+42.5°" as MacRoman
// bytes.
std::string hoursText(double hours);
std::string degreesText(double degrees);

void drawChartPage(CGContextRef context, const AtlasSettings& settings, const ChartPage& page);

// The index: a map of the sky (right ascension growing to the left, 24 h wide; declination up)
// with every chart's outline and number.
void drawIndexPage(CGContextRef context, const AtlasSettings& settings, const AtlasScheme& scheme);

} // namespace dazed
