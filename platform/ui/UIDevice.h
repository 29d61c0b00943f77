#pragma once

#include <optional>

namespace dazed {

// Device orientation codes.
enum UIDeviceOrientation : int {
    UIDeviceOrientationUnknown = 0,
    UIDeviceOrientationPortrait = 1,
    UIDeviceOrientationPortraitUpsideDown = 2,
    UIDeviceOrientationLandscapeLeft = 3,  // turned a quarter anticlockwise, home button on the right
    UIDeviceOrientationLandscapeRight = 4, // turned a quarter clockwise
    UIDeviceOrientationFaceUp = 5,
    UIDeviceOrientationFaceDown = 6,
};

[[nodiscard]] constexpr bool UIDeviceOrientationIsPortrait(int o)
{
    return o == UIDeviceOrientationPortrait || o == UIDeviceOrientationPortraitUpsideDown;
}

[[nodiscard]] constexpr bool UIDeviceOrientationIsLandscape(int o)
{
    return o == UIDeviceOrientationLandscapeLeft || o == UIDeviceOrientationLandscapeRight;
}

// A code the device may report (0..6) as an orientation; nothing for any other number.
[[nodiscard]] constexpr std::optional<UIDeviceOrientation> UIDeviceOrientationFromCode(int code)
{
    if (code < UIDeviceOrientationUnknown || code > UIDeviceOrientationFaceDown)
        return std::nullopt;
    return static_cast<UIDeviceOrientation>(code);
}

class UIDevice {
public:
    static UIDevice& currentDevice();

    // What the device reports: UIDeviceOrientationUnknown until someone has first asked for
    // orientation notifications (the sensor is off until then), the sensed orientation afterwards.
    [[nodiscard]] UIDeviceOrientation orientation() const
    {
        return m_sensorStarted ? m_sensedOrientation : UIDeviceOrientationUnknown;
    }
    // The way the device is actually held, whether or not it is reported yet (the event loop turns
    // the emulated screen by it).
    [[nodiscard]] UIDeviceOrientation sensedOrientation() const { return m_sensedOrientation; }

    // Orientation changes are posted as UIDeviceOrientationDidChangeNotification from then on. The
    // first call also starts the sensor: when it already knows an orientation, that first reading
    // is posted once the current event has been handled (postPendingChange), as a change from
    // "unknown".
    void beginGeneratingDeviceOrientationNotifications();
    void endGeneratingDeviceOrientationNotifications()
    {
        if (m_generating > 0)
            --m_generating;
    }
    [[nodiscard]] bool isGeneratingDeviceOrientationNotifications() const { return m_generating > 0; }

    // The host's report of a new orientation: stored, and posted when notifications are on and it
    // changed.
    void setOrientation(UIDeviceOrientation orientation);
    // Called by the event loop between events: posts the sensor's first reading, if one is waiting.
    void postPendingChange();
    void reset();

private:
    UIDeviceOrientation m_sensedOrientation{UIDeviceOrientationPortrait};
    int m_generating{0};
    bool m_sensorStarted{false};
    bool m_firstReadingPending{false};
};

} // namespace dazed
