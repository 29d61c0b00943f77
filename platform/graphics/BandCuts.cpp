#include "platform/graphics/BandCuts.h"

#include <algorithm>
#include <cmath>

namespace dazed {

namespace {

// What Cairo takes on one core for each kind of work, in microseconds: fitted (least squares) to
// the times of each half of the phone chart at two pixels a point, drawn alone at 55 centres. Only
// their proportions matter. A stroked straight segment costs its rows: the scan converter steps
// both long edges of its outline through every sub-row of every pixel row it crosses.
constexpr double kSegmentRowCost = 0.26;
// A disc costs about the same at every size the chart draws: making its path and setting up its
// scan conversion outweigh its few rows.
constexpr double kDiscCost = 10.0;
// A character of text, placed from the text cache.
constexpr double kCharacterCost = 0.46;
// Filling or clearing, per pixel.
constexpr double kFillPixelCost = 0.00013;

// The estimated work of each pixel row, added up call by call.
class RowWork {
public:
    RowWork(CGPoint origin, double pixelsPerPoint, int height)
        : m_origin(origin)
        , m_scale(pixelsPerPoint)
        , m_height(height)
        , m_change(static_cast<std::size_t>(height) + 1, 0.0)
        , m_once(static_cast<std::size_t>(height), 0.0)
    {
    }

    void operator()(const op::ClearRect& r) { fill(r.rect); }
    void operator()(const op::FillRect& r) { fill(r.rect); }
    void operator()(const op::FillEllipseInRect& r)
    {
        spread(r.rect.minY(), r.rect.maxY(), [](double) { return kDiscCost; });
    }
    void operator()(const op::SetLineWidth& r) { m_lineWidth = r.width; }
    void operator()(const op::BeginPath&) { m_path.clear(); }
    void operator()(const op::MoveToPoint& r) { m_path.push_back({{r.x, r.y}}); }
    void operator()(const op::AddLineToPoint& r)
    {
        if (!m_path.empty())
            m_path.back().push_back({r.x, r.y});
    }
    // A curve costs about its chord's rows: the atlas's gentle arcs bend little.
    void operator()(const op::AddCurveToPoint& r)
    {
        if (!m_path.empty())
            m_path.back().push_back({r.x, r.y});
    }
    void operator()(const op::StrokePath&)
    {
        for (const std::vector<CGPoint>& sub : m_path)
            for (std::size_t i = 1; i < sub.size(); ++i)
                segment(sub[i - 1], sub[i]);
        m_path.clear();
    }
    void operator()(const op::StrokeLineSegments& r)
    {
        const std::size_t count = std::min(r.count, r.points.size());
        for (std::size_t i = 0; i + 1 < count; i += 2)
            segment(r.points[i], r.points[i + 1]);
    }
    void operator()(const op::SelectFont& r) { m_fontSize = r.size; }
    void operator()(const op::ShowTextAtPoint& r)
    {
        // The glyphs stand on the baseline, a little below it at most.
        const double characters = static_cast<double>(r.text.size());
        spread(r.y - m_fontSize, r.y + m_fontSize / 4.0,
               [characters](double) { return kCharacterCost * characters; });
    }
    template <typename Other> void operator()(const Other&) {}

    // The work of each row, in order.
    [[nodiscard]] std::vector<double> rows() const
    {
        std::vector<double> work(static_cast<std::size_t>(m_height), 0.0);
        double perRow = 0.0;
        for (std::size_t y = 0; y < work.size(); ++y) {
            perRow += m_change[y];
            work[y] = perRow + m_once[y];
        }
        return work;
    }

private:
    // Adds work over the rows from point y0 to point y1: cost(rows) in all, spread evenly, where
    // rows is how many of them lie in the image. A call within a row costs that row.
    template <typename Cost> void spread(double y0, double y1, Cost cost)
    {
        if (!std::isfinite(y0) || !std::isfinite(y1))
            return;
        double top = (std::min(y0, y1) + m_origin.y) * m_scale;
        double bottom = (std::max(y0, y1) + m_origin.y) * m_scale;
        if (!std::isfinite(top) || !std::isfinite(bottom) || bottom < 0.0 || top >= m_height)
            return;
        top = std::max(top, 0.0);
        bottom = std::min(bottom, static_cast<double>(m_height));
        const auto first = static_cast<int>(top);
        const int end = std::max(first + 1, static_cast<int>(std::ceil(bottom)));
        const double total = cost(bottom - top);
        if (!(total > 0.0) || !std::isfinite(total))
            return;
        if (end - first == 1) {
            m_once[static_cast<std::size_t>(first)] += total;
            return;
        }
        const double each = total / (end - first);
        m_change[static_cast<std::size_t>(first)] += each;
        m_change[static_cast<std::size_t>(end)] -= each;
    }

    void fill(CGRect rect)
    {
        const double widthPixels = std::abs(double{rect.size.width}) * m_scale;
        spread(rect.minY(), rect.maxY(),
               [widthPixels](double rows) { return kFillPixelCost * widthPixels * rows; });
    }

    void segment(CGPoint a, CGPoint b)
    {
        // The outline reaches half the line's width beyond the segment's ends.
        const double half = std::max(double{m_lineWidth}, 1.0 / m_scale) / 2.0;
        spread(std::min(a.y, b.y) - half, std::max(a.y, b.y) + half,
               [](double rows) { return kSegmentRowCost * rows; });
    }

    CGPoint m_origin;
    double m_scale;
    int m_height;
    // Work spread over rows, as changes: row y has the sum of m_change[0..y] ...
    std::vector<double> m_change;
    // ... and m_once[y] besides, the work of calls within that one row.
    std::vector<double> m_once;
    float m_lineWidth{1.0f};
    float m_fontSize{12.0f};
    std::vector<std::vector<CGPoint>> m_path;
};

std::vector<int> evenStarts(int height, int bands)
{
    std::vector<int> starts;
    for (int i = 0; i < bands; ++i)
        starts.push_back(static_cast<int>(static_cast<long long>(height) * i / bands));
    return starts;
}

} // namespace

std::vector<int> bandStartsFor(std::span<const DrawOp> ops, CGPoint origin, double pixelsPerPoint, int height,
                               int bands, std::optional<CGRect> clip)
{
    bands = std::min(bands, height);
    if (bands <= 0)
        return {};
    if (bands == 1 || !std::isfinite(pixelsPerPoint) || !(pixelsPerPoint > 0.0) || !std::isfinite(origin.y))
        return evenStarts(height, bands);
    RowWork work(origin, pixelsPerPoint, height);
    for (const DrawOp& op : ops)
        std::visit(work, op);
    std::vector<double> rows = work.rows();
    if (clip) {
        // What falls outside the clip costs next to nothing.
        const double top = double{clip->minY()} * pixelsPerPoint;
        const double bottom = double{clip->maxY()} * pixelsPerPoint;
        for (int y = 0; y < height; ++y)
            if (!(y + 1 > top && y < bottom))
                rows[static_cast<std::size_t>(y)] = 0.0;
    }
    double total = 0.0;
    for (double w : rows)
        total += w;
    if (!(total > 0.0) || !std::isfinite(total))
        return evenStarts(height, bands);

    // Band k starts where the work before it comes nearest to k shares of the whole, leaving every
    // band a row at least.
    std::vector<int> starts{0};
    double before = 0.0;
    int row = 0;
    for (int band = 1; band < bands; ++band) {
        const double share = total * band / bands;
        while (row < height && before + rows[static_cast<std::size_t>(row)] <= share)
            before += rows[static_cast<std::size_t>(row++)];
        // The row that crosses the share goes to whichever side it leaves nearer to it.
        if (row < height && before + rows[static_cast<std::size_t>(row)] - share < share - before)
            before += rows[static_cast<std::size_t>(row++)];
        const int start = std::clamp(row, starts.back() + 1, height - (bands - band));
        starts.push_back(start);
    }
    return starts;
}

} // namespace dazed
