#include "catalog/Catalog.h"
#include "render/AtlasPage.h"
#include "render/AtlasText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace dazed {

namespace {

constexpr int kEdgeSamples = 48;

// The map: right ascension 24 h at the left edge to 0 h at the right (east to the left, as on the
// charts), declination +90 at the top to -90 at the bottom, the full width of the chart area.
class SkyMap {
public:
    explicit SkyMap(Paper paper)
    {
        const PaperSize size = paperSize(paper);
        m_left = kSideMarginMm * kPointsPerMm;
        m_width = (size.widthMm - 2.0 * kSideMarginMm) * kPointsPerMm;
        m_top = 28.0 * kPointsPerMm;
        m_height = m_width / 2.0;
    }
    [[nodiscard]] PagePoint at(double raHours, double decDegrees) const
    {
        return {m_left + (24.0 - raHours) / 24.0 * m_width, m_top + (90.0 - decDegrees) / 180.0 * m_height};
    }
    [[nodiscard]] double left() const { return m_left; }
    [[nodiscard]] double top() const { return m_top; }
    [[nodiscard]] double width() const { return m_width; }
    [[nodiscard]] double height() const { return m_height; }

private:
    double m_left{0.0};
    double m_top{0.0};
    double m_width{0.0};
    double m_height{0.0};
};

struct RaDecHours {
    double hours{0.0};
    double degrees{0.0};
};

RaDecHours raDecOf(const UnitVector& d)
{
    double ra = std::atan2(d.y, d.x);
    if (ra < 0.0)
        ra += 2.0 * kPi;
    return {radiansTimes12OverPi(ra), radiansTimes180OverPi(std::asin(std::clamp(d.z, -1.0, 1.0)))};
}

// A polyline of sky positions, broken where it crosses 0 h (the map's seam).
void strokeSkyLine(CGContextRef c, const SkyMap& map, const std::vector<RaDecHours>& line)
{
    CGContextBeginPath(c);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const PagePoint p = map.at(line[i].hours, line[i].degrees);
        if (i == 0 || std::fabs(line[i].hours - line[i - 1].hours) > 12.0)
            CGContextMoveToPoint(c, static_cast<float>(p.x), static_cast<float>(p.y));
        else
            CGContextAddLineToPoint(c, static_cast<float>(p.x), static_cast<float>(p.y));
    }
    CGContextStrokePath(c);
}

std::vector<RaDecHours> outlineOf(const AtlasPage& page, PageExtent extent)
{
    const TangentBasis basis =
        tangentBasis(hoursTimesPiOver12(page.raHours), degreesTimesPiOver180(page.decDegrees));
    const double a = extent.halfWidth;
    const double b = extent.halfHeight;
    const PlanePoint corners[5] = {{-a, b}, {a, b}, {a, -b}, {-a, -b}, {-a, b}};
    std::vector<RaDecHours> line;
    for (int edge = 0; edge < 4; ++edge)
        for (int k = 0; k <= kEdgeSamples; ++k) {
            const double s = static_cast<double>(k) / kEdgeSamples;
            const PlanePoint p{corners[edge].xi + s * (corners[edge + 1].xi - corners[edge].xi),
                               corners[edge].eta + s * (corners[edge + 1].eta - corners[edge].eta)};
            line.push_back(raDecOf(inverseGnomonic(basis, p)));
        }
    return line;
}

} // namespace

void drawIndexPage(CGContextRef c, const AtlasSettings& settings, const AtlasScheme& scheme)
{
    const AtlasPalette palette = atlasPalette(settings.style);
    const PaperSize paper = paperSize(settings.paper);
    const double mm = kPointsPerMm;
    setFill(c, palette.paper);
    CGContextFillRect(
        c, CGRectMake(0, 0, static_cast<float>(paper.widthMm * mm), static_cast<float>(paper.heightMm * mm)));
    const SkyMap map(settings.paper);
    const PageExtent extent = pageExtent(settings.paper, settings.radiusMm);

    pageText(c, palette.text, 16.0f, map.left(), 14.0 * mm, "Gnomonic atlas: index");
    char scale[32];
    std::snprintf(scale, sizeof scale, "%.2f", settings.radiusMm);
    pageText(c, palette.text, 9.0f, map.left(), 21.0 * mm,
             std::to_string(scheme.pages.size()) + " charts at R = " + scale +
                 " mm; every point of the sky lies at least 10\xA1 inside one of them, so every meteor up to "
                 "20\xA1 long lies whole on one.");

    // The grid: every 2 h and every 30 degrees, labelled at the edges.
    setStroke(c, palette.grid);
    CGContextSetLineWidth(c, palette.gridWidth);
    for (int h = 0; h <= 24; h += 2) {
        const PagePoint top = map.at(h, 90.0);
        const PagePoint bottom = map.at(h, -90.0);
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, static_cast<float>(top.x), static_cast<float>(top.y));
        CGContextAddLineToPoint(c, static_cast<float>(bottom.x), static_cast<float>(bottom.y));
        CGContextStrokePath(c);
        pageText(c, palette.text, 7.0f, bottom.x, bottom.y + 4.0 * mm, std::to_string(h) + "h",
                 TextAnchor::Centre);
    }
    for (int d = -90; d <= 90; d += 30) {
        const PagePoint l = map.at(24.0, d);
        const PagePoint r = map.at(0.0, d);
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, static_cast<float>(l.x), static_cast<float>(l.y));
        CGContextAddLineToPoint(c, static_cast<float>(r.x), static_cast<float>(r.y));
        CGContextStrokePath(c);
    }

    // The brighter stars, for orientation.
    setFill(c, palette.stars);
    for (int i = 0; i < kStarCount; ++i) {
        const float* star = starrd + static_cast<std::ptrdiff_t>(i) * kStarStride;
        if (star[2] > 3.5f)
            continue;
        const PagePoint p = map.at(radiansTimes12OverPi(star[0]), radiansTimes180OverPi(star[1]));
        const double d = (0.3 + 0.25 * (3.5 - star[2])) * mm;
        CGContextFillEllipseInRect(c, CGRectMake(static_cast<float>(p.x - d / 2),
                                                 static_cast<float>(p.y - d / 2), static_cast<float>(d),
                                                 static_cast<float>(d)));
    }

    // Each chart's outline and number.
    setStroke(c, palette.text);
    CGContextSetLineWidth(c, 0.5f);
    for (const AtlasPage& page : scheme.pages)
        strokeSkyLine(c, map, outlineOf(page, extent));
    for (const AtlasPage& page : scheme.pages) {
        // A pole's number goes just off the pole, where the map has room for it.
        const double dec = std::fabs(page.decDegrees) == 90.0 ? page.decDegrees * 0.93 : page.decDegrees;
        const double ra = std::fabs(page.decDegrees) == 90.0 ? 12.0 : page.raHours;
        const PagePoint p = map.at(ra, dec);
        pageText(c, palette.text, 11.0f, p.x, p.y + 4.0, std::to_string(page.number), TextAnchor::Centre);
    }

    // The list of tangent points below the map.
    const double listTop = map.top() + map.height() + 14.0 * mm;
    const int perColumn = static_cast<int>((scheme.pages.size() + 2) / 3);
    for (const AtlasPage& page : scheme.pages) {
        const int row = (page.number - 1) % std::max(perColumn, 1);
        const int column = (page.number - 1) / std::max(perColumn, 1);
        const double x = map.left() + column * map.width() / 3.0;
        const double y = listTop + row * 4.6 * mm;
        if (y > (paper.heightMm - 10.0) * mm)
            continue;
        pageText(c, palette.text, 8.5f, x, y,
                 std::to_string(page.number) + "   RA " + hoursText(page.raHours) + "   Dec " +
                     degreesText(page.decDegrees));
    }
}

} // namespace dazed
