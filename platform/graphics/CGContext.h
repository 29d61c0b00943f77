#pragma once

// The 2-D drawing context the chart is drawn through. The renderer calls the free functions below,
// named and ordered as the chart's drawing code calls them, with the context first; each forwards
// to a backend (Cairo surfaces, or a recording for tests and traces) and does nothing when the
// context is null.
//
// State persists between calls until a call changes it: fill colour, stroke colour, line width,
// selected font and size, text drawing mode, text matrix and the current path.

#include "platform/graphics/Geometry.h"

#include <cstddef>

namespace dazed {

enum CGTextEncoding : int {
    kCGEncodingFontSpecific = 0,
    kCGEncodingMacRoman = 1,
};

enum CGTextDrawingMode : int {
    kCGTextFill = 0,
    kCGTextStroke = 1,
    kCGTextFillStroke = 2,
    kCGTextInvisible = 3,
};

// A drawing context backend. Coordinates are view points (y down); colours are RGBA in 0..1.
class CGContext {
public:
    virtual ~CGContext() = default;

    virtual void clearRect(CGRect rect) = 0;
    virtual void fillRect(CGRect rect) = 0;
    virtual void fillEllipseInRect(CGRect rect) = 0;
    virtual void setRGBFillColor(float red, float green, float blue, float alpha) = 0;
    virtual void setRGBStrokeColor(float red, float green, float blue, float alpha) = 0;
    // 0 draws the thinnest line the device can show.
    virtual void setLineWidth(float width) = 0;
    virtual void beginPath() = 0;
    virtual void moveToPoint(float x, float y) = 0;
    virtual void addLineToPoint(float x, float y) = 0;
    // Strokes every sub-path of the current path, then empties it.
    virtual void strokePath() = 0;
    // Strokes points 2k and 2k + 1 as one separate straight segment for each k; an odd last
    // point is ignored.
    virtual void strokeLineSegments(const CGPoint* points, std::size_t count) = 0;
    virtual void selectFont(const char* name, float size, CGTextEncoding encoding) = 0;
    virtual void setTextDrawingMode(CGTextDrawingMode mode) = 0;
    virtual void setTextMatrix(CGAffineTransform matrix) = 0;
    // Draws `length` bytes (in the selected encoding, not necessarily NUL-terminated) with the
    // baseline origin at (x, y).
    virtual void showTextAtPoint(float x, float y, const char* bytes, std::size_t length) = 0;

protected:
    CGContext() = default;
    CGContext(const CGContext&) = default;
    CGContext& operator=(const CGContext&) = default;
};

// A non-owning handle: the context is owned by whoever made it (the display cycle, an export).
using CGContextRef = CGContext*;

// The context of the current display cycle, or null outside one.
CGContextRef UIGraphicsGetCurrentContext();
void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext();

// Makes `context` current for the lifetime of the scope.
class UIGraphicsContextScope {
public:
    explicit UIGraphicsContextScope(CGContextRef context) { UIGraphicsPushContext(context); }
    ~UIGraphicsContextScope() { UIGraphicsPopContext(); }
    UIGraphicsContextScope(const UIGraphicsContextScope&) = delete;
    UIGraphicsContextScope& operator=(const UIGraphicsContextScope&) = delete;
};

void CGContextClearRect(CGContextRef c, CGRect rect);
void CGContextFillRect(CGContextRef c, CGRect rect);
void CGContextFillEllipseInRect(CGContextRef c, CGRect rect);
void CGContextSetRGBFillColor(CGContextRef c, float red, float green, float blue, float alpha);
void CGContextSetRGBStrokeColor(CGContextRef c, float red, float green, float blue, float alpha);
void CGContextSetLineWidth(CGContextRef c, float width);
void CGContextBeginPath(CGContextRef c);
void CGContextMoveToPoint(CGContextRef c, float x, float y);
void CGContextAddLineToPoint(CGContextRef c, float x, float y);
void CGContextStrokePath(CGContextRef c);
void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, std::size_t count);
void CGContextSelectFont(CGContextRef c, const char* name, float size, CGTextEncoding encoding);
void CGContextSetTextDrawingMode(CGContextRef c, CGTextDrawingMode mode);
void CGContextSetTextMatrix(CGContextRef c, CGAffineTransform matrix);
void CGContextShowTextAtPoint(CGContextRef c, float x, float y, const char* bytes, std::size_t length);

} // namespace dazed
