#pragma once

// Scan conversion of a small polygon into one byte of coverage a pixel, computed the way Cairo's
// image backend computes it (the 1.16 series, as Debian 12 ships it). Coordinates are snapped to a
// grid of 256 columns and 15 rows a pixel. A pixel row that no edge starts, ends or crosses in is
// covered analytically; any other row is sampled at the middle of each of its 15 grid rows. Both
// ways, and the rounding of every step, follow Cairo's, so that the bytes are the same as a
// cairo_fill of the polygon would give: the test holds this against Cairo itself.
//
// Used for the many small discs of a star chart (DirectFill.h), where Cairo's general fill costs
// several times the scan itself.

#include "platform/graphics/EllipseOutline.h"

#include <cstdint>
#include <span>
#include <vector>

namespace dazed {

// Coverage of the pixels [left, left + width) x [top, top + height), row by row: the pixels the
// polygon reaches, as Cairo bounds the pixels a fill writes.
struct CoverageMask {
    int left{0};
    int top{0};
    int width{0};
    int height{0};
    std::vector<std::uint8_t> alpha;

    [[nodiscard]] const std::uint8_t* row(int r) const
    {
        return alpha.data() + static_cast<std::ptrdiff_t>(r) * width;
    }
};

class CoverageScanner {
public:
    // The largest polygon scanned, in pixels each way: enough for any disc the chart draws, small
    // enough that no sum of the scan can overflow.
    static constexpr int kMaxSpan = 256;

    // The coverage of the closed polygon `outline` (its first point repeated last) under the
    // non-zero winding rule. The polygon must fit within kMaxSpan pixels each way and within
    // 32767 pixels of the origin; an empty mask comes back otherwise. The mask stays valid until
    // the next scan.
    const CoverageMask& scan(std::span<const FixedPoint> outline);

private:
    struct Step {
        std::int32_t quo{0};
        std::int32_t rem{0};
    };
    struct Edge {
        int top{0};         // first grid row
        int rowsLeft{0};    // grid rows still to go
        int direction{0};   // +1 downwards in the outline, -1 upwards
        int column{0};      // x at the current grid row, rounded to the grid
        Step x;             // x at the current grid row: quo + rem / dy grid columns
        Step perRow;        // x's advance a grid row
        Step perPixelRow;   // x's advance a pixel row (15 grid rows), when the edge is that tall
        std::int32_t dy{0}; // the denominator of x's remainders; 0 for a vertical edge
    };

    void addEdges(std::span<const FixedPoint> outline);
    void sampleGridRow();
    int samplePairRun(int rowTop, int sub);
    bool canCoverWholeRow() const;
    void coverWholeRow();
    void coverEdgeOverRow(Edge& edge, int sign);
    void addSpan(int x1, int x2);
    void admitEdgesStartingAt(int gridRow);
    void mergeByColumn(std::vector<Edge>& a, const std::vector<Edge>& b);
    std::vector<Edge> sortRun(std::span<const Edge> edges, std::size_t& next, std::size_t level);

    CoverageMask m_mask;
    std::vector<Edge> m_edges; // by first grid row, then in outline order
    std::vector<Edge> m_sorted;
    std::vector<std::uint64_t> m_order;
    std::size_t m_nextEdge{0};
    std::vector<Edge> m_active; // by column; ties as Cairo's converter leaves them
    std::vector<Edge> m_merged;
    // Per pixel column of the current row: the grid rows covered from there on, and the area
    // left of the edges within the pixel (in 1/512 of a grid row's pixel).
    int m_cellsLeft{0}; // the pixel column of the first cell
    std::vector<int> m_height;
    std::vector<int> m_area;
};

} // namespace dazed
