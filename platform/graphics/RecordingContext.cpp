#include "platform/graphics/RecordingContext.h"

#include <algorithm>
#include <tuple>

namespace dazed {

namespace {
#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    const char* nameOf(const op::Record&)                                                                    \
    {                                                                                                        \
        return #function;                                                                                    \
    }
#include "platform/graphics/DrawingCalls.def"

// The drawing call of each record, called with the record's arguments.
#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    template <typename... Arguments> void callFor(const op::Record&, CGContextRef c, const Arguments&... a)  \
    {                                                                                                        \
        function(c, a...);                                                                                   \
    }
#include "platform/graphics/DrawingCalls.def"
} // namespace

const char* opName(const DrawOp& op)
{
    return std::visit([](const auto& record) { return nameOf(record); }, op);
}

namespace {
// A recorded argument as the call takes it: kept points and bytes go back as pointers.
template <typename T> const T& passed(const T& value)
{
    return value;
}
const CGPoint* passed(const std::vector<CGPoint>& points)
{
    return points.empty() ? nullptr : points.data();
}
const char* passed(const std::string& text)
{
    return text.c_str();
}

void replayRecord(const op::SelectFont& r, CGContextRef c)
{
    CGContextSelectFont(c, r.name.empty() ? nullptr : r.name.c_str(), r.size, r.encoding);
}
void replayRecord(const op::StrokeLineSegments& r, CGContextRef c)
{
    // Never more points than were kept, whatever count the call was given.
    CGContextStrokeLineSegments(c, passed(r.points), std::min(r.count, r.points.size()));
}
template <typename Record> void replayRecord(const Record& r, CGContextRef c)
{
    std::apply([&](const auto&... arguments) { callFor(r, c, passed(arguments)...); }, r.arguments());
}
} // namespace

void replay(const DrawOp& op, CGContextRef context)
{
    std::visit([&](const auto& record) { replayRecord(record, context); }, op);
}

void replay(std::span<const DrawOp> ops, CGContextRef context)
{
    for (const DrawOp& op : ops)
        replay(op, context);
}

void RecordingContext::clearRect(CGRect rect)
{
    m_ops.emplace_back(op::ClearRect{rect});
}

void RecordingContext::fillRect(CGRect rect)
{
    m_ops.emplace_back(op::FillRect{rect});
}

void RecordingContext::fillEllipseInRect(CGRect rect)
{
    m_ops.emplace_back(op::FillEllipseInRect{rect});
}

void RecordingContext::setRGBFillColor(float red, float green, float blue, float alpha)
{
    m_ops.emplace_back(op::SetRGBFillColor{red, green, blue, alpha});
}

void RecordingContext::setRGBStrokeColor(float red, float green, float blue, float alpha)
{
    m_ops.emplace_back(op::SetRGBStrokeColor{red, green, blue, alpha});
}

void RecordingContext::setLineWidth(float width)
{
    m_ops.emplace_back(op::SetLineWidth{width});
}

void RecordingContext::beginPath()
{
    m_ops.emplace_back(op::BeginPath{});
}

void RecordingContext::moveToPoint(float x, float y)
{
    m_ops.emplace_back(op::MoveToPoint{x, y});
}

void RecordingContext::addLineToPoint(float x, float y)
{
    m_ops.emplace_back(op::AddLineToPoint{x, y});
}

void RecordingContext::addCurveToPoint(float cp1x, float cp1y, float cp2x, float cp2y, float x, float y)
{
    m_ops.emplace_back(op::AddCurveToPoint{cp1x, cp1y, cp2x, cp2y, x, y});
}

void RecordingContext::strokePath()
{
    m_ops.emplace_back(op::StrokePath{});
}

void RecordingContext::strokeLineSegments(const CGPoint* points, std::size_t count)
{
    std::vector<CGPoint> copy;
    if (points)
        copy.assign(points, points + count);
    m_ops.emplace_back(op::StrokeLineSegments{std::move(copy), count});
}

void RecordingContext::selectFont(const char* name, float size, CGTextEncoding encoding)
{
    m_ops.emplace_back(op::SelectFont{name ? name : "", size, encoding});
}

void RecordingContext::setTextDrawingMode(CGTextDrawingMode mode)
{
    m_ops.emplace_back(op::SetTextDrawingMode{mode});
}

void RecordingContext::setTextMatrix(CGAffineTransform matrix)
{
    m_ops.emplace_back(op::SetTextMatrix{matrix});
}

void RecordingContext::showTextAtPoint(float x, float y, const char* bytes, std::size_t length)
{
    m_ops.emplace_back(op::ShowTextAtPoint{x, y, bytes ? std::string(bytes, length) : std::string()});
}

} // namespace dazed
