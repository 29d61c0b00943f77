#include "app/RootViewController.h"

#include "app/FlipsideViewController.h"
#include "navigation/MainViewController.h"
#include "navigation/ScreenLayout.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/NSURL.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIScreen.h"

namespace dazed {

namespace {

// The info button: 50 x 50, centred 30 points in from the right and 50 up from the bottom.
constexpr float kInfoButtonSide = 50.0f;

CGPoint infoButtonCentre(float w, float h)
{
    return {w - 30, h - 50};
}

// The store button covers the logo and the area above it, from 90 points down to half the height.
CGRect storeButtonFrame(float w, float h)
{
    return CGRectMake(10, 90, w - 10, h / 2);
}

std::shared_ptr<UILabel> pageLabel(CGRect frame, const char* text)
{
    auto label = std::make_shared<UILabel>(frame);
    label->setText(text);
    label->setBackgroundColor(UIColor::blackColor());
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(UITextAlignmentCenter);
    label->setFont(UIFont::systemFontOfSize(15));
    return label;
}

} // namespace

RootViewController::~RootViewController()
{
    NSNotificationCenter::defaultCenter().removeObserver(this);
}

void RootViewController::setInitialCentre(float rightAscension, float declination)
{
    m_initialCentre = std::make_pair(rightAscension, declination);
}

std::shared_ptr<MainViewController> RootViewController::makeMainViewController()
{
    return std::make_shared<MainViewController>("MainView");
}

void RootViewController::viewDidLoad()
{
    UIViewController::viewDidLoad();
    m_mainViewController = makeMainViewController();
    if (m_initialCentre)
        m_mainViewController->setInitialCentre(m_initialCentre->first, m_initialCentre->second);
    if (m_initialSkyLayer)
        m_mainViewController->setSkyLayer(*m_initialSkyLayer);
    detectOrientation();
    if (m_infoButton) {
        m_infoButton->setFrame(CGRectMake(m_largeur - 60, m_hauteur - 80, kInfoButtonSide, kInfoButtonSide));
        m_infoButton->setCenter(infoButtonCentre(m_largeur, m_hauteur));
    }
    view()->insertSubviewBelowSubview(m_mainViewController->view(), m_infoButton.get());
    detectOrientation();
}

void RootViewController::detectOrientation()
{
    const CGSize portrait = portraitLayoutSize(UIScreen::mainScreen());
    const auto size = layoutSizeForOrientation(portrait, UIDevice::currentDevice().orientation());
    if (!size) {
        // Lying flat, or not knowing yet, never changes known dimensions.
        if (m_largeur == 0.0f) {
            m_largeur = portrait.width;
            m_hauteur = portrait.height;
        }
        return;
    }
    m_largeur = size->width;
    m_hauteur = size->height;
    setOrientation();
}

void RootViewController::setOrientation()
{
    const float w = m_largeur, h = m_hauteur;
    if (m_flipsideViewController)
        m_flipsideViewController->view()->setFrame(CGRectMake(0, 0, w, h));
    if (m_qorviPrg)
        m_qorviPrg->setCenter({w / 2, h / 2 + 30});
    if (m_label)
        m_label->setCenter({w / 2, h / 2 - 170});
    if (m_label1)
        m_label1->setCenter({w / 2, h - 100});
    if (m_ch2Button)
        m_ch2Button->setCenter({w / 2, h - 60});
    // The invisible store button follows its logo through every turn.
    if (m_ch1Button)
        m_ch1Button->setFrame(storeButtonFrame(w, h));
    if (m_flipsideNavigationBar)
        m_flipsideNavigationBar->setFrame(CGRectMake(0, 0, w, 44));
    if (m_infoButton)
        m_infoButton->setCenter(infoButtonCentre(w, h));
}

void RootViewController::loadFlipsideViewController()
{
    if (m_largeur == 0.0f)
        detectOrientation();
    const float w = m_largeur, h = m_hauteur;

    auto controller = std::make_shared<FlipsideViewController>();
    const auto& page = controller->view(); // loads it: the flipside colour, replaced at once
    page->setFrame(CGRectMake(0, 0, w, h));
    page->setBackgroundColor(UIColor::blackColor());
    m_flipsideViewController = controller;

    m_qorviPrg = std::make_shared<UIImageView>(UIImage::imageNamed("qorvilan.png"));
    m_qorviPrg->setCenter({w / 2, h / 2 + 30});
    page->addSubview(m_qorviPrg);

    m_label = pageLabel(CGRectMake(20, 70, 280, 40), "a New Ipod/Iphone/Ipad application");
    m_label->setCenter({w / 2, h / 2 - 170});
    page->addSubview(m_label);

    m_label1 = pageLabel(CGRectMake(20, h - 100, 280, 40), "Please visit our web site :");
    m_label1->setCenter({w / 2, h - 100});
    page->addSubview(m_label1);

    m_ch2Button = UIButton::buttonWithType(UIButtonTypeRoundedRect);
    m_ch2Button->setFrame(CGRectMake(w / 2 - 120, h - 60, 240, 57));
    m_ch2Button->setCenter({w / 2, h - 60});
    m_ch2Button->setBackgroundColor(UIColor::clearColor());
    m_ch2Button->setBackgroundImage(UIImage::imageNamed("DevoRod1.png"), UIControlStateNormal);
    m_ch2Button->setContentHorizontalAlignment(UIControlContentHorizontalAlignmentLeft);
    m_ch2Button->setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    m_ch2Button->setTitle(m_links ? webSiteButtonTitle(*m_links) : std::string(6, ' '), UIControlStateNormal);
    m_ch2Button->addTarget([this] { choice2(); }, UIControlEventTouchUpInside);
    page->addSubview(m_ch2Button);

    m_ch1Button = UIButton::buttonWithType(UIButtonTypeCustom);
    m_ch1Button->setFrame(storeButtonFrame(w, h));
    m_ch1Button->setBackgroundColor(UIColor::clearColor());
    m_ch1Button->addTarget([this] { choiceApp(); }, UIControlEventTouchUpInside);
    // It draws nothing, so its place in the order only decides taps: beneath the web-site button,
    // a tap on the visible button opens the site even where the invisible one reaches over it.
    page->insertSubviewBelowSubview(m_ch1Button, m_ch2Button.get());

    m_flipsideNavigationBar = std::make_shared<UINavigationBar>(CGRectMake(0, 0, w, 44));
    m_flipsideNavigationBar->setBarStyle(UIBarStyleBlack);
    auto done = std::make_shared<UIBarButtonItem>(UIBarButtonSystemItemDone, [this] { toggleView(); });
    auto item = std::make_shared<UINavigationItem>("Dazed");
    item->setRightBarButtonItem(done);
    m_flipsideNavigationBar->pushNavigationItem(item, false);
}

bool RootViewController::isShowingSky() const
{
    return m_mainViewController && m_mainViewController->isViewLoaded() &&
           m_mainViewController->view()->superview() != nullptr;
}

void RootViewController::toggleView()
{
    if (!m_flipsideViewController)
        loadFlipsideViewController();
    if (!m_mainViewController)
        return;
    // Held for the whole flip: a button's action may end in its own removal.
    const auto skyView = m_mainViewController->view();
    const auto pageView = m_flipsideViewController->view();
    const auto root = view();

    UIView::beginAnimations(nullptr, nullptr);
    UIView::setAnimationDuration(1.0);
    const bool skyShowing = skyView->superview() != nullptr;
    UIView::setAnimationTransition(skyShowing ? UIViewAnimationTransitionFlipFromRight
                                              : UIViewAnimationTransitionFlipFromLeft,
                                   root.get(), true);
    if (skyShowing) {
        m_flipsideViewController->viewWillAppear(true);
        m_mainViewController->viewWillDisappear(true);
        skyView->removeFromSuperview();
        if (m_infoButton)
            m_infoButton->removeFromSuperview();
        root->addSubview(pageView);
        root->insertSubviewAboveSubview(m_flipsideNavigationBar, pageView.get());
        m_mainViewController->viewDidDisappear(true);
        m_flipsideViewController->viewDidAppear(true);
    } else {
        m_mainViewController->viewWillAppear(true);
        m_flipsideViewController->viewWillDisappear(true);
        pageView->removeFromSuperview();
        m_flipsideNavigationBar->removeFromSuperview();
        root->addSubview(skyView);
        if (m_infoButton) {
            m_infoButton->setCenter(infoButtonCentre(m_largeur, m_hauteur));
            root->insertSubviewAboveSubview(m_infoButton, skyView.get());
        }
        m_flipsideViewController->viewDidDisappear(true);
        m_mainViewController->viewDidAppear(true);
    }
    UIView::commitAnimations();
}

void RootViewController::openLink(const std::string& url)
{
    // Whether a browser took it is not looked at; the page stays as it is either way.
    UIApplication::sharedApplication().openURL(NSURL::URLWithString(url));
}

void RootViewController::choice2()
{
    openLink(m_links ? m_links->webSite : std::string());
}

void RootViewController::choiceApp()
{
    openLink(m_links ? m_links->storePage : std::string());
}

bool RootViewController::shouldAutorotateToInterfaceOrientation(int)
{
    UIDevice::currentDevice().beginGeneratingDeviceOrientationNotifications();
    NSNotificationCenter::defaultCenter().addObserver(
        this, [this](const NSNotification&) { detectOrientation(); },
        UIDeviceOrientationDidChangeNotification, nullptr);
    return true;
}

bool RootViewController::setOutlet(const std::string& name, const std::shared_ptr<UIView>& view)
{
    if (name != "infoButton")
        return false;
    m_infoButton = std::dynamic_pointer_cast<UIButton>(view);
    return true;
}

std::function<void()> RootViewController::actionNamed(const std::string& name)
{
    if (name == "toggleView")
        return [this] {
            toggleView();
        };
    return {};
}

bool RootViewController::keyDown(const UIKey& key)
{
    const bool plain = (key.modifierFlags & (UIKeyModifierControl | UIKeyModifierAlternate)) == 0;
    if (plain && key.code == UIKeyCode::Character && key.character == 'i') {
        if (!key.isRepeat)
            toggleView();
        return true;
    }
    if (plain && key.code == UIKeyCode::Escape && m_flipsideViewController && !isShowingSky()) {
        if (!key.isRepeat)
            toggleView();
        return true;
    }
    return UIViewController::keyDown(key);
}

bool RootViewController::scrollWheel(const UIScrollEvent& event)
{
    if (isShowingSky())
        return m_mainViewController->scrollWheel(event);
    return UIViewController::scrollWheel(event);
}

} // namespace dazed
