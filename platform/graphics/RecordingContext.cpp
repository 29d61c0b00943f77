#include "platform/graphics/RecordingContext.h"

namespace dazed {

namespace {
#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    const char* nameOf(const op::Record&)                                                                    \
    {                                                                                                        \
        return #function;                                                                                    \
    }
#include "platform/graphics/DrawingCalls.def"
} // namespace

const char* opName(const DrawOp& op)
{
    return std::visit([](const auto& record) { return nameOf(record); }, op);
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
