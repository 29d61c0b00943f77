#pragma once

// A rectangular area of the screen that draws itself through the drawing context. Views are held
// by std::shared_ptr: a view can have several owners (its superview and a controller).

#include "platform/graphics/Geometry.h"

#include <memory>

namespace dazed {

class UIView : public std::enable_shared_from_this<UIView> {
public:
    explicit UIView(CGRect frame = {});
    virtual ~UIView();
    UIView(const UIView&) = delete;
    UIView& operator=(const UIView&) = delete;

    [[nodiscard]] CGRect frame() const { return m_frame; }
    void setFrame(CGRect frame);
    // The view's own coordinate space: origin (0, 0), the frame's size.
    [[nodiscard]] CGRect bounds() const { return {{}, m_frame.size}; }

    [[nodiscard]] bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque) { m_opaque = opaque; }

    // Marks the whole view as needing display: the display cycle calls drawRect once, however
    // many marks arrived since the last one. Never draws by itself.
    void setNeedsDisplay();
    [[nodiscard]] bool needsDisplay() const { return m_needsDisplay; }

    // Called by the display cycle with the current drawing context pushed
    // (UIGraphicsGetCurrentContext). `rect` is in the view's own coordinates. Draws nothing here.
    virtual void drawRect(CGRect rect);

    // Runs drawRect for a pending mark and clears it; false when nothing was pending.
    bool displayIfNeeded();

private:
    CGRect m_frame;
    bool m_opaque{false};
    bool m_needsDisplay{false};
};

} // namespace dazed
