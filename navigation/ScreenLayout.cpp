#include "navigation/ScreenLayout.h"

#include "platform/ui/DeviceFamily.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIScreen.h"

namespace dazed {

CGSize portraitLayoutSize(const UIScreen* mainScreen)
{
    const CGSize bounds = mainScreen ? mainScreen->bounds().size : CGSize{};
    if (mainScreen && mainScreen->fit() == ScreenFit::Window)
        return bounds;
    const CGSize tablet = portraitScreenSize(DeviceFamily::Tablet);
    // The sum is formed in single precision and compared exactly: only a tablet's screen, in either
    // orientation, adds up to 1792.
    const float sum = bounds.width + bounds.height;
    return sum == tablet.width + tablet.height ? tablet : portraitScreenSize(DeviceFamily::Phone);
}

std::optional<CGSize> layoutSizeForOrientation(CGSize portrait, UIDeviceOrientation deviceOrientation)
{
    if (UIDeviceOrientationIsPortrait(deviceOrientation))
        return portrait;
    if (UIDeviceOrientationIsLandscape(deviceOrientation))
        return CGSize{portrait.height, portrait.width};
    return std::nullopt;
}

std::optional<CGSize> layoutSizeFor(const UIScreen* mainScreen, UIDeviceOrientation orientation)
{
    if (mainScreen)
        if (const auto shown = mainScreen->windowFittedSize())
            return shown;
    return layoutSizeForOrientation(portraitLayoutSize(mainScreen), orientation);
}

} // namespace dazed
