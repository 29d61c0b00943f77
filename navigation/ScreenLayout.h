#pragma once

// Which screen the app runs on and the size its screens take as the device turns. Both the sky
// screen and the root screen size themselves with these rules.

#include "platform/graphics/Geometry.h"
#include "platform/ui/UIDevice.h"

#include <optional>

namespace dazed {

class UIScreen;

// The portrait size, in points, of the screen the app lays itself out for: a tablet's (768 x 1024)
// when the main screen's width + height is exactly 1792 points, a phone's (320 x 480) for any other
// sum, including no main screen at all. A screen that fits its window is laid out for its own
// portrait size, whatever it is.
[[nodiscard]] CGSize portraitLayoutSize(const UIScreen* mainScreen);

// The layout size for a device orientation code: the portrait size held upright (1, 2), turned for
// landscape (3, 4), and nothing for the codes that do not say which way is up (0 unknown, 5 face up,
// 6 face down).
[[nodiscard]] std::optional<CGSize> layoutSizeForOrientation(CGSize portrait,
                                                             UIDeviceOrientation orientation);

// The layout size on `mainScreen` with the device reporting `orientation`: on a screen that fits
// its window, the size it shows now whatever the code (the window's shape decides, even while the
// device lies flat); on a device's own screen, layoutSizeForOrientation of portraitLayoutSize.
[[nodiscard]] std::optional<CGSize> layoutSizeFor(const UIScreen* mainScreen,
                                                  UIDeviceOrientation orientation);

} // namespace dazed
