#include "platform/graphics/CoverageScan.h"

#include <algorithm>
#include <climits>
#include <limits>

namespace dazed {

namespace {
constexpr int kGridX = 256; // grid columns a pixel: the fixed point's own resolution
constexpr int kGridY = 15;  // grid rows a pixel
// The farthest a point may lie from the origin, in fixed point: the largest image Cairo makes.
// Within it, and within kMaxSpan, every step of the scan fits in 32 bits where it is divided.
constexpr std::int32_t kMaxCoordinate = 32767 * 256;

// A fixed-point y on the grid's rows, rounded to the nearest.
int gridRow(std::int32_t y)
{
    return static_cast<int>((std::int64_t{kGridY} * y + 128) >> 8);
}

// Keeps a remainder within [0, dy) by carrying into the quotient.
void normalise(std::int32_t& quo, std::int32_t& rem, std::int32_t dy)
{
    if (rem < 0) {
        --quo;
        rem += dy;
    } else if (rem >= dy) {
        ++quo;
        rem -= dy;
    }
}

// Stable insertion sort by column: the active edges are few and nearly in order.
template <typename Edge> void sortByColumn(std::vector<Edge>& edges)
{
    for (std::size_t i = 1; i < edges.size(); ++i) {
        if (!(edges[i].column < edges[i - 1].column))
            continue;
        Edge moving = edges[i];
        std::size_t j = i;
        while (j > 0 && moving.column < edges[j - 1].column) {
            edges[j] = edges[j - 1];
            --j;
        }
        edges[j] = moving;
    }
}
} // namespace

void CoverageScanner::addEdges(std::span<const FixedPoint> outline)
{
    // Room for every edge the outline can have, so that adding one never reallocates.
    m_edges.resize(outline.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < outline.size(); ++i) {
        FixedPoint p1 = outline[i];
        FixedPoint p2 = outline[i + 1];
        if (p1.y == p2.y)
            continue;
        int direction = 1;
        if (p1.y > p2.y) {
            std::swap(p1, p2);
            direction = -1;
        }
        Edge e;
        e.top = gridRow(p1.y);
        const int bottom = gridRow(p2.y);
        if (bottom <= e.top)
            continue;
        e.rowsLeft = bottom - e.top;
        e.direction = direction;
        if (p1.x == p2.x) {
            e.column = p1.x;
            e.x = {p1.x, 0};
        } else {
            // x is tracked exactly as quo + rem / dy grid columns, dy = 15 x 512 x the edge's
            // height, sampled at the middle of each grid row. Each step's numerator and
            // denominator share a factor that is divided out first, so that the divisions fit in
            // 32 bits: the polygon is small (kMaxSpan).
            const std::int32_t width = p2.x - p1.x;
            const std::int32_t height = p2.y - p1.y;
            const std::int32_t dy = height * kGridY * 512;
            e.dy = dy;
            // A grid row down: 256 width / (15 height).
            const std::int32_t rowNumerator = width * kGridX;
            const std::int32_t rowDenominator = height * kGridY;
            e.perRow = {rowNumerator / rowDenominator, rowNumerator % rowDenominator * 512};
            // From p1 to the middle of the first grid row: t width / (30 height).
            const std::int32_t offset = ((2 * e.top + 1) << 8) - p1.y * kGridY * 2;
            const std::int32_t startNumerator = offset * width;
            const std::int32_t startDenominator = height * kGridY * 2;
            e.x = {startNumerator / startDenominator + p1.x, startNumerator % startDenominator * 256};
            normalise(e.x.quo, e.x.rem, dy);
            if (e.rowsLeft >= kGridY) {
                // A pixel row down: 256 width / height.
                e.perPixelRow = {rowNumerator / height, rowNumerator % height * kGridY * 512};
            }
            e.column = static_cast<int>(e.x.quo + (e.x.rem >= dy / 2));
        }
        m_edges[count++] = e;
    }
    m_edges.resize(count);
    // By first grid row, keeping the outline's order among equals: it decides the order of edges
    // that meet, which decides whether their row may be covered whole. Sorted as keys of row and
    // index, which are small, then gathered.
    m_order.clear();
    for (std::size_t i = 0; i < m_edges.size(); ++i)
        m_order.push_back(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(m_edges[i].top) ^ 0x80000000u) << 32) | i);
    std::sort(m_order.begin(), m_order.end());
    m_sorted.resize(m_edges.size());
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_sorted[i] = m_edges[m_order[i] & 0xffffffffu];
    m_edges.swap(m_sorted);
    m_nextEdge = 0;
}

// Merges two lists ordered by column as Cairo's scan converter merges them: it takes from one
// list while the columns do not pass the other's next, ties included, then turns to the other.
// Which of two edges in one column comes first decides whether their row may be covered whole.
void CoverageScanner::mergeByColumn(std::vector<Edge>& a, const std::vector<Edge>& b)
{
    m_merged.clear();
    std::size_t i = 0;
    std::size_t j = 0;
    bool fromA = !a.empty() && !b.empty() && a[0].column <= b[0].column;
    while (i < a.size() && j < b.size()) {
        if (fromA) {
            const int limit = b[j].column;
            while (i < a.size() && a[i].column <= limit)
                m_merged.push_back(a[i++]);
        } else {
            const int limit = a[i].column;
            while (j < b.size() && b[j].column <= limit)
                m_merged.push_back(b[j++]);
        }
        fromA = !fromA;
    }
    m_merged.insert(m_merged.end(), a.begin() + static_cast<std::ptrdiff_t>(i), a.end());
    m_merged.insert(m_merged.end(), b.begin() + static_cast<std::ptrdiff_t>(j), b.end());
    a.swap(m_merged);
}

// Orders the edges from `next` on by column as Cairo's converter sorts new edges: the first two
// in order, then runs of one, two, four... edges sorted the same way and merged in.
std::vector<CoverageScanner::Edge> CoverageScanner::sortRun(std::span<const Edge> edges, std::size_t& next,
                                                            std::size_t level)
{
    if (next + 1 >= edges.size())
        return {edges[next++]};
    const Edge& first = edges[next];
    const Edge& second = edges[next + 1];
    next += 2;
    std::vector<Edge> run =
        first.column <= second.column ? std::vector<Edge>{first, second} : std::vector<Edge>{second, first};
    for (std::size_t i = 0; i < level && next < edges.size(); ++i)
        mergeByColumn(run, sortRun(edges, next, i));
    return run;
}

void CoverageScanner::admitEdgesStartingAt(int gridRow)
{
    const std::size_t first = m_nextEdge;
    while (m_nextEdge < m_edges.size() && m_edges[m_nextEdge].top <= gridRow)
        ++m_nextEdge;
    const std::size_t count = m_nextEdge - first;
    if (count == 1) {
        // One edge joins after every edge whose column does not pass its own.
        m_active.push_back(m_edges[first]);
        sortByColumn(m_active);
    } else if (count > 1) {
        std::size_t next = 0;
        const std::span<const Edge> joining(m_edges.data() + first, count);
        mergeByColumn(m_active, sortRun(joining, next, std::numeric_limits<std::size_t>::max()));
    }
}

inline void CoverageScanner::addSpan(int x1, int x2)
{
    // The coverage from x1 on, less that from x2 on. Within one pixel, or for an empty span, the
    // heights cancel and the areas differ as they should, so no case needs telling apart.
    const int ix1 = (x1 >> 8) - m_cellsLeft;
    const int ix2 = (x2 >> 8) - m_cellsLeft;
    int* area = m_area.data();
    int* height = m_height.data();
    area[ix1] += 2 * (x1 & 255);
    ++height[ix1];
    area[ix2] -= 2 * (x2 & 255);
    --height[ix2];
}

void CoverageScanner::sampleGridRow()
{
    // Spans where the winding is not zero, from the edges' columns at this grid row. A small
    // convex shape has two edges at almost every grid row: one span between them.
    const std::size_t count = m_active.size();
    if (count == 2) {
        if (m_active[0].direction + m_active[1].direction == 0)
            addSpan(m_active[0].column, m_active[1].column);
    } else {
        int winding = 0;
        int start = INT_MIN;
        for (std::size_t k = 0; k < count; ++k) {
            const int end = m_active[k].column;
            winding += m_active[k].direction;
            const int next = k + 1 < count ? m_active[k + 1].column : INT_MAX;
            if (winding == 0) {
                if (next != end) {
                    addSpan(start, end);
                    start = INT_MIN;
                }
            } else if (start == INT_MIN) {
                start = end;
            }
        }
    }
    // Then every edge moves down a grid row; those that end leave.
    std::size_t kept = 0;
    for (std::size_t k = 0; k < count; ++k) {
        Edge& e = m_active[k];
        if (--e.rowsLeft == 0)
            continue;
        if (e.dy != 0) {
            e.x.quo += e.perRow.quo;
            e.x.rem += e.perRow.rem;
            normalise(e.x.quo, e.x.rem, e.dy);
            e.column = static_cast<int>(e.x.quo + (e.x.rem >= e.dy / 2));
        }
        if (kept != k)
            m_active[kept] = e;
        ++kept;
    }
    m_active.resize(kept);
    if (kept == 2) {
        if (m_active[1].column < m_active[0].column)
            std::swap(m_active[0], m_active[1]);
    } else {
        sortByColumn(m_active);
    }
}

int CoverageScanner::samplePairRun(int rowTop, int sub)
{
    // Grid rows until the pixel row ends, an edge ends or another starts.
    int run = kGridY - sub;
    if (m_nextEdge < m_edges.size())
        run = std::min(run, m_edges[m_nextEdge].top - (rowTop + sub));
    run = std::min({run, m_active[0].rowsLeft, m_active[1].rowsLeft});
    Edge a = m_active[0];
    Edge b = m_active[1];
    const bool spans = a.direction + b.direction == 0;
    // The step a grid row down, floored so that the remainder only ever carries upwards: the
    // same exact value, with no branch to mispredict.
    const auto floored = [](const Edge& e) {
        Step d = e.perRow;
        if (d.rem < 0) {
            --d.quo;
            d.rem += e.dy;
        }
        return d;
    };
    Step stepA = floored(a);
    Step stepB = floored(b);
    const auto advance = [](Edge& e, Step d) {
        e.x.quo += d.quo;
        e.x.rem += d.rem;
        const bool carry = e.x.rem >= e.dy;
        e.x.quo += carry;
        e.x.rem -= carry ? e.dy : 0;
        e.column = e.x.quo + (e.x.rem >= e.dy / 2);
    };
    for (int i = 0; i < run; ++i) {
        if (spans)
            addSpan(std::min(a.column, b.column), std::max(a.column, b.column));
        if (a.dy != 0)
            advance(a, stepA);
        if (b.dy != 0)
            advance(b, stepB);
        // The active edges stay ordered by column, ties as they were.
        if (b.column < a.column) {
            std::swap(a, b);
            std::swap(stepA, stepB);
        }
    }
    a.rowsLeft -= run;
    b.rowsLeft -= run;
    m_active[0] = a;
    m_active[1] = b;
    if (a.rowsLeft == 0 || b.rowsLeft == 0) {
        m_active.erase(
            std::remove_if(m_active.begin(), m_active.end(), [](const Edge& e) { return e.rowsLeft == 0; }),
            m_active.end());
    }
    return run;
}

bool CoverageScanner::canCoverWholeRow() const
{
    // No edge may end within the row...
    for (const Edge& e : m_active)
        if (e.rowsLeft < kGridY)
            return false;
    // ...nor pass another: the columns a pixel row down must keep their order.
    int previous = INT_MIN;
    for (const Edge& e : m_active) {
        int column = e.column;
        if (e.dy != 0) {
            std::int32_t quo = e.x.quo + e.perPixelRow.quo;
            std::int32_t rem = e.x.rem + e.perPixelRow.rem;
            normalise(quo, rem, e.dy);
            column = static_cast<int>(quo + (rem >= e.dy / 2));
        }
        if (column < previous)
            return false;
        previous = column;
    }
    return true;
}

void CoverageScanner::coverEdgeOverRow(Edge& edge, int sign)
{
    Step x1 = edge.x;
    if (edge.dy != 0) {
        edge.x.quo += edge.perPixelRow.quo;
        edge.x.rem += edge.perPixelRow.rem;
        normalise(edge.x.quo, edge.x.rem, edge.dy);
        edge.column = static_cast<int>(edge.x.quo + (edge.x.rem >= edge.dy / 2));
    }
    Step x2 = edge.x;
    // From the sample at the middle of the first grid row back to the pixel row's top edge.
    if (edge.dy != 0) {
        for (Step* x : {&x1, &x2}) {
            x->quo -= edge.perRow.quo / 2;
            x->rem -= edge.perRow.rem / 2;
            normalise(x->quo, x->rem, edge.dy);
        }
    }
    int ix1 = static_cast<int>(x1.quo >> 8);
    int fx1 = static_cast<int>(x1.quo & 255);
    int ix2 = static_cast<int>(x2.quo >> 8);
    int fx2 = static_cast<int>(x2.quo & 255);
    if (ix1 == ix2) {
        const int i = ix1 - m_cellsLeft;
        m_height[i] += sign * kGridY;
        m_area[i] += sign * (fx1 + fx2) * kGridY;
        return;
    }
    if (ix2 < ix1) {
        std::swap(ix1, ix2);
        std::swap(fx1, fx2);
        std::swap(x1, x2);
    }
    // The grid rows of the pixel row the edge spends in each column it crosses.
    const std::int64_t dy = edge.dy;
    const std::int64_t dx = (std::int64_t{x2.quo} - x1.quo) * dy + (x2.rem - x1.rem);
    std::int64_t t = std::int64_t{ix1 + 1} * kGridX * dy;
    t -= std::int64_t{x1.quo} * dy + x1.rem;
    t *= kGridY;
    struct {
        std::int64_t quo;
        std::int64_t rem;
    } y{t / dx, t % dx};
    int i = ix1 - m_cellsLeft;
    m_area[i] += sign * static_cast<int>(y.quo) * (kGridX + fx1);
    m_height[i] += sign * static_cast<int>(y.quo);
    std::int64_t yLast = y.quo;
    if (ix1 + 1 < ix2) {
        const std::int64_t across = std::int64_t{kGridY} * kGridX * dy;
        const std::int64_t perColumnQuo = across / dx;
        const std::int64_t perColumnRem = across % dx;
        for (++i; i < ix2 - m_cellsLeft; ++i) {
            y.quo += perColumnQuo;
            y.rem += perColumnRem;
            if (y.rem >= dx) {
                ++y.quo;
                y.rem -= dx;
            }
            m_area[i] += sign * static_cast<int>(y.quo - yLast) * kGridX;
            m_height[i] += sign * static_cast<int>(y.quo - yLast);
            yLast = y.quo;
        }
    }
    i = ix2 - m_cellsLeft;
    m_area[i] += sign * static_cast<int>(kGridY - yLast) * fx2;
    m_height[i] += sign * static_cast<int>(kGridY - yLast);
}

void CoverageScanner::coverWholeRow()
{
    // Edges pair up into spans where the winding returns to zero; the edges inside a span only
    // move on.
    std::size_t left = 0;
    while (left + 1 < m_active.size()) {
        int winding = m_active[left].direction;
        std::size_t right = left + 1;
        // A closed outline crosses every grid row as often upwards as downwards, so the winding
        // comes back to zero by the last edge.
        for (; right + 1 < m_active.size(); ++right) {
            winding += m_active[right].direction;
            const int next = right + 1 < m_active.size() ? m_active[right + 1].column : INT_MAX;
            if (winding == 0 && next != m_active[right].column)
                break;
            Edge& inner = m_active[right];
            if (inner.dy != 0) {
                inner.x.quo += inner.perPixelRow.quo;
                inner.x.rem += inner.perPixelRow.rem;
                normalise(inner.x.quo, inner.x.rem, inner.dy);
                inner.column = static_cast<int>(inner.x.quo + (inner.x.rem >= inner.dy / 2));
            }
        }
        coverEdgeOverRow(m_active[left], +1);
        coverEdgeOverRow(m_active[right], -1);
        left = right + 1;
    }
    std::size_t kept = 0;
    for (Edge& e : m_active) {
        e.rowsLeft -= kGridY;
        if (e.rowsLeft != 0)
            m_active[kept++] = e;
    }
    m_active.resize(kept);
}

const CoverageMask& CoverageScanner::scan(std::span<const FixedPoint> outline)
{
    m_mask.width = 0;
    m_mask.height = 0;
    m_mask.alpha.clear();
    m_active.clear();
    if (outline.size() < 3)
        return m_mask;
    // Cairo writes the pixels the polygon's edges reach, level edges left out: a column that an
    // edge only touches on its left side stays unwritten.
    std::int32_t minX = INT32_MAX;
    std::int32_t maxX = INT32_MIN;
    std::int32_t minY = INT32_MAX;
    std::int32_t maxY = INT32_MIN;
    for (std::size_t i = 0; i + 1 < outline.size(); ++i) {
        if (outline[i].y == outline[i + 1].y)
            continue;
        for (const FixedPoint& p : {outline[i], outline[i + 1]}) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    }
    if (minX > maxX || std::int64_t{maxX} - minX > std::int64_t{kMaxSpan} * 256 ||
        std::int64_t{maxY} - minY > std::int64_t{kMaxSpan} * 256 || minX < -kMaxCoordinate ||
        maxX > kMaxCoordinate || minY < -kMaxCoordinate || maxY > kMaxCoordinate)
        return m_mask;
    m_mask.left = minX >> 8;
    m_mask.width = ((maxX + 255) >> 8) - m_mask.left;
    m_mask.top = minY >> 8;
    m_mask.height = ((maxY + 255) >> 8) - m_mask.top;
    m_mask.alpha.assign(static_cast<std::size_t>(m_mask.width) * m_mask.height, 0);
    // The cells run a column wider on the left and two on the right: an edge's columns are
    // rounded, and may stray past the pixels written.
    m_cellsLeft = m_mask.left - 1;
    const auto cells = static_cast<std::size_t>(m_mask.width + 3);
    m_height.assign(cells, 0);
    m_area.assign(cells, 0);

    addEdges(outline);
    for (int r = 0; r < m_mask.height; ++r) {
        const int rowTop = (m_mask.top + r) * kGridY;
        // Edges starting on the row's first grid row join at once; any starting further down
        // make the row sampled.
        admitEdgesStartingAt(rowTop);
        const bool startsWithin = m_nextEdge < m_edges.size() && m_edges[m_nextEdge].top < rowTop + kGridY;
        if (m_active.empty() && !startsWithin)
            continue;
        if (!startsWithin && canCoverWholeRow()) {
            coverWholeRow();
        } else {
            for (int sub = 0; sub < kGridY;) {
                if (m_nextEdge < m_edges.size() && m_edges[m_nextEdge].top <= rowTop + sub)
                    admitEdgesStartingAt(rowTop + sub);
                if (m_active.size() == 2) {
                    sub += samplePairRun(rowTop, sub);
                } else {
                    sampleGridRow();
                    ++sub;
                }
            }
        }
        // Each pixel's coverage: the grid rows covered from the pixels to its left, less the area
        // the edges within it leave uncovered, mapped from 0..2 x 256 x 15 onto 0..255.
        std::uint8_t* out = m_mask.alpha.data() + static_cast<std::ptrdiff_t>(r) * m_mask.width;
        int cover = m_height[0];
        for (int x = 0; x < m_mask.width; ++x) {
            const auto cell = static_cast<std::size_t>(x + 1);
            cover += m_height[cell];
            const int area = cover * kGridX * 2 - m_area[cell];
            out[x] = static_cast<std::uint8_t>((area + (area << 4) + 256) >> 9);
        }
        std::fill(m_height.begin(), m_height.end(), 0);
        std::fill(m_area.begin(), m_area.end(), 0);
    }
    return m_mask;
}

} // namespace dazed
