#pragma once

// The 2-D drawing context the chart is drawn through. The renderer calls the free functions listed
// in DrawingCalls.def (CGContextFillRect and the others), named as the chart's drawing code calls
// them, with the context first; each forwards to a backend (Cairo surfaces, or a recording for
// tests and traces) and does nothing when the context is null.
//
// State persists between calls until a call changes it: fill colour, stroke colour, line width,
// selected font and size, text drawing mode, text matrix and the current path.

#include "platform/graphics/Geometry.h"

#include <cstddef>

// A drawing call's parameter list with the context in front: (CGRect rect) becomes
// (CGContextRef c, CGRect rect), and () becomes (CGContextRef c).
#define DAZED_WITH_CONTEXT(...) (CGContextRef c __VA_OPT__(, ) __VA_ARGS__)

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

// A drawing context backend: one method for each drawing call of DrawingCalls.def, which says
// what each call does.
class CGContext {
public:
    virtual ~CGContext() = default;

#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    virtual void method parameters = 0;
#include "platform/graphics/DrawingCalls.def"

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

// The drawing calls: each forwards to the context's method that DrawingCalls.def names beside it
// and does nothing when the context is null.
#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    void function DAZED_WITH_CONTEXT parameters;
#include "platform/graphics/DrawingCalls.def"

} // namespace dazed
