#include "platform/ui/UIApplication.h"

#include "platform/ui/Host.h"
#include "platform/ui/NSTimer.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>

namespace dazed {

UIApplication& UIApplication::sharedApplication()
{
    static UIApplication application;
    return application;
}

void UIApplication::setStatusBarStyle(int style, bool)
{
    m_statusBarStyle = style;
}

bool UIApplication::openURL(const std::optional<NSURL>& url)
{
    if (url && m_host && m_host->openURL(url->absoluteString()))
        return true;
    const std::string text = url ? url->absoluteString() : std::string("(no URL)");
    report(failure("could not open " + text + " in a browser"));
    return false;
}

void UIApplication::setScreenTint(ScreenTint tint)
{
    if (tint == m_screenTint)
        return;
    m_screenTint = tint;
    UIView::noteScreenChanged();
}

void UIApplication::report(const Error& error)
{
    if (m_reportedFailures.insert(error.message).second && m_reporter)
        m_reporter(error);
}

void UIApplication::attachHost(Host* host)
{
    m_host = host;
    const std::scoped_lock lock(m_handOverLock);
    m_hostToWake = host;
}

void UIApplication::performOnMainThread(std::function<void()> action)
{
    if (!action)
        return;
    const std::scoped_lock lock(m_handOverLock);
    m_handedOver.push_back(std::move(action));
    if (m_hostToWake)
        m_hostToWake->interruptWait();
}

void UIApplication::runActionsFromOtherThreads()
{
    std::vector<std::function<void()>> due;
    {
        const std::scoped_lock lock(m_handOverLock);
        due.swap(m_handedOver);
    }
    for (const auto& action : due)
        action();
}

void UIApplication::reset()
{
    m_statusBarStyle = UIStatusBarStyleDefault;
    m_screenTint = ScreenTint::Day;
    attachHost(nullptr);
    {
        const std::scoped_lock lock(m_handOverLock);
        m_handedOver.clear();
    }
    m_keyWindow.reset();
    m_firstResponder = nullptr;
    m_reportedFailures.clear();
    cancelWakeUp();
    for (const auto& timer : m_timers)
        timer->invalidate();
    m_timers.clear();
}

void UIApplication::addTimer(std::shared_ptr<NSTimer> timer)
{
    if (timer && timer->isValid())
        m_timers.push_back(std::move(timer));
}

std::optional<double> UIApplication::nextTimerFireDate()
{
    std::erase_if(m_timers, [](const auto& timer) { return !timer->isValid(); });
    std::optional<double> earliest;
    for (const auto& timer : m_timers)
        earliest = std::min(earliest.value_or(timer->fireDate()), timer->fireDate());
    return earliest;
}

void UIApplication::fireTimersDue(double now)
{
    // Timers scheduled by the actions wait for the next pass, even when already due: a timer that
    // schedules itself again with no delay cannot hold the loop here.
    auto due = m_timers;
    std::erase_if(due, [now](const auto& timer) { return !timer->isValid() || timer->fireDate() > now; });
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a->fireDate() < b->fireDate(); });
    std::erase_if(m_timers,
                  [now](const auto& timer) { return !timer->isValid() || timer->fireDate() <= now; });
    for (const auto& timer : due)
        timer->fire();
}

namespace {

// Whether `responder` is a view of `window`'s tree or a controller whose view is.
bool isInWindow(UIResponder* responder, const UIView& window)
{
    if (const auto* view = dynamic_cast<const UIView*>(responder))
        return view->isDescendantOfView(&window);
    if (auto* controller = dynamic_cast<UIViewController*>(responder))
        return controller->isViewLoaded() && controller->view()->isDescendantOfView(&window);
    return false;
}

} // namespace

bool UIApplication::sendKey(const UIKey& key)
{
    // Held for the call: a handler may close the window's last owner's view.
    const auto window = m_keyWindow;
    if (!window)
        return false;
    if (m_firstResponder && isInWindow(m_firstResponder, *window))
        return m_firstResponder->keyDown(key);
    // Without a first responder on screen, the controllers of the window's subviews are offered the
    // key, topmost first.
    const auto subviews = window->subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
        if (auto* controller = (*it)->viewController(); controller && controller->keyDown(key))
            return true;
    return false;
}

void UIApplication::scheduleWakeUp(double delaySeconds, std::function<void()> action)
{
    if (!m_host || !action || !(delaySeconds >= 0.0)) {
        cancelWakeUp();
        return;
    }
    m_wakeUpTime = m_host->now() + delaySeconds;
    m_wakeUpAction = std::move(action);
}

void UIApplication::cancelWakeUp()
{
    m_wakeUpTime.reset();
    m_wakeUpAction = nullptr;
}

std::optional<double> UIApplication::wakeUpTime() const
{
    return m_wakeUpTime;
}

void UIApplication::runWakeUpIfDue(double now)
{
    if (!m_wakeUpTime || now < *m_wakeUpTime)
        return;
    // The action may schedule the next wake-up: it is taken out first.
    auto action = std::move(m_wakeUpAction);
    cancelWakeUp();
    if (action)
        action();
}

void UIWindow::makeKeyAndVisible()
{
    UIApplication::sharedApplication().setKeyWindow(std::static_pointer_cast<UIWindow>(shared_from_this()));
    setHidden(false);
}

bool UIWindow::isKeyWindow() const
{
    return UIApplication::sharedApplication().keyWindow().get() == this;
}

std::optional<NSURL> NSURL::URLWithString(const std::string& text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok)
            return std::nullopt;
    }
    return NSURL(text);
}

} // namespace dazed
