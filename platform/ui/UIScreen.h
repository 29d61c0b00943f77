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
    // A screen of any other portrait size, in points (tests; hardware the families do not cover).
    static void setMainScreenSize(CGSize portraitSize);

    [[nodiscard]] CGRect bounds() const { return {{}, m_portraitSize}; }

private:
    explicit UIScreen(CGSize portraitSize)
        : m_portraitSize(portraitSize)
    {
    }
    CGSize m_portraitSize;
};

} // namespace dazed
