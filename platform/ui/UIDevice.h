#pragma once

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

class UIDevice {
public:
    static UIDevice& currentDevice();

    [[nodiscard]] int orientation() const { return m_orientation; }
    // Orientation changes are posted as UIDeviceOrientationDidChangeNotification from then on.
    void beginGeneratingDeviceOrientationNotifications() { ++m_generating; }
    void endGeneratingDeviceOrientationNotifications()
    {
        if (m_generating > 0)
            --m_generating;
    }
    [[nodiscard]] bool isGeneratingDeviceOrientationNotifications() const { return m_generating > 0; }

    // The host's report of a new orientation: stored, and posted when notifications are on and the
    // code changed. Codes outside 0..6 are ignored.
    void setOrientation(int orientation);
    void reset();

private:
    int m_orientation{UIDeviceOrientationPortrait};
    int m_generating{0};
};

} // namespace dazed
