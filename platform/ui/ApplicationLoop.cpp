#include "platform/ui/ApplicationLoop.h"

#include "platform/ui/Compositor.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/OrientationHandler.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewAnimation.h"
#include "platform/ui/UIViewController.h"

#include <algorithm>

namespace dazed {

ApplicationLoop::ApplicationLoop(Host& host, DeviceFamily family, UIDeviceOrientation orientation,
                                 ScreenFit fit)
    : m_host(host)
    , m_orientation(std::make_unique<OrientationHandler>(host, m_touches, family, orientation, fit))
    , m_compositor(std::make_unique<Compositor>(host))
{
    if (fit == ScreenFit::Window)
        UIScreen::setMainScreenFittingWindow(screenSize(), UIDeviceOrientationIsLandscape(orientation));
    else
        UIScreen::setMainScreen(family);
    UIDevice::currentDevice().reset();
    UIDevice::currentDevice().setOrientation(orientation);
    UIApplication::sharedApplication().reset();
    UIApplication::sharedApplication().attachHost(&host);
    UIViewAnimation::shared().reset();
    UIViewAnimation::shared().setCapture([this](UIView& view) { return capture(view); });
    UIView::noteScreenChanged();
    m_host.setScreenFit(fit);
    m_host.showScreen(screenSize());
    // The window may open at another size than asked (a phone's shell, a small desktop).
    if (const auto window = m_host.windowSize())
        m_orientation->fitWindow(*window);
}

ApplicationLoop::~ApplicationLoop()
{
    UIViewAnimation::shared().reset();
    NSNotificationCenter::defaultCenter().removeAllObservers();
    UIApplication::sharedApplication().reset();
    UIDevice::currentDevice().reset();
    UIScreen::setMainScreen(std::nullopt);
}

Result<std::unique_ptr<ApplicationLoop>> ApplicationLoop::launch(Host& host, const LaunchOptions& options,
                                                                 const ClassRegistry& registry)
{
    const std::string path =
        options.interfacePath.empty() ? defaultInterfacePath(options.family) : options.interfacePath;
    auto description = readInterfaceDescription(path, registry);
    if (!description)
        return description.error();
    auto loop = std::make_unique<ApplicationLoop>(host, options.family, options.orientation, options.fit);
    if (options.quitAfter > 0)
        loop->setQuitAt(host.now() + options.quitAfter);
    loop->m_interface = instantiateInterface(description.value(), registry);
    if (auto& window = loop->m_interface.window)
        window->setFrame({{}, loop->screenSize()});
    if (loop->m_interface.delegate)
        loop->m_interface.delegate->applicationDidFinishLaunchingWithOptions(
            UIApplication::sharedApplication());
    if (auto window = UIApplication::sharedApplication().keyWindow()) {
        fitRootViewsToWindow(*window);
        askControllersToAutorotate(*window, loop->m_orientation->uprightOrientation());
    }
    UIDevice::currentDevice().postPendingChange();
    loop->display();
    return loop;
}

bool ApplicationLoop::step()
{
    std::optional<double> deadline;
    if (UIViewAnimation::shared().isAnimating())
        deadline = m_lastFrame + m_host.frameInterval();
    if (m_quitAt > 0)
        deadline = std::min(deadline.value_or(m_quitAt), m_quitAt);
    UIApplication& application = UIApplication::sharedApplication();
    if (const auto wakeUp = application.wakeUpTime())
        deadline = std::min(deadline.value_or(*wakeUp), *wakeUp);
    if (const auto timer = application.nextTimerFireDate())
        deadline = std::min(deadline.value_or(*timer), *timer);
    if (auto event = m_host.waitEvent(deadline)) {
        handle(*event);
        while (!m_quit) {
            auto more = m_host.pollEvent();
            if (!more)
                break;
            handle(*more);
        }
    }
    if (m_quitAt > 0 && m_host.now() >= m_quitAt)
        m_quit = true;
    if (!m_quit)
        application.runActionsFromOtherThreads();
    if (!m_quit)
        application.runWakeUpIfDue(m_host.now());
    if (!m_quit)
        application.fireTimersDue(m_host.now());
    if (!m_quit)
        display();
    return !m_quit;
}

int ApplicationLoop::run()
{
    while (step()) {
    }
    return 0;
}

void ApplicationLoop::handle(const HostEvent& event)
{
    // While a view turns over, the window takes no touches, clicks, wheel turns or keys: they would
    // land on a side that is still turning in (a click where Done is about to appear would flip
    // straight back). Turning the device, losing the fingers, full screen, resizing and quitting
    // still work.
    const bool interaction = std::holds_alternative<TouchInput>(event) ||
                             std::holds_alternative<KeyInput>(event) ||
                             std::holds_alternative<ScrollInput>(event);
    if (interaction && UIViewAnimation::shared().isTransitioning(m_host.now())) {
        // Ignored; the observer still hears of it.
    } else if (const auto* touch = std::get_if<TouchInput>(&event)) {
        auto window = UIApplication::sharedApplication().keyWindow();
        m_touches.dispatch(*touch, m_host.now(), window.get());
    } else if (const auto* orientation = std::get_if<OrientationInput>(&event)) {
        // A code outside the device's range is not an orientation.
        const auto known = UIDeviceOrientationFromCode(orientation->orientation);
        if (known && m_orientation->setDeviceOrientation(*known) == ScreenChange::Resized)
            m_forceDisplay = true;
    } else if (const auto* rotation = std::get_if<RotateInput>(&event)) {
        if (m_orientation->rotate(rotation->direction) == ScreenChange::Resized)
            m_forceDisplay = true;
    } else if (std::holds_alternative<CancelTouchesInput>(event)) {
        m_touches.cancelAll(m_host.now());
    } else if (const auto* key = std::get_if<KeyInput>(&event)) {
        UIApplication::sharedApplication().sendKey(key->key);
    } else if (const auto* scroll = std::get_if<ScrollInput>(&event)) {
        deliverScroll(*scroll);
    } else if (std::holds_alternative<FullScreenInput>(event)) {
        m_host.toggleFullScreen();
    } else if (std::holds_alternative<ResizeInput>(event)) {
        m_forceDisplay = true;
        if (const auto window = m_host.windowSize())
            m_orientation->fitWindow(*window);
    } else if (std::holds_alternative<QuitInput>(event)) {
        m_quit = true;
    }
    // A transition this event began takes the fingers still down off the screen: their gestures
    // are cancelled now, and what those fingers do later is never delivered, during the transition
    // or after it.
    if (m_touches.activeCount() > 0 && UIViewAnimation::shared().isTransitioning(m_host.now()))
        m_touches.cancelAll(m_host.now());
    // A sensor started while handling the event reports its first reading now.
    UIDevice::currentDevice().postPendingChange();
    if (m_eventObserver)
        m_eventObserver(event);
}

void ApplicationLoop::deliverScroll(const ScrollInput& scroll)
{
    const auto window = UIApplication::sharedApplication().keyWindow();
    if (!window)
        return;
    if (UIView* hit = window->hitTest(window->convertPointFromScreen(scroll.location))) {
        const auto keep = hit->shared_from_this();
        hit->scrollWheel(UIScrollEvent{scroll.location, scroll.dy});
    }
}

void ApplicationLoop::display()
{
    const double now = m_host.now();
    const bool animating = UIViewAnimation::shared().advance(now);
    const bool changed = UIView::consumeScreenChanged();
    if (!changed && !animating && !m_wasAnimating && !m_forceDisplay)
        return;
    m_wasAnimating = animating;
    m_forceDisplay = false;
    m_compositor->present(screenSize(), animating);
    m_lastFrame = now;
    ++m_presentedFrames;
}

CGSize ApplicationLoop::screenSize() const
{
    return m_orientation->screenSize();
}

std::shared_ptr<const PainterRecording> ApplicationLoop::capture(UIView& view)
{
    return m_compositor->capture(view);
}

} // namespace dazed
