#pragma once

// A drawing context that keeps every call with its arguments as a plain record, in call order.
// Tests assert on the records (disc rectangles, segment points, label texts and origins) and the
// render command writes them out as a trace. It draws nothing and keeps no drawing state.

#include "platform/graphics/CGContext.h"

#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace dazed::op {

// One record for each drawing call of DrawingCalls.def. A record keeps the call's arguments and
// gives them back from arguments(), in call order, as the call took them: that is what a trace
// writes.

struct ClearRect {
    CGRect rect;
    [[nodiscard]] auto arguments() const { return std::tie(rect); }
    friend bool operator==(const ClearRect&, const ClearRect&) = default;
};
struct FillRect {
    CGRect rect;
    [[nodiscard]] auto arguments() const { return std::tie(rect); }
    friend bool operator==(const FillRect&, const FillRect&) = default;
};
struct FillEllipseInRect {
    CGRect rect;
    [[nodiscard]] auto arguments() const { return std::tie(rect); }
    friend bool operator==(const FillEllipseInRect&, const FillEllipseInRect&) = default;
};
struct SetRGBFillColor {
    float red, green, blue, alpha;
    [[nodiscard]] auto arguments() const { return std::tie(red, green, blue, alpha); }
    friend bool operator==(const SetRGBFillColor&, const SetRGBFillColor&) = default;
};
struct SetRGBStrokeColor {
    float red, green, blue, alpha;
    [[nodiscard]] auto arguments() const { return std::tie(red, green, blue, alpha); }
    friend bool operator==(const SetRGBStrokeColor&, const SetRGBStrokeColor&) = default;
};
struct SetLineWidth {
    float width;
    [[nodiscard]] auto arguments() const { return std::tie(width); }
    friend bool operator==(const SetLineWidth&, const SetLineWidth&) = default;
};
struct BeginPath {
    [[nodiscard]] auto arguments() const { return std::tuple<>(); }
    friend bool operator==(const BeginPath&, const BeginPath&) = default;
};
struct MoveToPoint {
    float x, y;
    [[nodiscard]] auto arguments() const { return std::tie(x, y); }
    friend bool operator==(const MoveToPoint&, const MoveToPoint&) = default;
};
struct AddLineToPoint {
    float x, y;
    [[nodiscard]] auto arguments() const { return std::tie(x, y); }
    friend bool operator==(const AddLineToPoint&, const AddLineToPoint&) = default;
};
struct AddCurveToPoint {
    float cp1x, cp1y, cp2x, cp2y, x, y;
    [[nodiscard]] auto arguments() const { return std::tie(cp1x, cp1y, cp2x, cp2y, x, y); }
    friend bool operator==(const AddCurveToPoint&, const AddCurveToPoint&) = default;
};
struct StrokePath {
    [[nodiscard]] auto arguments() const { return std::tuple<>(); }
    friend bool operator==(const StrokePath&, const StrokePath&) = default;
};
struct StrokeLineSegments {
    // The points as passed (all `count` of them); `count` is kept as given.
    std::vector<CGPoint> points;
    std::size_t count;
    [[nodiscard]] auto arguments() const { return std::tie(points, count); }
    friend bool operator==(const StrokeLineSegments&, const StrokeLineSegments&) = default;
};
struct SelectFont {
    std::string name;
    float size;
    CGTextEncoding encoding;
    [[nodiscard]] auto arguments() const { return std::tie(name, size, encoding); }
    friend bool operator==(const SelectFont&, const SelectFont&) = default;
};
struct SetTextDrawingMode {
    CGTextDrawingMode mode;
    [[nodiscard]] auto arguments() const { return std::tie(mode); }
    friend bool operator==(const SetTextDrawingMode&, const SetTextDrawingMode&) = default;
};
struct SetTextMatrix {
    CGAffineTransform matrix;
    [[nodiscard]] auto arguments() const { return std::tie(matrix); }
    friend bool operator==(const SetTextMatrix&, const SetTextMatrix&) = default;
};
struct ShowTextAtPoint {
    float x, y;
    // The bytes as passed; their number is the call's length argument.
    std::string text;
    [[nodiscard]] auto arguments() const
    {
        return std::tuple<float, float, const std::string&, std::size_t>(x, y, text, text.size());
    }
    friend bool operator==(const ShowTextAtPoint&, const ShowTextAtPoint&) = default;
};

} // namespace dazed::op

namespace dazed {

namespace detail {
template <typename First, typename... Records> struct VariantOfAllButFirst {
    using Type = std::variant<Records...>;
};
} // namespace detail

// One record of any drawing call. The list of calls is read with a leading comma before each
// record, so its first type is a placeholder that the variant leaves out.
// clang-format off
#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments) , op::Record
using DrawOp = detail::VariantOfAllButFirst<void
#include "platform/graphics/DrawingCalls.def"
>::Type;
// clang-format on

// The name of the drawing call a record stands for ("CGContextFillEllipseInRect").
const char* opName(const DrawOp& op);

// Makes the call a record stands for, with its arguments, on `context`. A recorded font name that
// is empty is passed as no name (a null name is recorded as an empty one).
void replay(const DrawOp& op, CGContextRef context);
void replay(std::span<const DrawOp> ops, CGContextRef context);

class RecordingContext final : public CGContext {
public:
    RecordingContext() = default;

    [[nodiscard]] const std::vector<DrawOp>& ops() const { return m_ops; }
    void clear() { m_ops.clear(); }
    // Hands the records over, leaving none.
    [[nodiscard]] std::vector<DrawOp> takeOps() { return std::exchange(m_ops, {}); }

    // The records of one kind, in call order.
    template <typename T> [[nodiscard]] std::vector<T> all() const
    {
        std::vector<T> out;
        for (const DrawOp& op : m_ops)
            if (const T* rec = std::get_if<T>(&op))
                out.push_back(*rec);
        return out;
    }

#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments) void method parameters override;
#include "platform/graphics/DrawingCalls.def"

private:
    std::vector<DrawOp> m_ops;
};

// A context that accepts every call and does nothing: the cost of a frame's geometry alone.
class NullContext final : public CGContext {
public:
    NullContext() = default;

#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    void method parameters override                                                                          \
    {                                                                                                        \
        ignore arguments;                                                                                    \
    }
#include "platform/graphics/DrawingCalls.def"

private:
    template <typename... Arguments> static void ignore(const Arguments&...) {}
};

} // namespace dazed
