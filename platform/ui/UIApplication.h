#pragma once

// The process-wide application object. The event loop attaches its host while it runs.

#include "platform/Result.h"
#include "platform/graphics/ScreenTint.h"
#include "platform/ui/NSURL.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace dazed {

class Host;
class NSTimer;
class UIResponder;
class UIWindow;
struct UIKey;

enum UIStatusBarStyle : int {
    UIStatusBarStyleDefault = 0,
    UIStatusBarStyleBlackTranslucent = 1,
    UIStatusBarStyleBlackOpaque = 2,
};

class UIApplication {
public:
    static UIApplication& sharedApplication();

    // The emulated device shows no status bar; the style is kept for whoever asks.
    void setStatusBarStyle(int style, bool animated);
    [[nodiscard]] int statusBarStyle() const { return m_statusBarStyle; }

    // Hands the URL to the browser. A failure (no URL, no host, no browser) is reported (see
    // report) and otherwise ignored; the result says whether the URL was handed over.
    bool openURL(const std::optional<NSURL>& url);
    bool openURL(const NSURL& url) { return openURL(std::optional<NSURL>(url)); }

    [[nodiscard]] const std::shared_ptr<UIWindow>& keyWindow() const { return m_keyWindow; }
    void setKeyWindow(std::shared_ptr<UIWindow> window) { m_keyWindow = std::move(window); }

    // The responder that receives key presses first; null for none.
    [[nodiscard]] UIResponder* firstResponder() const { return m_firstResponder; }
    void setFirstResponder(UIResponder* responder) { m_firstResponder = responder; }

    // What the framework could not do but carries on without (a picture that does not load, a
    // link no browser opens) goes to the reporter, each message once until reset(). Nothing in
    // the framework prints: the program's entry point sets the reporter and decides where such
    // messages go. Without one they are dropped.
    using Reporter = std::function<void(const Error&)>;
    void setReporter(Reporter reporter) { m_reporter = std::move(reporter); }
    void report(const Error& error);

    // One wake-up of the event loop the application asks for, like a one-shot timer: `action` runs
    // on the loop's thread once `delaySeconds` have passed on the host's clock, before the display
    // cycle. Scheduling again replaces the wake-up; with none scheduled the loop sleeps until the
    // next event, as always. Without a host attached (no loop) nothing is scheduled.
    void scheduleWakeUp(double delaySeconds, std::function<void()> action);
    void cancelWakeUp();
    // Used by the event loop: when the loop must wake (host clock, seconds), and the action run
    // once when that time has come.
    [[nodiscard]] std::optional<double> wakeUpTime() const;
    void runWakeUpIfDue(double now);

    // How the screen is shown; the next display cycle presents the change. Day after reset().
    void setScreenTint(ScreenTint tint);
    [[nodiscard]] ScreenTint screenTint() const { return m_screenTint; }

    // Used by NSTimer and the event loop: the timers waiting to fire, the earliest fire date among
    // them, and firing those due (in order of their fire dates) at `now`.
    void addTimer(std::shared_ptr<NSTimer> timer);
    [[nodiscard]] std::optional<double> nextTimerFireDate();
    void fireTimersDue(double now);

    // Hands `action` to the loop's thread from any thread (work done off the loop gives back its
    // result this way): it runs there after the events being handled, before the display cycle,
    // in the order handed. Wakes a loop waiting for events. Without a host attached the action
    // waits for one; reset() drops what has not run.
    void performOnMainThread(std::function<void()> action);
    // Used by the event loop: runs the actions handed over so far (those handed while they run
    // wait for the next pass).
    void runActionsFromOtherThreads();

    // The responder chain's way for a key: the first responder when it is in the key window, else
    // the controllers of the window's subviews, topmost first. The keyboard's keys arrive here,
    // and a control that stands for a key (a menu item) sends it the same way. True when handled.
    bool sendKey(const UIKey& key);

    // Used by the event loop.
    void attachHost(Host* host);
    [[nodiscard]] Host* host() const { return m_host; }
    void reset();

private:
    int m_statusBarStyle{UIStatusBarStyleDefault};
    ScreenTint m_screenTint{ScreenTint::Day};
    Host* m_host{nullptr};
    std::shared_ptr<UIWindow> m_keyWindow;
    UIResponder* m_firstResponder{nullptr};
    std::set<std::string> m_reportedFailures;
    Reporter m_reporter;
    std::optional<double> m_wakeUpTime;
    std::function<void()> m_wakeUpAction;
    std::vector<std::shared_ptr<NSTimer>> m_timers;
    // Guards what other threads touch: the actions handed over, and the host they wake.
    std::mutex m_handOverLock;
    std::vector<std::function<void()>> m_handedOver;
    Host* m_hostToWake{nullptr};
};

} // namespace dazed
