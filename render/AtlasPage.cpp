#include "render/AtlasPage.h"

#include "catalog/Catalog.h"
#include "render/AtlasChart.h"
#include "render/AtlasText.h"
#include "render/CatalogueDirections.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace dazed {

namespace {

constexpr double kCrossArmMm = 2.5;

void figurePass(CGContextRef c, const AtlasChart& chart)
{
    std::vector<CGPoint> points;
    for (int i = 0; i < kLineCount; ++i) {
        const float* r = linesrd + static_cast<std::ptrdiff_t>(i) * kLineStride;
        const auto a = chart.image(unitVector(r[0], r[1]));
        const auto b = chart.image(unitVector(r[2], r[3]));
        if (!a || !b)
            continue;
        double lo = 0.0;
        double hi = 1.0;
        if (!chart.clip(*a, *b, lo, hi))
            continue;
        points.push_back(narrowed(chart.toPage(along(*a, *b, lo))));
        points.push_back(narrowed(chart.toPage(along(*a, *b, hi))));
    }
    setStroke(c, chart.palette.figures);
    CGContextSetLineWidth(c, chart.palette.figureWidth);
    if (!points.empty())
        CGContextStrokeLineSegments(c, points.data(), points.size());
}

struct PlacedStar {
    PagePoint at;
    double diameterPt{0.0};
};

std::vector<PlacedStar> placeStars(const AtlasChart& chart)
{
    std::vector<PlacedStar> stars;
    const auto units = catalogueDirections().stars;
    for (int i = 0; i < kStarCount; ++i) {
        const float* star = starrd + static_cast<std::ptrdiff_t>(i) * kStarStride;
        if (!(double{star[2]} <= chart.settings.limitMagnitude))
            continue;
        const auto p = chart.image(units[static_cast<std::size_t>(i)]);
        if (!p || !chart.inside(*p))
            continue;
        stars.push_back({chart.toPage(*p), starDiameterMm(star[2]) * kPointsPerMm});
    }
    return stars;
}

void starPass(CGContextRef c, const AtlasChart& chart, const std::vector<PlacedStar>& stars)
{
    // A rim of paper around each disc keeps lines from running into it.
    setFill(c, chart.palette.paper);
    for (const PlacedStar& s : stars)
        fillDisc(c, s.at, s.diameterPt + 0.5 * kPointsPerMm);
    setFill(c, chart.palette.stars);
    for (const PlacedStar& s : stars)
        fillDisc(c, s.at, s.diameterPt);
}

void namePass(CGContextRef c, const AtlasChart& chart)
{
    const auto& directions = catalogueDirections();
    for (int i = 0; i < kConstellationCount; ++i) {
        const char* name = nameConst[i * 2 + 1];
        if (std::strspn(name, " ") == std::strlen(name))
            continue; // the table's blank row
        const auto p = chart.image(directions.labels[static_cast<std::size_t>(i)].unit);
        if (!p || !chart.inside(*p))
            continue;
        const PagePoint at = chart.toPage(*p);
        pageText(c, chart.palette.constellationNames, 7.5f, at.x, at.y, name, TextAnchor::Centre);
    }
    for (int i = 0; i < kStarNameCount; ++i) {
        const float* row = starNamesP + static_cast<std::ptrdiff_t>(i) * kStarNameStride;
        if (!(double{row[2]} <= chart.settings.limitMagnitude))
            continue;
        const auto p = chart.image(directions.starNames[static_cast<std::size_t>(i)].unit);
        if (!p || !chart.inside(*p))
            continue;
        const PagePoint at = chart.toPage(*p);
        const double offset = (starDiameterMm(row[2]) / 2.0 + 0.8) * kPointsPerMm;
        pageText(c, chart.palette.starNames, 6.0f, at.x + offset, at.y + 2.0, starNames[i]);
    }
}

// Paper over everything outside the chart area, then its border.
void marginPass(CGContextRef c, const AtlasChart& chart)
{
    const PaperSize paper = paperSize(chart.settings.paper);
    const ChartArea area = chartArea(chart.settings.paper);
    const double w = paper.widthMm * kPointsPerMm;
    const double h = paper.heightMm * kPointsPerMm;
    const PagePoint topLeft = pagePointOfMm(chart.settings.paper, -area.halfWidthMm, area.halfHeightMm);
    const PagePoint bottomRight = pagePointOfMm(chart.settings.paper, area.halfWidthMm, -area.halfHeightMm);
    setFill(c, chart.palette.paper);
    const auto rect = [&](double x0, double y0, double x1, double y1) {
        CGContextFillRect(c, CGRectMake(static_cast<float>(x0), static_cast<float>(y0),
                                        static_cast<float>(x1 - x0), static_cast<float>(y1 - y0)));
    };
    rect(0, 0, w, topLeft.y);
    rect(0, bottomRight.y, w, h);
    rect(0, topLeft.y, topLeft.x, bottomRight.y);
    rect(bottomRight.x, topLeft.y, w, bottomRight.y);
    setStroke(c, chart.palette.text);
    CGContextSetLineWidth(c, 0.6f);
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, static_cast<float>(topLeft.x), static_cast<float>(topLeft.y));
    CGContextAddLineToPoint(c, static_cast<float>(bottomRight.x), static_cast<float>(topLeft.y));
    CGContextAddLineToPoint(c, static_cast<float>(bottomRight.x), static_cast<float>(bottomRight.y));
    CGContextAddLineToPoint(c, static_cast<float>(topLeft.x), static_cast<float>(bottomRight.y));
    CGContextAddLineToPoint(c, static_cast<float>(topLeft.x), static_cast<float>(topLeft.y));
    CGContextStrokePath(c);
}

void crossPass(CGContextRef c, const AtlasChart& chart)
{
    const ReferenceCrosses r = referenceCrosses(chart.settings.paper);
    setStroke(c, chart.palette.text);
    CGContextSetLineWidth(c, 0.3f);
    const double at[5][2] = {{0, 0}, {-r.xMm, r.yMm}, {r.xMm, r.yMm}, {-r.xMm, -r.yMm}, {r.xMm, -r.yMm}};
    std::vector<CGPoint> points;
    for (const auto& p : at) {
        points.push_back(narrowed(pagePointOfMm(chart.settings.paper, p[0] - kCrossArmMm, p[1])));
        points.push_back(narrowed(pagePointOfMm(chart.settings.paper, p[0] + kCrossArmMm, p[1])));
        points.push_back(narrowed(pagePointOfMm(chart.settings.paper, p[0], p[1] - kCrossArmMm)));
        points.push_back(narrowed(pagePointOfMm(chart.settings.paper, p[0], p[1] + kCrossArmMm)));
    }
    CGContextStrokeLineSegments(c, points.data(), points.size());
}

std::string number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The header, the neighbours' numbers, the magnitude key and the footer.
void marginTextPass(CGContextRef c, const AtlasChart& chart, const ChartPage& page)
{
    const Paper paper = chart.settings.paper;
    const PaperSize size = paperSize(paper);
    const ChartArea area = chartArea(paper);
    const Rgb ink = chart.palette.text;
    const double mm = kPointsPerMm;
    const double right = size.widthMm * mm - kSideMarginMm * mm;
    const double left = kSideMarginMm * mm;
    const double headerY = 10.0 * mm;

    if (page.number > 0)
        pageText(c, ink, 13.0f, left, headerY,
                 "Chart " + std::to_string(page.number) + " of " + std::to_string(page.count));
    else
        pageText(c, ink, 13.0f, left, headerY, "Gnomonic chart");
    const std::string centre = "RA " + hoursText(page.raHours) + "   Dec " + degreesText(page.decDegrees) +
                               "   R = " + number(chart.settings.radiusMm, 2) + " mm";
    pageText(c, ink, 10.0f, right, headerY, centre, TextAnchor::Right);

    // The neighbours, each at the edge it lies beyond.
    const PagePoint middle = pagePointOfMm(paper, 0, 0);
    const double top = middle.y - area.halfHeightMm * mm;
    const double bottom = middle.y + area.halfHeightMm * mm;
    if (page.neighbours.top)
        pageText(c, ink, 9.0f, middle.x, top - 2.0 * mm, "^ " + std::to_string(page.neighbours.top),
                 TextAnchor::Centre);
    if (page.neighbours.bottom)
        pageText(c, ink, 9.0f, middle.x, bottom + 5.0 * mm, "v " + std::to_string(page.neighbours.bottom),
                 TextAnchor::Centre);
    if (page.neighbours.left) {
        pageText(c, ink, 9.0f, left / 2.0, middle.y - 2.0 * mm, "<", TextAnchor::Centre);
        pageText(c, ink, 9.0f, left / 2.0, middle.y + 2.0 * mm, std::to_string(page.neighbours.left),
                 TextAnchor::Centre);
    }
    if (page.neighbours.right) {
        const double x = size.widthMm * mm - left / 2.0;
        pageText(c, ink, 9.0f, x, middle.y - 2.0 * mm, ">", TextAnchor::Centre);
        pageText(c, ink, 9.0f, x, middle.y + 2.0 * mm, std::to_string(page.neighbours.right),
                 TextAnchor::Centre);
    }

    // The magnitude key: a disc for each whole magnitude the chart shows.
    const double keyY = size.heightMm * mm - 8.0 * mm;
    double x = left;
    pageText(c, ink, 8.0f, x, keyY + 1.0 * mm, "mag");
    x += 9.0 * mm;
    for (int m = -1; m <= 5 && m <= chart.settings.limitMagnitude; ++m) {
        const double d = starDiameterMm(m) * mm;
        setFill(c, chart.palette.stars);
        fillDisc(c, {x + d / 2.0, keyY}, d);
        pageText(c, ink, 8.0f, x + d + 1.0 * mm, keyY + 1.0 * mm, std::to_string(m));
        x += d + 7.0 * mm;
    }
    const ReferenceCrosses r = referenceCrosses(paper);
    const std::string footer = "gnomonic, J2000   grid " + number(chart.settings.gridDegrees, 0) +
                               "\xA1   crosses at 0 and \xB1" + number(r.xMm, 0) + ", \xB1" +
                               number(r.yMm, 0) + " mm";
    pageText(c, ink, 8.0f, right, keyY + 1.0 * mm, footer, TextAnchor::Right);
}

} // namespace

ReferenceCrosses referenceCrosses(Paper paper)
{
    const ChartArea area = chartArea(paper);
    return {std::floor((area.halfWidthMm - 5.0) / 10.0) * 10.0,
            std::floor((area.halfHeightMm - 5.0) / 10.0) * 10.0};
}

double starDiameterMm(double magnitude)
{
    return 0.45 + 0.45 * std::max(0.0, 5.0 - magnitude);
}

std::string hoursText(double hours)
{
    double h = std::fmod(hours, 24.0);
    if (h < 0.0)
        h += 24.0;
    long minutes = std::lround(h * 60.0) % (24 * 60);
    char text[32];
    std::snprintf(text, sizeof text, "%ldh %02ldm", minutes / 60, minutes % 60);
    return text;
}

std::string degreesText(double degrees)
{
    char text[32];
    std::snprintf(text, sizeof text, "%+.1f\xA1", degrees);
    return text;
}

void drawChartPage(CGContextRef context, const AtlasSettings& settings, const ChartPage& page)
{
    const AtlasChart chart(settings, page);
    const PaperSize paper = paperSize(settings.paper);
    setFill(context, chart.palette.paper);
    CGContextFillRect(context, CGRectMake(0, 0, static_cast<float>(paper.widthMm * kPointsPerMm),
                                          static_cast<float>(paper.heightMm * kPointsPerMm)));
    atlasGridPass(context, chart);
    atlasReferencePass(context, chart);
    figurePass(context, chart);
    starPass(context, chart, placeStars(chart));
    namePass(context, chart);
    marginPass(context, chart);
    crossPass(context, chart);
    marginTextPass(context, chart, page);
}

} // namespace dazed
