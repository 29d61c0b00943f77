#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/ui/DeviceFamily.h"
#include "platform/ui/ScreenFit.h"

#include <optional>

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
    // A screen the size of the window showing it: `shown` points as the device is held now,
    // `landscape` when that is turned from portrait (the bounds are then `shown` turned back).
    static void setMainScreenFittingWindow(CGSize shown, bool landscape);

    [[nodiscard]] CGRect bounds() const { return {{}, m_portraitSize}; }
    [[nodiscard]] ScreenFit fit() const { return m_fit; }
    // The size shown now, as the device is held, for a screen that fits its window; nothing for a
    // device's own screen, whose size follows the device's orientation code.
    [[nodiscard]] std::optional<CGSize> windowFittedSize() const
    {
        return m_fit == ScreenFit::Window ? std::optional<CGSize>(m_shownSize) : std::nullopt;
    }

private:
    explicit UIScreen(CGSize portraitSize, ScreenFit fit = ScreenFit::Device, CGSize shown = {})
        : m_portraitSize(portraitSize)
        , m_fit(fit)
        , m_shownSize(shown)
    {
    }
    CGSize m_portraitSize;
    ScreenFit m_fit;
    CGSize m_shownSize;
};

} // namespace dazed
