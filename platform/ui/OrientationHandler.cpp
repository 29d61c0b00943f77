#include "platform/ui/OrientationHandler.h"

#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/TouchDispatcher.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>

namespace dazed {

namespace {

bool isPortrait(int o)
{
    return UIDeviceOrientationIsPortrait(o);
}

bool isLandscape(int o)
{
    return UIDeviceOrientationIsLandscape(o);
}

CGSize screenSizeFor(DeviceFamily family, int uprightOrientation)
{
    const CGSize portrait = portraitScreenSize(family);
    return isLandscape(uprightOrientation) ? CGSize{portrait.height, portrait.width} : portrait;
}

// The interface orientation a controller is asked about for a device orientation.
int interfaceOrientationFor(int deviceOrientation)
{
    switch (deviceOrientation) {
    case UIDeviceOrientationPortraitUpsideDown:
        return UIInterfaceOrientationPortraitUpsideDown;
    case UIDeviceOrientationLandscapeLeft:
        return UIInterfaceOrientationLandscapeRight;
    case UIDeviceOrientationLandscapeRight:
        return UIInterfaceOrientationLandscapeLeft;
    default:
        return UIInterfaceOrientationPortrait;
    }
}

// A quarter turn of the device, anticlockwise (Left) or clockwise (Right).
UIDeviceOrientation turned(UIDeviceOrientation orientation, RotationDirection direction)
{
    constexpr UIDeviceOrientation anticlockwise[] = {
        UIDeviceOrientationPortrait, UIDeviceOrientationLandscapeLeft, UIDeviceOrientationPortraitUpsideDown,
        UIDeviceOrientationLandscapeRight};
    const auto* pos = std::find(std::begin(anticlockwise), std::end(anticlockwise), orientation);
    const int i = pos == std::end(anticlockwise) ? 0 : static_cast<int>(pos - std::begin(anticlockwise));
    const int step = direction == RotationDirection::Left ? 1 : 3;
    return anticlockwise[(i + step) % 4];
}

void askControllersIn(UIView& view, int interfaceOrientation, bool decides, bool& accepted)
{
    const auto keep = view.shared_from_this();
    bool nested = decides;
    if (auto* controller = view.viewController()) {
        const bool answer = controller->shouldAutorotateToInterfaceOrientation(interfaceOrientation);
        if (decides)
            accepted = accepted && answer;
        nested = false; // controllers inside a controller's view follow it
    }
    const auto subviews = view.subviews();
    for (const auto& sub : subviews)
        askControllersIn(*sub, interfaceOrientation, nested, accepted);
}

} // namespace

void fitRootViewsToWindow(UIView& window)
{
    for (const auto& sub : window.subviews())
        if (sub->viewController())
            sub->setFrame(window.bounds());
}

bool askControllersToAutorotate(UIView& window, int deviceOrientation)
{
    const auto keep = window.shared_from_this();
    const int asked = interfaceOrientationFor(deviceOrientation);
    bool accepted = true;
    if (auto* controller = window.viewController())
        accepted = controller->shouldAutorotateToInterfaceOrientation(asked);
    const auto subviews = window.subviews(); // a controller may change the tree when asked
    for (const auto& sub : subviews)
        askControllersIn(*sub, asked, true, accepted);
    return accepted;
}

OrientationHandler::OrientationHandler(Host& host, TouchDispatcher& touches, DeviceFamily family,
                                       UIDeviceOrientation orientation, ScreenFit fit)
    : m_host(host)
    , m_touches(touches)
    , m_family(family)
    , m_fit(fit)
    , m_screenSize(portraitScreenSize(family))
{
    if (isLandscape(orientation)) {
        m_uprightOrientation = orientation;
        m_screenSize = screenSizeFor(family, orientation);
    }
}

void OrientationHandler::resizeScreen(CGSize size)
{
    m_screenSize = size;
    if (m_fit == ScreenFit::Window)
        UIScreen::setMainScreenFittingWindow(size, isLandscape(m_uprightOrientation));
    m_host.showScreen(size);
    if (const auto window = UIApplication::sharedApplication().keyWindow()) {
        window->setFrame({{}, size});
        fitRootViewsToWindow(*window);
    }
}

ScreenChange OrientationHandler::fitWindow(CGSize windowPoints)
{
    if (m_fit != ScreenFit::Window)
        return ScreenChange::Same;
    const CGSize size = fittedScreenSize(windowPoints);
    if (size == m_screenSize)
        return ScreenChange::Same;
    // Fingers on the screen lose their place when it changes size.
    m_touches.cancelAll(m_host.now());
    resizeScreen(size);
    NSNotificationCenter::defaultCenter().postNotificationName(UIDeviceOrientationDidChangeNotification,
                                                               UIScreen::mainScreen());
    return ScreenChange::Resized;
}

ScreenChange OrientationHandler::rotate(RotationDirection direction)
{
    const UIDeviceOrientation current = UIDevice::currentDevice().sensedOrientation();
    return setDeviceOrientation(
        turned(isPortrait(current) || isLandscape(current) ? current : m_uprightOrientation, direction));
}

ScreenChange OrientationHandler::setDeviceOrientation(UIDeviceOrientation orientation)
{
    if (orientation == UIDevice::currentDevice().sensedOrientation())
        return ScreenChange::Same;
    ScreenChange change = ScreenChange::Same;
    if (isPortrait(orientation) || isLandscape(orientation)) {
        // Controllers are asked before the change is posted, so that a subscription they make when
        // asked already hears this change. The screen turns only when they accept.
        const auto window = UIApplication::sharedApplication().keyWindow();
        const bool accepted = !window || askControllersToAutorotate(*window, orientation);
        if (accepted) {
            // Fingers on the screen lose their place when it turns.
            m_touches.cancelAll(m_host.now());
            // A screen that fits its window keeps its size and swaps its sides on a quarter turn.
            const bool turns = isLandscape(orientation) != isLandscape(m_uprightOrientation);
            m_uprightOrientation = orientation;
            const CGSize size = m_fit == ScreenFit::Window
                                    ? (turns ? CGSize{m_screenSize.height, m_screenSize.width} : m_screenSize)
                                    : screenSizeFor(m_family, orientation);
            if (size != m_screenSize) {
                resizeScreen(size);
                change = ScreenChange::Resized;
            } else if (m_fit == ScreenFit::Window) {
                // Square, or turned upside down: the same size, now held the other way.
                UIScreen::setMainScreenFittingWindow(size, isLandscape(orientation));
            }
        }
    }
    UIDevice::currentDevice().setOrientation(orientation);
    return change;
}

} // namespace dazed
