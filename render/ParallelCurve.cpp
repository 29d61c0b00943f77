#include "render/ParallelCurve.h"

#include <cmath>

namespace dazed {

namespace {

constexpr int kStartPieces = 72;
// Halving stops here whatever the error: 5 degrees over 2^12 is far finer than any page needs.
constexpr int kMaxDepth = 12;

// The parallel's point at right ascension `ra`, its image and the image's derivative by ra.
struct Sample {
    double along{0.0}; // cos rho
    PlanePoint p;
    PlanePoint dp;
};

class Parallel {
public:
    Parallel(const TangentBasis& basis, double dec)
        : m_basis(basis)
        , m_sinDec(std::sin(dec))
        , m_cosDec(std::cos(dec))
    {
    }

    [[nodiscard]] Sample at(double ra) const
    {
        const UnitVector v{m_cosDec * std::cos(ra), m_cosDec * std::sin(ra), m_sinDec};
        const UnitVector dv{-m_cosDec * std::sin(ra), m_cosDec * std::cos(ra), 0.0};
        const double t = dot(m_basis.centre, v);
        const double dt = dot(m_basis.centre, dv);
        const double e = dot(m_basis.east, v);
        const double n = dot(m_basis.north, v);
        // Quotient rule: d(e / t) = (de t - e dt) / t^2.
        return {t,
                {e / t, n / t},
                {(dot(m_basis.east, dv) * t - e * dt) / (t * t),
                 (dot(m_basis.north, dv) * t - n * dt) / (t * t)}};
    }

private:
    TangentBasis m_basis;
    double m_sinDec;
    double m_cosDec;
};

PlanePoint bezier(PlanePoint a, PlanePoint b, PlanePoint c, PlanePoint d, double u)
{
    const double v = 1.0 - u;
    const double w0 = v * v * v;
    const double w1 = 3.0 * v * v * u;
    const double w2 = 3.0 * v * u * u;
    const double w3 = u * u * u;
    return {w0 * a.xi + w1 * b.xi + w2 * c.xi + w3 * d.xi, w0 * a.eta + w1 * b.eta + w2 * c.eta + w3 * d.eta};
}

// Appends the pieces from ra0 to ra1 (samples s0, s1) to `path`, halving while the Hermite cubic
// (end points and end tangents of the true curve) strays too far from it.
void approximate(const Parallel& parallel, double ra0, const Sample& s0, double ra1, const Sample& s1,
                 double tolerance, int depth, CurvePath& path)
{
    const double h = (ra1 - ra0) / 3.0;
    const PlanePoint c1{s0.p.xi + h * s0.dp.xi, s0.p.eta + h * s0.dp.eta};
    const PlanePoint c2{s1.p.xi - h * s1.dp.xi, s1.p.eta - h * s1.dp.eta};
    double error = 0.0;
    for (const double u : {0.25, 0.5, 0.75}) {
        const PlanePoint onCurve = parallel.at(ra0 + u * (ra1 - ra0)).p;
        const PlanePoint onCubic = bezier(s0.p, c1, c2, s1.p, u);
        error = std::max(error, std::hypot(onCurve.xi - onCubic.xi, onCurve.eta - onCubic.eta));
    }
    if (error > tolerance && depth < kMaxDepth) {
        const double mid = 0.5 * (ra0 + ra1);
        const Sample sm = parallel.at(mid);
        approximate(parallel, ra0, s0, mid, sm, tolerance, depth + 1, path);
        approximate(parallel, mid, sm, ra1, s1, tolerance, depth + 1, path);
        return;
    }
    path.pieces.push_back({c1, c2, s1.p});
}

} // namespace

std::vector<CurvePath> parallelCurve(const TangentBasis& basis, double decRadians, double cosLimit,
                                     double tolerance)
{
    std::vector<CurvePath> paths;
    if (!(std::fabs(decRadians) < kPi / 2.0) || !(cosLimit > 0.0) || !(tolerance > 0.0))
        return paths;
    const Parallel parallel(basis, decRadians);
    const double step = 2.0 * kPi / kStartPieces;
    // Starting where the parallel is farthest from the centre (opposite the centre's right
    // ascension) keeps a visible part from being cut in two at the start.
    const double first = std::atan2(basis.centre.y, basis.centre.x) + kPi;
    Sample previous = parallel.at(first);
    bool open = false;
    for (int i = 1; i <= kStartPieces; ++i) {
        const double ra0 = first + (i - 1) * step;
        const double ra1 = first + i * step;
        const Sample next = parallel.at(ra1);
        if (previous.along > cosLimit && next.along > cosLimit) {
            if (!open) {
                paths.push_back({previous.p, {}});
                open = true;
            }
            approximate(parallel, ra0, previous, ra1, next, tolerance, 0, paths.back());
        } else {
            open = false;
        }
        previous = next;
    }
    return paths;
}

} // namespace dazed
