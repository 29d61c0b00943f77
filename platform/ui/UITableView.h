#pragma once

// A list of one-line rows that scrolls: a drag moves it under the finger, and a fling lets it glide
// on, slowing down on the host's clock until it stops or reaches an end. A tap (a touch that
// travelled no further than a tap may) chooses the row under it. The wheel scrolls it too.
//
// The list redraws only while it moves: at rest, with nothing touched, it asks for no frame and no
// wake-up, so an open list costs nothing.

#include "platform/ui/UIView.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dazed {

class NSTimer;

class UITableView : public UIView {
public:
    // Rows as tall as a fingertip needs.
    static constexpr float kRowHeight = 44.0f; // points
    static constexpr float kFontSize = 19.0f;
    // A finger that travels further than this from where it went down scrolls instead of choosing.
    static constexpr float kTapTravel = 10.0f; // points
    // The glide loses speed exponentially, by this fraction every second.
    static constexpr double kDecelerationPerSecond = 0.95;
    // Below this speed the glide stops (points per second), as does a fling slower than it.
    static constexpr double kMinimumGlideSpeed = 20.0;
    // A finger held still for this long before lifting flings nothing.
    static constexpr double kFlingMemory = 0.1; // seconds
    // Rows per notch of the wheel.
    static constexpr float kRowsPerNotch = 3.0f;

    explicit UITableView(CGRect frame = {});
    ~UITableView() override;

    // The rows, top to bottom; the list goes back to its top and stops.
    void setRows(std::vector<std::string> rows);
    [[nodiscard]] const std::vector<std::string>& rows() const { return m_rows; }

    // How far the list is scrolled: points from the first row's top to the view's top, within
    // 0..maximumContentOffset(). A value outside is brought within; NaN is ignored.
    [[nodiscard]] float contentOffset() const;
    void setContentOffset(float offset);
    [[nodiscard]] float maximumContentOffset() const;
    // The row at `point` (the view's points), if any.
    [[nodiscard]] std::optional<std::size_t> rowAtPoint(CGPoint point) const;
    // True while a fling glides on.
    [[nodiscard]] bool isDecelerating() const { return m_timer != nullptr; }
    // The glide's speed, points per second, positive down the list.
    [[nodiscard]] double glideVelocity() const { return m_velocity; }

    // Told the index of a row chosen by a tap.
    std::function<void(std::size_t)> onSelectRow;

    void touchesBegan(const UITouchSet& touches, const UIEvent& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEvent& event) override;
    void touchesEnded(const UITouchSet& touches, const UIEvent& event) override;
    void touchesCancelled(const UITouchSet& touches, const UIEvent& event) override;
    bool scrollWheel(const UIScrollEvent& event) override;

protected:
    [[nodiscard]] bool paintsContent() const override { return true; }
    void paintContent(UIPainter& painter) override;

private:
    void stopGliding();
    void glide();
    [[nodiscard]] bool isTracked(const UITouchSet& touches) const;

    std::vector<std::string> m_rows;
    float m_offset{0};
    const UITouch* m_tracked{nullptr};
    float m_touchStartY{0};
    float m_offsetAtTouch{0};
    bool m_dragging{false};
    std::optional<std::size_t> m_pressed;
    // The finger's last position (screen y, points) and time, for the fling's speed.
    float m_lastY{0};
    double m_lastTime{0};
    double m_velocity{0};
    double m_lastGlide{0};
    std::shared_ptr<NSTimer> m_timer;
};

} // namespace dazed
