#include "platform/graphics/RecordingContext.h"

namespace dazed {

namespace {
template <typename... F> struct Overloaded : F... {
    using F::operator()...;
};
template <typename... F> Overloaded(F...) -> Overloaded<F...>;
} // namespace

const char* opName(const DrawOp& op)
{
    return std::visit(Overloaded{
                          [](const op::ClearRect&) { return "CGContextClearRect"; },
                          [](const op::FillRect&) { return "CGContextFillRect"; },
                          [](const op::FillEllipseInRect&) { return "CGContextFillEllipseInRect"; },
                          [](const op::SetRGBFillColor&) { return "CGContextSetRGBFillColor"; },
                          [](const op::SetRGBStrokeColor&) { return "CGContextSetRGBStrokeColor"; },
                          [](const op::SetLineWidth&) { return "CGContextSetLineWidth"; },
                          [](const op::BeginPath&) { return "CGContextBeginPath"; },
                          [](const op::MoveToPoint&) { return "CGContextMoveToPoint"; },
                          [](const op::AddLineToPoint&) { return "CGContextAddLineToPoint"; },
                          [](const op::StrokePath&) { return "CGContextStrokePath"; },
                          [](const op::StrokeLineSegments&) { return "CGContextStrokeLineSegments"; },
                          [](const op::SelectFont&) { return "CGContextSelectFont"; },
                          [](const op::SetTextDrawingMode&) { return "CGContextSetTextDrawingMode"; },
                          [](const op::SetTextMatrix&) { return "CGContextSetTextMatrix"; },
                          [](const op::ShowTextAtPoint&) { return "CGContextShowTextAtPoint"; },
                      },
                      op);
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
