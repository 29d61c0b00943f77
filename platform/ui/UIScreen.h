#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/ui/DeviceFamily.h"

namespace dazed {

// The device's screen. Its bounds are those of the screen held in portrait, whatever way the
// device is turned.
class UIScreen {
public:
    // Null until an application has chosen its device.
    static UIScreen* mainScreen();
    // Used by the application at start-up (and by tests); none removes the screen.
    static void setMainScreen(std::optional<DeviceFamily> family);

    [[nodiscard]] CGRect bounds() const { return {{}, portraitScreenSize(m_family)}; }
    [[nodiscard]] DeviceFamily family() const { return m_family; }

private:
    explicit UIScreen(DeviceFamily family)
        : m_family(family)
    {
    }
    DeviceFamily m_family;
};

} // namespace dazed
