#include "render/AtlasScheme.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace dazed {

namespace {

// The sine of depthInside for a direction given by its components along the page's centre, east
// and north axes.
double sineOfDepth(PageExtent extent, double along, double east, double north)
{
    // The edge xi = a is the great circle through the points centre + a east + y north; its normal
    // pointing inwards is a centre - east, of length sqrt(1 + a^2). The sine of a direction's
    // distance to that circle is its component along the unit normal.
    const double a = extent.halfWidth;
    const double b = extent.halfHeight;
    const double sideways = (a * along - std::fabs(east)) / std::sqrt(1.0 + a * a);
    const double upDown = (b * along - std::fabs(north)) / std::sqrt(1.0 + b * b);
    return std::min(sideways, upDown);
}

// The rings are chosen against a margin a little wider than the one promised, so that what the
// search samples (a few right ascensions, bisected band edges) holds between the samples too.
constexpr double kSearchSlackDegrees = 0.05;
// Samples between two neighbouring pages' meridians, and bisection steps for a band's edge.
constexpr int kRaSamples = 24;
constexpr int kBisections = 16;
// Candidate ring declinations, every half degree from the equator to the pole.
constexpr double kDecStepDegrees = 0.5;
// More pages in a ring stop widening its band once the pages' height limits it; a ring that gains
// less than this from one more page has settled.
constexpr double kSettledDegrees = 0.01;

double radiansOf(double degrees)
{
    return degreesTimesPiOver180(degrees);
}

struct Band {
    double lo{0.0}; // degrees
    double hi{0.0};
    [[nodiscard]] bool empty() const { return !(hi >= lo); }
};

struct SineCosine {
    double sin{0.0};
    double cos{1.0};
};
// The sampled hour angles phi from a ring's first page and spacing - phi from its second.
struct Angles {
    SineCosine near[kRaSamples + 1];
    SineCosine far[kRaSamples + 1];
};

class RingCoverage {
public:
    RingCoverage(PageExtent extent, double marginRadians)
        : m_extent(extent)
        , m_sinMargin(std::sin(marginRadians))
    {
    }

    // Whether every direction at declination `dec` lies m inside one of the ring's pages, checked
    // between the first page (at 0 h) and the second, which by symmetry stands for every pair: a
    // point the first page sees at hour angle phi, the second sees at spacing - phi, mirrored.
    [[nodiscard]] bool covers(double ringDec, int count, double dec) const
    {
        const Angles& phis = anglesFor(count);
        const double s0 = std::sin(radiansOf(ringDec));
        const double c0 = std::cos(radiansOf(ringDec));
        const double s = std::sin(radiansOf(dec));
        const double c = std::cos(radiansOf(dec));
        for (int i = 0; i <= kRaSamples; ++i)
            if (!inside(s0, c0, s, c, phis.near[i]) && !inside(s0, c0, s, c, phis.far[i]))
                return false;
        return true;
    }

    // The band of declinations around the ring's own that it covers, or an empty band.
    [[nodiscard]] Band band(double ringDec, int count) const
    {
        if (!covers(ringDec, count, ringDec))
            return {1.0, 0.0};
        return {edge(ringDec, count, -90.0), edge(ringDec, count, 90.0)};
    }

private:
    // Whether the direction at declination (sin, cos) and hour angle phi from a page centred at
    // declination (s0, c0) lies m inside the page: depthInside's sine, written out in the page's
    // frame.
    [[nodiscard]] bool inside(double s0, double c0, double s, double c, const SineCosine& phi) const
    {
        const double cosPhi = phi.cos;
        const double along = c0 * c * cosPhi + s0 * s;
        const double east = c * phi.sin;
        const double north = c0 * s - s0 * c * cosPhi;
        return sineOfDepth(m_extent, along, east, north) >= m_sinMargin;
    }

    // The last covered declination from the ring's own towards `limit`, by halves.
    [[nodiscard]] double edge(double ringDec, int count, double limit) const
    {
        if (covers(ringDec, count, limit))
            return limit;
        double in = ringDec;
        double out = limit;
        for (int i = 0; i < kBisections; ++i) {
            const double mid = 0.5 * (in + out);
            (covers(ringDec, count, mid) ? in : out) = mid;
        }
        return in;
    }

    const Angles& anglesFor(int count) const
    {
        if (m_count != count) {
            const double spacing = 2.0 * kPi / count;
            for (int i = 0; i <= kRaSamples; ++i) {
                const double phi = spacing * 0.5 * i / kRaSamples;
                m_angles.near[i] = {std::sin(phi), std::cos(phi)};
                m_angles.far[i] = {std::sin(spacing - phi), std::cos(spacing - phi)};
            }
            m_count = count;
        }
        return m_angles;
    }

    PageExtent m_extent;
    double m_sinMargin;
    mutable int m_count{0};
    mutable Angles m_angles;
};

struct Candidate {
    AtlasRing ring;
    Band band;
};

// The fewest pages covering the sky from a declination down to the equator, given that everything
// above it is covered: rings north of the equator count twice (they are mirrored south), a ring
// on the equator once. Solved for every candidate's lower band edge, from the equator up, so that
// each answer uses only answers already known.
class Search {
public:
    static constexpr int kNone = std::numeric_limits<int>::max();

    explicit Search(std::vector<Candidate> candidates)
        : m_candidates(std::move(candidates))
    {
        std::sort(m_candidates.begin(), m_candidates.end(),
                  [](const Candidate& a, const Candidate& b) { return a.band.lo < b.band.lo; });
        m_best.resize(m_candidates.size());
        for (std::size_t i = 0; i < m_candidates.size(); ++i)
            m_best[i] = solve(m_candidates[i].band.lo);
    }

    struct Plan {
        int pages{kNone};
        std::vector<AtlasRing> rings; // north of (or on) the equator, north to south
    };

    // The best plan for the sky below declination `coveredDownTo`.
    [[nodiscard]] Plan below(double coveredDownTo) const
    {
        Plan plan;
        Step step = solve(coveredDownTo);
        plan.pages = step.pages;
        while (step.pages != kNone && step.ring >= 0) {
            const Candidate& c = m_candidates[static_cast<std::size_t>(step.ring)];
            plan.rings.push_back(c.ring);
            if (c.ring.decDegrees == 0.0)
                break;
            step = m_best[static_cast<std::size_t>(step.ring)];
        }
        return plan;
    }

private:
    // The fewest pages below a declination and the first ring of such a plan (-1 for none needed).
    struct Step {
        int pages{kNone};
        int ring{-1};
        int rings{0};
    };

    // Uses m_best for candidates whose band starts below `coveredDownTo`: those already solved.
    [[nodiscard]] Step solve(double coveredDownTo) const
    {
        if (coveredDownTo <= 0.0)
            return {0, -1, 0};
        Step best;
        for (std::size_t i = 0; i < m_candidates.size(); ++i) {
            const Candidate& c = m_candidates[i];
            if (c.band.lo >= coveredDownTo)
                break;
            if (c.band.hi < coveredDownTo)
                continue;
            Step step;
            if (c.ring.decDegrees == 0.0) {
                // The equator's ring covers both halves at once.
                if (-c.band.lo < coveredDownTo)
                    continue;
                step = {c.ring.count, static_cast<int>(i), 1};
            } else {
                const Step& rest = m_best[i];
                if (rest.pages == kNone)
                    continue;
                step = {2 * c.ring.count + rest.pages, static_cast<int>(i), rest.rings + 1};
            }
            if (step.pages < best.pages || (step.pages == best.pages && step.rings < best.rings))
                best = step;
        }
        return best;
    }

    std::vector<Candidate> m_candidates; // by the lower edge of their bands
    std::vector<Step> m_best;            // for each candidate: the best plan below its band
};

// Drops every candidate that another of the same count (both on the equator or both off it) beats
// on both band edges: it can never be the better choice.
std::vector<Candidate> paretoFront(std::vector<Candidate> candidates)
{
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        const bool aEquator = a.ring.decDegrees == 0.0;
        const bool bEquator = b.ring.decDegrees == 0.0;
        if (a.ring.count != b.ring.count)
            return a.ring.count < b.ring.count;
        if (aEquator != bEquator)
            return aEquator;
        if (a.band.lo != b.band.lo)
            return a.band.lo < b.band.lo;
        return a.band.hi > b.band.hi;
    });
    std::vector<Candidate> front;
    double highest = 0.0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        const bool newGroup = i == 0 || c.ring.count != candidates[i - 1].ring.count ||
                              (c.ring.decDegrees == 0.0) != (candidates[i - 1].ring.decDegrees == 0.0);
        if (newGroup || c.band.hi > highest) {
            front.push_back(c);
            highest = c.band.hi;
        }
    }
    return front;
}

} // namespace

double depthInside(const TangentBasis& basis, PageExtent extent, const UnitVector& d)
{
    const double sine = sineOfDepth(extent, dot(basis.centre, d), dot(basis.east, d), dot(basis.north, d));
    return std::asin(std::clamp(sine, -1.0, 1.0));
}

bool extentHoldsMargin(PageExtent extent)
{
    if (!std::isfinite(extent.halfWidth) || !std::isfinite(extent.halfHeight))
        return false;
    const double smaller = std::min(extent.halfWidth, extent.halfHeight);
    return smaller > std::tan(radiansOf(kAtlasMarginDegrees + 5.0));
}

AtlasScheme atlasScheme(PageExtent extent)
{
    if (!extentHoldsMargin(extent))
        return {};
    const RingCoverage coverage(extent, radiansOf(kAtlasMarginDegrees + kSearchSlackDegrees));

    std::vector<Candidate> candidates;
    const int steps = static_cast<int>(std::lround(90.0 / kDecStepDegrees));
    for (int i = 0; i < steps; ++i) {
        const double dec = i * kDecStepDegrees;
        Band previous{1.0, 0.0};
        // More pages widen the band until the pages' height, not their width, limits it.
        for (int count = 1; count <= 360; ++count) {
            const Band band = coverage.band(dec, count);
            if (!band.empty()) {
                candidates.push_back({{dec, count}, band});
                if (!previous.empty() && band.lo > previous.lo - kSettledDegrees &&
                    band.hi < previous.hi + kSettledDegrees)
                    break;
            }
            previous = band;
        }
    }

    // With a page at each pole, or without (a ring then covers the pole).
    const Band cap = coverage.band(90.0, 1);
    Search search(paretoFront(std::move(candidates)));
    Search::Plan withCaps = search.below(cap.lo);
    if (withCaps.pages != Search::kNone)
        withCaps.pages += 2;
    Search::Plan plan = search.below(90.0);
    if (withCaps.pages <= plan.pages) {
        plan = std::move(withCaps);
        plan.rings.insert(plan.rings.begin(), AtlasRing{90.0, 1});
    }
    if (plan.pages == Search::kNone)
        return {};

    AtlasScheme scheme;
    scheme.rings = plan.rings;
    for (auto it = plan.rings.rbegin(); it != plan.rings.rend(); ++it)
        if (it->decDegrees != 0.0)
            scheme.rings.push_back({-it->decDegrees, it->count});
    for (const AtlasRing& ring : scheme.rings)
        for (int k = 0; k < ring.count; ++k)
            scheme.pages.push_back(
                {static_cast<int>(scheme.pages.size()) + 1, 24.0 * k / ring.count, ring.decDegrees});
    return scheme;
}

PageNeighbours neighboursOf(const AtlasScheme& scheme, int pageNumber, PageExtent extent)
{
    PageNeighbours out;
    if (pageNumber < 1 || pageNumber > static_cast<int>(scheme.pages.size()))
        return out;
    const AtlasPage& page = scheme.pages[static_cast<std::size_t>(pageNumber - 1)];
    const TangentBasis basis = tangentBasis(hoursTimesPiOver12(page.raHours), radiansOf(page.decDegrees));
    // Pages farther apart than the two half-diagonals share no sky.
    const double halfDiagonal = std::atan(std::hypot(extent.halfWidth, extent.halfHeight));
    double best[4] = {4.0 * kPi, 4.0 * kPi, 4.0 * kPi, 4.0 * kPi};
    int* slots[4] = {&out.left, &out.right, &out.top, &out.bottom};
    for (const AtlasPage& other : scheme.pages) {
        if (other.number == pageNumber)
            continue;
        const UnitVector centre = unitVector(hoursTimesPiOver12(other.raHours), radiansOf(other.decDegrees));
        const double apart = separation(basis.centre, centre);
        if (apart >= 2.0 * halfDiagonal)
            continue;
        // The page's own left is east.
        const double x = -dot(basis.east, centre);
        const double y = dot(basis.north, centre);
        int side = 0;
        double offAxis = 0.0; // radians between the direction to the other page and the side's
        if (std::fabs(x) >= std::fabs(y)) {
            side = x < 0.0 ? 0 : 1;
            offAxis = std::atan2(std::fabs(y), std::fabs(x));
        } else {
            side = y > 0.0 ? 2 : 3;
            offAxis = std::atan2(std::fabs(x), std::fabs(y));
        }
        // The nearest page most nearly straight out from that side: around a pole page, where the
        // ring's pages are all equally near, the direction decides.
        const double score = apart + offAxis;
        if (score < best[side]) {
            best[side] = score;
            *slots[side] = other.number;
        }
    }
    return out;
}

} // namespace dazed
