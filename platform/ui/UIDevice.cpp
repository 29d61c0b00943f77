#include "platform/ui/UIDevice.h"

#include "platform/ui/NSNotificationCenter.h"

namespace dazed {

UIDevice& UIDevice::currentDevice()
{
    static UIDevice device;
    return device;
}

void UIDevice::setOrientation(int orientation)
{
    if (orientation < UIDeviceOrientationUnknown || orientation > UIDeviceOrientationFaceDown ||
        orientation == m_orientation)
        return;
    m_orientation = orientation;
    if (isGeneratingDeviceOrientationNotifications())
        NSNotificationCenter::defaultCenter().postNotificationName(UIDeviceOrientationDidChangeNotification,
                                                                   this);
}

void UIDevice::reset()
{
    m_orientation = UIDeviceOrientationPortrait;
    m_generating = 0;
}

} // namespace dazed
