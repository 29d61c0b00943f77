#include "render/AtlasLayout.h"

#include <cmath>

namespace dazed {

std::optional<Paper> paperNamed(std::string_view name)
{
    if (name == "a4")
        return Paper::A4;
    if (name == "letter")
        return Paper::Letter;
    return std::nullopt;
}

PaperSize paperSize(Paper paper)
{
    // ISO 216 A4, and US Letter (8.5 x 11 inches).
    if (paper == Paper::Letter)
        return {215.9, 279.4};
    return {210.0, 297.0};
}

ChartArea chartArea(Paper paper)
{
    const PaperSize size = paperSize(paper);
    return {size.widthMm / 2.0 - kSideMarginMm, size.heightMm / 2.0 - kTopBottomMarginMm};
}

PageExtent pageExtent(Paper paper, double radiusMm)
{
    const ChartArea area = chartArea(paper);
    return {area.halfWidthMm / radiusMm, area.halfHeightMm / radiusMm};
}

double largestRadiusMm(Paper paper)
{
    // extentHoldsMargin asks the smaller half-side to exceed tan(margin + 5 degrees); the largest
    // R is a hair below where it stops.
    const ChartArea area = chartArea(paper);
    const double smaller = std::min(area.halfWidthMm, area.halfHeightMm);
    return std::floor(smaller / std::tan(degreesTimesPiOver180(kAtlasMarginDegrees + 5.0)) * 100.0) / 100.0;
}

PagePoint pagePointOfMm(Paper paper, double xMm, double yMm)
{
    const PaperSize size = paperSize(paper);
    return {(size.widthMm / 2.0 + xMm) * kPointsPerMm, (size.heightMm / 2.0 - yMm) * kPointsPerMm};
}

PagePoint pagePointOfPlane(Paper paper, double radiusMm, PlanePoint p)
{
    return pagePointOfMm(paper, -radiusMm * p.xi, radiusMm * p.eta);
}

} // namespace dazed
