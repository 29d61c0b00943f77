#include "platform/ui/NSTimer.h"

#include "platform/ui/Host.h"
#include "platform/ui/UIApplication.h"

namespace dazed {

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double seconds, std::function<void()> action)
{
    UIApplication& application = UIApplication::sharedApplication();
    Host* host = application.host();
    if (!host || !action || !(seconds >= 0.0))
        return std::make_shared<NSTimer>(0.0, nullptr);
    auto timer = std::make_shared<NSTimer>(host->now() + seconds, std::move(action));
    application.addTimer(timer);
    return timer;
}

void NSTimer::invalidate()
{
    m_valid = false;
    m_action = nullptr;
}

void NSTimer::fire()
{
    if (!m_valid)
        return;
    // The action may schedule a new timer or let go of this one's handle: it is taken out first.
    auto action = std::move(m_action);
    invalidate();
    action();
}

} // namespace dazed
