#include "render/SkyLayerGeometry.h"

#include <algorithm>
#include <array>

namespace dazed {

namespace {

// The view's tangent plane: towards the east (xi, to the left on the view) and the north (eta,
// upwards) at the centre, as project() lays them out.
struct TangentBasis {
    UnitVector east;
    UnitVector north;
};

TangentBasis basisOf(const SkyFrame& f)
{
    const double sinA = std::sin(f.alpha0);
    const double cosA = std::cos(f.alpha0);
    return {{-sinA, cosA, 0.0}, {-f.sinDelta0 * cosA, -f.sinDelta0 * sinA, f.cosDelta0}};
}

double dot(const UnitVector& a, const UnitVector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Beneath this cosine a direction is too near 90 degrees out to be placed on the view.
constexpr double kMinCos = 1e-6;

} // namespace

double cosFromCentre(const SkyFrame& frame, const UnitVector& direction)
{
    return dot(frame.centreUnit, direction);
}

std::optional<SkyPoint> projectUnit(const SkyFrame& frame, const UnitVector& direction)
{
    const double cosRho = cosFromCentre(frame, direction);
    if (!(cosRho > kMinCos))
        return std::nullopt;
    const TangentBasis basis = basisOf(frame);
    const double xi = dot(direction, basis.east) / cosRho;
    const double eta = dot(direction, basis.north) / cosRho;
    return SkyPoint{double{frame.cx} - frame.scale * xi, double{frame.cy} - frame.scale * eta};
}

ScreenHalfPlane horizonOnView(const SkyFrame& frame, const UnitVector& zenith)
{
    // A view point (x, y) stands for the direction C + xi E + eta N (not normalised, but in front
    // of the plane), with xi = (cx - x) / scale and eta = (cy - y) / scale. Its altitude has the
    // sign of that direction's dot product with the zenith, which is linear in x and y.
    const TangentBasis basis = basisOf(frame);
    const double zc = dot(zenith, frame.centreUnit);
    const double ze = dot(zenith, basis.east);
    const double zn = dot(zenith, basis.north);
    const double s = frame.scale;
    return {-ze / s, -zn / s, zc + ze * frame.cx / s + zn * frame.cy / s};
}

GroundCover groundCover(const SkyFrame& frame, const ScreenHalfPlane& h)
{
    const double w = frame.size.width;
    const double hgt = frame.size.height;
    const std::array<double, 4> corners{h.at(0, 0), h.at(w, 0), h.at(0, hgt), h.at(w, hgt)};
    if (!std::all_of(corners.begin(), corners.end(), [](double v) { return std::isfinite(v); }))
        return GroundCover::None;
    const bool anyGround = std::any_of(corners.begin(), corners.end(), [](double v) { return v < 0.0; });
    const bool anySky = std::any_of(corners.begin(), corners.end(), [](double v) { return v >= 0.0; });
    if (anyGround && anySky)
        return GroundCover::Part;
    return anyGround ? GroundCover::All : GroundCover::None;
}

std::optional<HorizonSegment> horizonAcrossView(const SkyFrame& frame, const ScreenHalfPlane& h)
{
    if (groundCover(frame, h) != GroundCover::Part)
        return std::nullopt;
    const double norm = std::hypot(h.a, h.b);
    if (!(norm > 0.0))
        return std::nullopt;
    // The foot of the perpendicular from the view's middle, and the line's direction.
    const double mx = frame.size.width * 0.5;
    const double my = frame.size.height * 0.5;
    const double distance = h.at(mx, my) / norm;
    const SkyPoint groundward{-h.a / norm, -h.b / norm};
    const SkyPoint foot{mx + groundward.x * distance, my + groundward.y * distance};
    const SkyPoint along{-groundward.y, groundward.x};
    const double reach = std::hypot(frame.size.width, frame.size.height);
    return HorizonSegment{{foot.x - along.x * reach, foot.y - along.y * reach},
                          {foot.x + along.x * reach, foot.y + along.y * reach},
                          groundward};
}

} // namespace dazed
