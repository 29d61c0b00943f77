#pragma once

// Helpers shared by the renderer tests: a view of a given size, centre, zoom and label mode, one
// frame drawn into a recording, and the sub-paths of a reference curve. Brute-force sky geometry that
// does not share the renderer's formulas (unit vectors and their separation instead of the
// projection's cos rho) is catalog/Angles.h's.

#include "catalog/Angles.h"
#include "catalog/Catalog.h"
#include "platform/graphics/RecordingContext.h"
#include "render/ChartSetup.h"
#include "render/QuartzView.h"

#include <memory>
#include <variant>
#include <vector>

namespace dazed::test {

using ViewSetup = ChartSetup;

inline std::shared_ptr<QuartzView> makeView(const ViewSetup& s)
{
    return makeChartView(s);
}

inline void drawFrame(QuartzView& view, CGContextRef context)
{
    UIGraphicsContextScope scope(context);
    view.drawRect(view.bounds());
}

// One frame of a fresh view, recorded.
struct Frame {
    std::shared_ptr<QuartzView> view;
    RecordingContext rec;
};

inline std::unique_ptr<Frame> recordFrame(const ViewSetup& s)
{
    auto f = std::make_unique<Frame>();
    f->view = makeView(s);
    drawFrame(*f->view, &f->rec);
    return f;
}

// A dash of a reference curve: the move and the line of one sub-path.
struct Dash {
    op::MoveToPoint from;
    op::AddLineToPoint to;
};

// The sub-paths built after `colour` became the stroke colour, up to the StrokePath that ends them.
inline std::vector<Dash> dashesIn(const RecordingContext& rec, op::SetRGBStrokeColor colour)
{
    std::vector<Dash> dashes;
    bool inside = false;
    const auto& ops = rec.ops();
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (const auto* c = std::get_if<op::SetRGBStrokeColor>(&ops[i]))
            inside = *c == colour;
        if (!inside)
            continue;
        if (std::holds_alternative<op::StrokePath>(ops[i]))
            break;
        if (const auto* m = std::get_if<op::MoveToPoint>(&ops[i]))
            dashes.push_back({*m, std::get<op::AddLineToPoint>(ops.at(i + 1))});
    }
    return dashes;
}

} // namespace dazed::test
