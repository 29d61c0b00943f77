#pragma once

// Turns finger changes from the host into UITouch objects and delivers them: each touch goes to the
// view it went down in (found by hit testing) and from there up the responder chain, with the
// event's complete touch set. A finger the host made up to pinch with a real one is not hit-tested:
// it goes to its real finger's view, so that it can never press a control of its own.

#include "platform/ui/Host.h"
#include "platform/ui/TapDetector.h"
#include "platform/ui/UIResponder.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace dazed {

class UIView;

class TouchDispatcher {
public:
    // `window` receives hit tests; touches that land outside every view are dropped.
    void dispatch(const TouchInput& input, double now, UIView* window);
    // Cancels every active touch (the screen was turned or the window lost them).
    void cancelAll(double now);
    [[nodiscard]] std::size_t activeCount() const { return m_active.size(); }

private:
    struct Active {
        std::int64_t id;
        std::shared_ptr<UITouch> touch;
        CGPoint downLocation;
        bool severalFingers;
    };
    void deliver(const std::vector<std::shared_ptr<UITouch>>& changed, const UIEvent& event);
    // The view of the active finger `id`; null when that finger is not down or its view is gone.
    [[nodiscard]] UIView* viewOfFinger(std::int64_t id) const;

    std::vector<Active> m_active; // in the order the fingers went down
    TapDetector m_taps;
};

} // namespace dazed
