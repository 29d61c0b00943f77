#pragma once

#include <memory>

namespace dazed {

class UIApplication;
class UIWindow;
class UIViewController;

// The object the interface description names as the application's delegate. The loader hands it
// the window and the root controller, then calls the launch callback once.
class UIApplicationDelegate {
public:
    virtual ~UIApplicationDelegate() = default;

    virtual void setWindow(std::shared_ptr<UIWindow>) {}
    virtual void setRootViewController(std::shared_ptr<UIViewController>) {}

    // The launch callback with options; the default runs the plain one and answers true.
    virtual bool applicationDidFinishLaunchingWithOptions(UIApplication& application)
    {
        applicationDidFinishLaunching(application);
        return true;
    }
    virtual void applicationDidFinishLaunching(UIApplication&) {}

protected:
    UIApplicationDelegate() = default;
    UIApplicationDelegate(const UIApplicationDelegate&) = default;
    UIApplicationDelegate& operator=(const UIApplicationDelegate&) = default;
};

} // namespace dazed
