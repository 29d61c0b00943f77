#include "platform/ui/UIApplication.h"

#include "platform/ui/Host.h"
#include "platform/ui/UIWindow.h"

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

void UIApplication::reset()
{
    m_statusBarStyle = UIStatusBarStyleDefault;
    m_screenTint = ScreenTint::Day;
    m_host = nullptr;
    m_keyWindow.reset();
    m_firstResponder = nullptr;
    m_reportedFailures.clear();
    cancelWakeUp();
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
