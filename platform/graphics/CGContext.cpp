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

#define DAZED_DRAWING_CALL(function, method, Record, parameters, arguments)                                  \
    void function DAZED_WITH_CONTEXT parameters                                                              \
    {                                                                                                        \
        if (c)                                                                                               \
            c->method arguments;                                                                             \
    }
#include "platform/graphics/DrawingCalls.def"

} // namespace dazed
