#pragma once

// The image of a parallel of declination in the gnomonic projection: a conic (an ellipse,
// parabola or hyperbola, as the cone of the parallel meets the tangent plane), drawn as cubic
// Bezier pieces, each within a tolerance of the true curve, so that a printed parallel is smooth
// where a polyline would show its corners.

#include "render/TangentPlane.h"

#include <vector>

namespace dazed {

// One cubic piece in tangent units: from the previous piece's end (or the path's start) through
// the pull of two control points to `end`.
struct CubicPiece {
    PlanePoint control1;
    PlanePoint control2;
    PlanePoint end;
};

// A run of joined pieces.
struct CurvePath {
    PlanePoint start;
    std::vector<CubicPiece> pieces;
};

// The parallel at `decRadians` (strictly between the poles) as seen on the plane of `basis`: the
// parts of it nearer the centre than the angle whose cosine is `cosLimit` (in (0, 1)), approximated
// piece by piece so that the parametric error at the quarter points, which bounds the distance to
// the curve, stays under `tolerance` tangent units (a page's millimetres over R). Pieces are
// found by right ascension, 5 degrees at a time and halved until they are accurate enough.
std::vector<CurvePath> parallelCurve(const TangentBasis& basis, double decRadians, double cosLimit,
                                     double tolerance);

} // namespace dazed
