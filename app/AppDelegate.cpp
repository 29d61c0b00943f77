#include "app/AppDelegate.h"

#include "app/RootViewController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

namespace dazed {

void AppDelegate::setRootViewController(std::shared_ptr<UIViewController> controller)
{
    // Another class in the interface description's place leaves the delegate without one.
    m_rootViewController = std::dynamic_pointer_cast<RootViewController>(std::move(controller));
}

void AppDelegate::finishLaunching(UIApplication& application)
{
    application.setStatusBarStyle(UIStatusBarStyleBlackOpaque, false);
    if (m_window && m_rootViewController)
        m_window->addSubview(m_rootViewController->view());
    if (m_window)
        m_window->makeKeyAndVisible();
}

bool AppDelegate_Phone::applicationDidFinishLaunchingWithOptions(UIApplication& application)
{
    finishLaunching(application);
    return true;
}

void AppDelegate_Pad::applicationDidFinishLaunching(UIApplication& application)
{
    finishLaunching(application);
}

} // namespace dazed
