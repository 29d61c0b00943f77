#include "platform/ui/UIDevice.h"

#include "platform/ui/NSNotificationCenter.h"

namespace dazed {

UIDevice& UIDevice::currentDevice()
{
    static UIDevice device;
    return device;
}

void UIDevice::beginGeneratingDeviceOrientationNotifications()
{
    ++m_generating;
    if (!m_sensorStarted) {
        m_sensorStarted = true;
        // Posting here would reach nobody: the caller subscribes after turning notifications on.
        m_firstReadingPending = m_sensedOrientation != UIDeviceOrientationUnknown;
    }
}

void UIDevice::setOrientation(UIDeviceOrientation orientation)
{
    if (orientation == m_sensedOrientation)
        return;
    m_sensedOrientation = orientation;
    if (!m_sensorStarted)
        return;
    m_firstReadingPending = false;
    if (isGeneratingDeviceOrientationNotifications())
        NSNotificationCenter::defaultCenter().postNotificationName(UIDeviceOrientationDidChangeNotification,
                                                                   this);
}

void UIDevice::postPendingChange()
{
    if (!m_firstReadingPending)
        return;
    m_firstReadingPending = false;
    if (isGeneratingDeviceOrientationNotifications())
        NSNotificationCenter::defaultCenter().postNotificationName(UIDeviceOrientationDidChangeNotification,
                                                                   this);
}

void UIDevice::reset()
{
    m_sensedOrientation = UIDeviceOrientationPortrait;
    m_generating = 0;
    m_sensorStarted = false;
    m_firstReadingPending = false;
}

} // namespace dazed
