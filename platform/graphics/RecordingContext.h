#pragma once

// A drawing context that keeps every call with its arguments as a plain record, in call order.
// Tests assert on the records (disc rectangles, segment points, label texts and origins) and the
// render command writes them out as a trace. It draws nothing and keeps no drawing state.

#include "platform/graphics/CGContext.h"

#include <string>
#include <variant>
#include <vector>

namespace dazed::op {

struct ClearRect {
    CGRect rect;
    friend bool operator==(const ClearRect&, const ClearRect&) = default;
};
struct FillRect {
    CGRect rect;
    friend bool operator==(const FillRect&, const FillRect&) = default;
};
struct FillEllipseInRect {
    CGRect rect;
    friend bool operator==(const FillEllipseInRect&, const FillEllipseInRect&) = default;
};
struct SetRGBFillColor {
    float red, green, blue, alpha;
    friend bool operator==(const SetRGBFillColor&, const SetRGBFillColor&) = default;
};
struct SetRGBStrokeColor {
    float red, green, blue, alpha;
    friend bool operator==(const SetRGBStrokeColor&, const SetRGBStrokeColor&) = default;
};
struct SetLineWidth {
    float width;
    friend bool operator==(const SetLineWidth&, const SetLineWidth&) = default;
};
struct BeginPath {
    friend bool operator==(const BeginPath&, const BeginPath&) = default;
};
struct MoveToPoint {
    float x, y;
    friend bool operator==(const MoveToPoint&, const MoveToPoint&) = default;
};
struct AddLineToPoint {
    float x, y;
    friend bool operator==(const AddLineToPoint&, const AddLineToPoint&) = default;
};
struct StrokePath {
    friend bool operator==(const StrokePath&, const StrokePath&) = default;
};
struct StrokeLineSegments {
    // The points as passed (all `count` of them); `count` is kept as given.
    std::vector<CGPoint> points;
    std::size_t count;
    friend bool operator==(const StrokeLineSegments&, const StrokeLineSegments&) = default;
};
struct SelectFont {
    std::string name;
    float size;
    CGTextEncoding encoding;
    friend bool operator==(const SelectFont&, const SelectFont&) = default;
};
struct SetTextDrawingMode {
    CGTextDrawingMode mode;
    friend bool operator==(const SetTextDrawingMode&, const SetTextDrawingMode&) = default;
};
struct SetTextMatrix {
    CGAffineTransform matrix;
    friend bool operator==(const SetTextMatrix&, const SetTextMatrix&) = default;
};
struct ShowTextAtPoint {
    float x, y;
    // The bytes as passed; their number is the call's length argument.
    std::string text;
    friend bool operator==(const ShowTextAtPoint&, const ShowTextAtPoint&) = default;
};

} // namespace dazed::op

namespace dazed {

using DrawOp = std::variant<op::ClearRect, op::FillRect, op::FillEllipseInRect, op::SetRGBFillColor,
                            op::SetRGBStrokeColor, op::SetLineWidth, op::BeginPath, op::MoveToPoint,
                            op::AddLineToPoint, op::StrokePath, op::StrokeLineSegments, op::SelectFont,
                            op::SetTextDrawingMode, op::SetTextMatrix, op::ShowTextAtPoint>;

// The name of the drawing call a record stands for ("CGContextFillEllipseInRect").
const char* opName(const DrawOp& op);

class RecordingContext final : public CGContext {
public:
    RecordingContext() = default;

    [[nodiscard]] const std::vector<DrawOp>& ops() const { return m_ops; }
    void clear() { m_ops.clear(); }

    // The records of one kind, in call order.
    template <typename T> [[nodiscard]] std::vector<T> all() const
    {
        std::vector<T> out;
        for (const DrawOp& op : m_ops)
            if (const T* rec = std::get_if<T>(&op))
                out.push_back(*rec);
        return out;
    }

    void clearRect(CGRect rect) override;
    void fillRect(CGRect rect) override;
    void fillEllipseInRect(CGRect rect) override;
    void setRGBFillColor(float red, float green, float blue, float alpha) override;
    void setRGBStrokeColor(float red, float green, float blue, float alpha) override;
    void setLineWidth(float width) override;
    void beginPath() override;
    void moveToPoint(float x, float y) override;
    void addLineToPoint(float x, float y) override;
    void strokePath() override;
    void strokeLineSegments(const CGPoint* points, std::size_t count) override;
    void selectFont(const char* name, float size, CGTextEncoding encoding) override;
    void setTextDrawingMode(CGTextDrawingMode mode) override;
    void setTextMatrix(CGAffineTransform matrix) override;
    void showTextAtPoint(float x, float y, const char* bytes, std::size_t length) override;

private:
    std::vector<DrawOp> m_ops;
};

// A context that accepts every call and does nothing: the cost of a frame's geometry alone.
class NullContext final : public CGContext {
public:
    NullContext() = default;

    void clearRect(CGRect) override {}
    void fillRect(CGRect) override {}
    void fillEllipseInRect(CGRect) override {}
    void setRGBFillColor(float, float, float, float) override {}
    void setRGBStrokeColor(float, float, float, float) override {}
    void setLineWidth(float) override {}
    void beginPath() override {}
    void moveToPoint(float, float) override {}
    void addLineToPoint(float, float) override {}
    void strokePath() override {}
    void strokeLineSegments(const CGPoint*, std::size_t) override {}
    void selectFont(const char*, float, CGTextEncoding) override {}
    void setTextDrawingMode(CGTextDrawingMode) override {}
    void setTextMatrix(CGAffineTransform) override {}
    void showTextAtPoint(float, float, const char*, std::size_t) override {}
};

} // namespace dazed
