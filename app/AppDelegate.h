#pragma once

// What the phone and tablet application delegates share: the window and the root controller that
// the main interface description hands them, and the steps once launching has finished.

#include "platform/ui/UIApplicationDelegate.h"

#include <memory>

namespace dazed {

class RootViewController;
class UIViewController;
class UIWindow;

class AppDelegate : public UIApplicationDelegate {
public:
    void setWindow(std::shared_ptr<UIWindow> window) override { m_window = std::move(window); }
    void setRootViewController(std::shared_ptr<UIViewController> controller) override;

    [[nodiscard]] const std::shared_ptr<UIWindow>& window() const { return m_window; }
    [[nodiscard]] const std::shared_ptr<RootViewController>& rootViewController() const
    {
        return m_rootViewController;
    }

protected:
    // The status bar's style (without animation), then the root view into the window (loading it
    // first, so the sky screen is in place before the view joins), then the window shown. A
    // missing window or controller skips the steps that need it.
    void finishLaunching(UIApplication& application);

private:
    std::shared_ptr<UIWindow> m_window;
    std::shared_ptr<RootViewController> m_rootViewController;
};

// The delegate on phone-sized devices; it uses the launch callback with options.
class AppDelegate_Phone final : public AppDelegate {
public:
    bool applicationDidFinishLaunchingWithOptions(UIApplication& application) override;
};

// The delegate on tablets; it uses the plain launch callback.
class AppDelegate_Pad final : public AppDelegate {
public:
    void applicationDidFinishLaunching(UIApplication& application) override;
};

} // namespace dazed
