#pragma once

// Where the pages of the printed atlas are: a fixed scheme of tangent points, one page at each pole
// (when that is cheapest) and rings of equally spaced pages between, all of one scale, chosen so
// that every direction of the sky lies at least a margin (10 degrees) inside the chart area of
// some page. A meteor trail up to twice the margin long then lies whole on one page: every point
// of a great-circle arc of length 2m lies within m of the arc's middle, and a page's chart area is
// bounded by great circles, so the cap of radius m around a point m inside it lies inside it.
//
// Each ring is proven on its own: a ring of N pages at declination delta covers the band of
// declinations in which every point between two neighbouring pages' meridians is m inside one of
// the two. Among such schemes (caps or not, any rings, symmetric about the equator), the one with
// the fewest pages is chosen by dynamic programming over the bands.

#include "render/TangentPlane.h"

#include <vector>

namespace dazed {

// The chart area of a page in the tangent plane: |xi| <= halfWidth, |eta| <= halfHeight, in
// tangent units (a printed page's millimetres over its scale R). Both positive and finite.
struct PageExtent {
    double halfWidth{0.0};
    double halfHeight{0.0};
};

// The margin the atlas keeps: every direction lies this far inside some page, so every meteor up
// to twice as long lies whole on one.
inline constexpr double kAtlasMarginDegrees = 10.0;

// How far direction `d` (a unit vector) lies inside the chart area of the page whose tangent plane
// is `basis`: the angular distance, in radians, to the nearest of the four great circles bounding
// it, positive inside and negative outside, the far hemisphere included (there it is no longer a
// distance, only a negative number).
double depthInside(const TangentBasis& basis, PageExtent extent, const UnitVector& d);

// One chart of the atlas: its number (1 for the first chart) and tangent point.
struct AtlasPage {
    int number{0};
    double raHours{0.0};
    double decDegrees{0.0};
};

// One row of pages: `count` pages at one declination, the first at right ascension 0 h and the
// others every 24 / count hours eastwards. A cap is a ring of one page at a pole.
struct AtlasRing {
    double decDegrees{0.0};
    int count{0};
};

struct AtlasScheme {
    std::vector<AtlasRing> rings; // north to south
    std::vector<AtlasPage> pages; // numbered 1.. in ring order, each ring from 0 h eastwards
};

// The scheme with the fewest pages for pages of `extent` and the atlas margin; empty when the
// extent cannot hold the margin (a half-width or half-height at most tan(margin)), or is not
// finite. The same extent always gives the same scheme.
AtlasScheme atlasScheme(PageExtent extent);

// Whether the extent leaves room for the margin on every side: its smaller half-angle exceeds it
// by at least 5 degrees, so that rings remain a few dozen pages at most.
bool extentHoldsMargin(PageExtent extent);

// The numbers of the pages whose chart areas share part of the sky with `page` (their areas, on
// the sphere, may overlap): the nearest in each direction of the page, in the order left,
// right, top, bottom of the printed page; 0 where there is none in that direction. A page's
// neighbour "to the left" is, among the pages whose centres lie more to the left than up or down,
// the one with the least sum of its distance and its angle off the leftward direction.
struct PageNeighbours {
    int left{0};
    int right{0};
    int top{0};
    int bottom{0};
};
PageNeighbours neighboursOf(const AtlasScheme& scheme, int pageNumber, PageExtent extent);

} // namespace dazed
