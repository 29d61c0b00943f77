#include "platform/ui/TapDetector.h"

#include <cmath>

namespace dazed {

namespace {
float distance(CGPoint a, CGPoint b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}
} // namespace

int TapDetector::touchBegan(CGPoint location, double time, bool otherFingersDown)
{
    if (otherFingersDown) {
        m_lastCount = 0;
        return 1;
    }
    const bool continues = m_lastCount > 0 && time - m_lastUpTime <= kMultiTapInterval &&
                           distance(location, m_lastLocation) <= kMultiTapRadius;
    return continues ? m_lastCount + 1 : 1;
}

void TapDetector::touchEnded(CGPoint downLocation, CGPoint upLocation, double upTime, int tapCount)
{
    if (tapCount <= 0 || distance(downLocation, upLocation) > kTapMaxTravel) {
        m_lastCount = 0;
        return;
    }
    m_lastCount = tapCount;
    m_lastUpTime = upTime;
    m_lastLocation = downLocation;
}

} // namespace dazed
