#pragma once

// Counts taps: successive short touches close together in time and place make one multiple tap.

#include "platform/graphics/Geometry.h"

namespace dazed {

class TapDetector {
public:
    // A new touch continues a multiple tap when it goes down at most this long after the previous
    // tap lifted (a little above the usual double-click time, as fingers are slower than buttons).
    static constexpr double kMultiTapInterval = 0.35; // seconds
    // ... and at most this far from where the previous tap went down: a fingertip is ~40 points wide.
    static constexpr float kMultiTapRadius = 30.0f; // points
    // A touch that travels further than this between down and up was a drag, not a tap.
    static constexpr float kTapMaxTravel = 30.0f; // points

    // The tap count of a touch going down at `location` at `time`. A touch that goes down while
    // other fingers are on the screen starts no multiple tap and gets 1.
    int touchBegan(CGPoint location, double time, bool otherFingersDown);
    // Records a touch that lifted; `tapCount` is what touchBegan gave it, or 0 for a touch that was
    // part of a several-finger gesture and so ends any multiple tap.
    void touchEnded(CGPoint downLocation, CGPoint upLocation, double upTime, int tapCount);

private:
    int m_lastCount{0};
    double m_lastUpTime{0};
    CGPoint m_lastLocation;
};

} // namespace dazed
