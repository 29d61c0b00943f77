#include "platform/graphics/CGContext.h"

#include <vector>

namespace dazed {

namespace {
// The display cycle runs on the main thread only; the stack lets a nested drawing (an off-screen
// capture inside a frame) restore the outer context.
std::vector<CGContextRef>& contextStack()
{
    static std::vector<CGContextRef> stack;
    return stack;
}
} // namespace

CGContextRef UIGraphicsGetCurrentContext()
{
    auto& stack = contextStack();
    return stack.empty() ? nullptr : stack.back();
}

void UIGraphicsPushContext(CGContextRef context)
{
    contextStack().push_back(context);
}

void UIGraphicsPopContext()
{
    auto& stack = contextStack();
    if (!stack.empty())
        stack.pop_back();
}

void CGContextClearRect(CGContextRef c, CGRect rect)
{
    if (c)
        c->clearRect(rect);
}

void CGContextFillRect(CGContextRef c, CGRect rect)
{
    if (c)
        c->fillRect(rect);
}

void CGContextFillEllipseInRect(CGContextRef c, CGRect rect)
{
    if (c)
        c->fillEllipseInRect(rect);
}

void CGContextSetRGBFillColor(CGContextRef c, float red, float green, float blue, float alpha)
{
    if (c)
        c->setRGBFillColor(red, green, blue, alpha);
}

void CGContextSetRGBStrokeColor(CGContextRef c, float red, float green, float blue, float alpha)
{
    if (c)
        c->setRGBStrokeColor(red, green, blue, alpha);
}

void CGContextSetLineWidth(CGContextRef c, float width)
{
    if (c)
        c->setLineWidth(width);
}

void CGContextBeginPath(CGContextRef c)
{
    if (c)
        c->beginPath();
}

void CGContextMoveToPoint(CGContextRef c, float x, float y)
{
    if (c)
        c->moveToPoint(x, y);
}

void CGContextAddLineToPoint(CGContextRef c, float x, float y)
{
    if (c)
        c->addLineToPoint(x, y);
}

void CGContextStrokePath(CGContextRef c)
{
    if (c)
        c->strokePath();
}

void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, std::size_t count)
{
    if (c)
        c->strokeLineSegments(points, count);
}

void CGContextSelectFont(CGContextRef c, const char* name, float size, CGTextEncoding encoding)
{
    if (c)
        c->selectFont(name, size, encoding);
}

void CGContextSetTextDrawingMode(CGContextRef c, CGTextDrawingMode mode)
{
    if (c)
        c->setTextDrawingMode(mode);
}

void CGContextSetTextMatrix(CGContextRef c, CGAffineTransform matrix)
{
    if (c)
        c->setTextMatrix(matrix);
}

void CGContextShowTextAtPoint(CGContextRef c, float x, float y, const char* bytes, std::size_t length)
{
    if (c)
        c->showTextAtPoint(x, y, bytes, length);
}

} // namespace dazed
