#include "FrameCheck.h"

#include "ValueText.h"
#include "render/Readout.h"

#include <algorithm>
#include <cmath>
#include <variant>
#include <vector>

namespace dazed::stress {

namespace {

bool isNaN(CGPoint p)
{
    return std::isnan(p.x) || std::isnan(p.y);
}

bool isNaN(CGRect r)
{
    return std::isnan(r.origin.x) || std::isnan(r.origin.y) || std::isnan(r.size.width) ||
           std::isnan(r.size.height);
}

} // namespace

std::string nanIn(const RecordingContext& rec)
{
    for (std::size_t i = 0; i < rec.ops().size(); ++i) {
        const DrawOp& op = rec.ops()[i];
        bool nan = false;
        std::visit(
            [&](const auto& r) {
                using T = std::decay_t<decltype(r)>;
                if constexpr (std::is_same_v<T, op::ClearRect> || std::is_same_v<T, op::FillRect> ||
                              std::is_same_v<T, op::FillEllipseInRect>)
                    nan = isNaN(r.rect);
                else if constexpr (std::is_same_v<T, op::MoveToPoint> ||
                                   std::is_same_v<T, op::AddLineToPoint> ||
                                   std::is_same_v<T, op::ShowTextAtPoint>)
                    nan = std::isnan(r.x) || std::isnan(r.y);
                else if constexpr (std::is_same_v<T, op::StrokeLineSegments>)
                    for (const CGPoint& p : r.points)
                        nan = nan || isNaN(p);
            },
            op);
        if (nan)
            return std::string("a NaN in drawing call ") + std::to_string(i) + " (" + opName(op) + ")";
    }
    return {};
}

std::string wholeFrameProblem(const QuartzView& view, const RecordingContext& rec)
{
    const auto& ops = rec.ops();
    const auto& f = view.fields();
    if (ops.empty())
        return "the sky view drew nothing";
    const auto* clear = std::get_if<op::ClearRect>(&ops.front());
    if (!clear || clear->rect != view.bounds())
        return std::string("the frame began with ") + opName(ops.front()) +
               ", not a clear of the view's bounds " + str(view.bounds());
    if (auto nan = nanIn(rec); !nan.empty())
        return nan;
    if (f.nblines < 0 || f.nblines % 2 != 0 || f.nblines > QuartzView::kPointCapacity)
        return "the frame kept " + std::to_string(f.nblines) + " segment ends";
    for (const CGPoint& p : view.retainedPoints())
        if (isNaN(p))
            return "a NaN among the segment ends the frame kept";

    const float cx = f.largeur * 0.5f, cy = f.hauteur * 0.5f;
    const std::vector<DrawOp> cross{op::SetRGBStrokeColor{0.8f, 0, 0, 1},
                                    op::SetLineWidth{1.0f},
                                    op::SetRGBFillColor{0.8f, 0, 0, 1},
                                    op::BeginPath{},
                                    op::MoveToPoint{cx - 10, cy},
                                    op::AddLineToPoint{cx + 10, cy},
                                    op::MoveToPoint{cx, cy - 10},
                                    op::AddLineToPoint{cx, cy + 10},
                                    op::StrokePath{}};
    if (ops.size() < cross.size() || !std::equal(cross.begin(), cross.end(), ops.end() - cross.size()))
        return "the frame did not end with the centre cross at (" + str(cx) + ", " + str(cy) +
               "); its last call is " + opName(ops.back()) + " of " + std::to_string(ops.size());

    const ReadoutText expected = formatReadout(readoutFields(f.oxs1, f.oys1));
    const std::string readout(expected.data());
    bool shown = false;
    for (const auto& op : ops)
        if (const auto* text = std::get_if<op::ShowTextAtPoint>(&op);
            text && text->x == 20.0f && text->text == readout)
            shown = true;
    if (!shown)
        return "the frame did not show the readout \"" + readout + "\" of its centre";
    return {};
}

} // namespace dazed::stress
