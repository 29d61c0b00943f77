#include "platform/ui/UIViewController.h"

#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIScreen.h"

namespace dazed {

UIViewController::UIViewController(std::string nibName)
    : m_nibName(std::move(nibName))
{
}

UIViewController::~UIViewController()
{
    if (m_view && m_view->viewController() == this)
        m_view->setViewController(nullptr);
}

const std::shared_ptr<UIView>& UIViewController::view()
{
    // A view request made while the view is being built (from loadView itself) gets what exists so
    // far instead of starting a second build.
    if (!m_view && !m_loading) {
        m_loading = true;
        loadView();
        if (!m_view)
            setView(std::make_shared<UIView>());
        m_loading = false;
        viewDidLoad();
    }
    return m_view;
}

void UIViewController::setView(std::shared_ptr<UIView> view)
{
    if (m_view && m_view->viewController() == this)
        m_view->setViewController(nullptr);
    m_view = std::move(view);
    if (m_view)
        m_view->setViewController(this);
}

void UIViewController::loadView()
{
    if (m_viewBuilder) {
        setView(m_viewBuilder(*this));
        return;
    }
    const UIScreen* screen = UIScreen::mainScreen();
    setView(std::make_shared<UIView>(screen ? screen->bounds() : CGRect{}));
}

bool UIViewController::shouldAutorotateToInterfaceOrientation(int interfaceOrientation)
{
    return interfaceOrientation == UIInterfaceOrientationPortrait;
}

void UIViewController::observeDeviceOrientation(std::function<void()> onChange)
{
    UIDevice::currentDevice().beginGeneratingDeviceOrientationNotifications();
    NSNotificationCenter::defaultCenter().addObserver(
        this, [onChange = std::move(onChange)](const NSNotification&) { onChange(); },
        UIDeviceOrientationDidChangeNotification, nullptr);
}

bool UIViewController::setOutlet(const std::string&, const std::shared_ptr<UIView>&)
{
    return false;
}

std::function<void()> UIViewController::actionNamed(const std::string&)
{
    return {};
}

UIResponder* UIViewController::nextResponder() const
{
    return m_view ? m_view->superview() : nullptr;
}

} // namespace dazed
