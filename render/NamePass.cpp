#include "catalog/Catalog.h"
#include "render/CatalogueDirections.h"
#include "render/Passes.h"

#include <cstring>

namespace dazed {

namespace {
// Writes a name with its baseline origin on its projected point when the point lies within 45
// degrees of the centre. The font, mode, matrix and outline colour are those of the frame set-up.
void placeName(const SkyFrame& frame, const SkyDirection& where, const char* name)
{
    SkyPoint p;
    if (!projectVisible(frame, where, p))
        return;
    CGContextShowTextAtPoint(frame.context, toPoint(p.x), toPoint(p.y), name, std::strlen(name));
}
} // namespace

void starNamePass(const SkyFrame& frame)
{
    CGContextSetRGBFillColor(frame.context, 0.8f, 0.8f, 0.8f, 1);
    CGContextSetLineWidth(frame.context, 0);
    for (int i = 0; i < kStarNameCount; ++i)
        placeName(frame, catalogueDirections().starNames[static_cast<std::size_t>(i)], starNames[i]);
}

void constellationLabelPass(const SkyFrame& frame)
{
    CGContextSetRGBFillColor(frame.context, 0, 0.8f, 0, 1);
    CGContextSetLineWidth(frame.context, 0);
    if (frame.labels == LabelMode::None)
        return;
    for (int i = 0; i < kConstellationCount; ++i)
        placeName(frame, catalogueDirections().labels[static_cast<std::size_t>(i)], nameConst[i * 2 + 1]);
}

} // namespace dazed
