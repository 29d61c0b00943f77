#include "app/RootViewController.h"

#include "app/AutoPlace.h"
#include "app/FindNameView.h"
#include "app/FlipsideView.h"
#include "app/FlipsideViewController.h"
#include "app/SkyMenu.h"
#include "catalog/NameLookup.h"
#include "navigation/MainViewController.h"
#include "navigation/ScreenLayout.h"
#include "platform/ui/BackgroundWork.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/NSURL.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIMenuView.h"
#include "platform/ui/UINavigationBar.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewAnimation.h"
#include "sky/UtcTime.h"

#include <chrono>
#include <string>
#include <system_error>

namespace dazed {

namespace {

// What the menu says while the system is asked where the device is.
constexpr const char* kAskingNote = "Asking the system where this is\xE2\x80\xA6";

// The info button: 50 x 50, centred 30 points in from the right and 50 up from the bottom.
constexpr float kInfoButtonSide = 50.0f;

CGPoint infoButtonCentre(float w, float h)
{
    return {w - 30, h - 50};
}

} // namespace

RootViewController::RootViewController() = default;

RootViewController::~RootViewController()
{
    NSNotificationCenter::defaultCenter().removeObserver(this);
}

void RootViewController::setInitialCentre(float rightAscension, float declination)
{
    m_initialCentre = std::make_pair(rightAscension, declination);
}

void RootViewController::setNightMode(bool on)
{
    const bool changed = on != m_nightMode;
    m_nightMode = on;
    UIApplication::sharedApplication().setScreenTint(on ? ScreenTint::Night : ScreenTint::Day);
    if (changed && m_nightModeObserver)
        m_nightModeObserver(on);
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
    m_mainViewController->setSkyLayerObserver(m_skyLayerObserver);
    detectOrientation();
    if (m_infoButton) {
        m_infoButton->setFrame(CGRectMake(m_largeur - 60, m_hauteur - 80, kInfoButtonSide, kInfoButtonSide));
        m_infoButton->setCenter(infoButtonCentre(m_largeur, m_hauteur));
    }
    view()->insertSubviewBelowSubview(m_mainViewController->view(), m_infoButton.get());
    m_mainViewController->setHoldAction([this](CGPoint p) { showMenu(p); });
    detectOrientation();
}

void RootViewController::showMenu(CGPoint screenPoint)
{
    if (!isShowingSky() || UIViewAnimation::shared().isAnimating() || (m_find && m_find->isOpen()))
        return;
    if (m_menu && m_menu->isOpen())
        return;
    SkyMenuHooks hooks;
    hooks.sendKey = [this](const UIKey& key) {
        UIApplication::sharedApplication().sendKey(key);
        // Tonight here with no place sent the question out: the menu comes back to say so, and
        // then says what came of it (or at once why it could not be asked).
        if (key.character == 't' && (isAskingForPlace() || !m_placeNote.empty()))
            showMenu(m_menuAnchor);
    };
    hooks.nightMode = [this] {
        return m_nightMode;
    };
    hooks.layerShown = [this] {
        return m_mainViewController && m_mainViewController->skyLayer().shown;
    };
    hooks.placeKnown = [this] {
        return m_mainViewController && m_mainViewController->skyLayer().place.has_value();
    };
    // Made afresh each time: the items read the marks as they are now.
    m_menu = std::make_shared<UIMenuView>(skyMenuItems(hooks));
    m_menu->setNote([this] { return m_placeNote; });
    m_menuAnchor = screenPoint;
    const auto root = view();
    m_menu->showInView(root, root->convertPointFromScreen(screenPoint));
}

bool RootViewController::isAskingForPlace() const
{
    return m_placeAsk != nullptr;
}

void RootViewController::askForPlace()
{
    if (!m_placeQuestion || m_placeAsk)
        return;
    try {
        m_placeAsk = BackgroundWork::start<Result<SystemLocation>>(
            m_placeQuestion, [this](Result<SystemLocation> answer) { placeAnswered(answer); });
        m_placeNote = kAskingNote;
    } catch (const std::system_error& error) {
        // No thread to spare (the process's limit): said like any other failure to ask.
        placeAnswered(failure(std::string("could not ask the system: ") + error.what()));
    }
}

void RootViewController::placeAnswered(const Result<SystemLocation>& answer)
{
    m_placeAsk.reset();
    // Nothing to fall back on: a remembered place would have been known already.
    const AutoPlace found = chooseAutoPlace(answer, std::nullopt);
    if (found.place && m_mainViewController) {
        m_placeNote.clear();
        m_mainViewController->showSkyAt(*found.place,
                                        systemUtcOffsetMinutes(std::chrono::system_clock::now()));
        if (m_menu)
            m_menu->dismiss();
        return;
    }
    // The menu has two short lines: the reason alone. The line for the terminal says it all.
    m_placeNote = "No place: " + found.why;
    UIApplication::sharedApplication().report(failure("Tonight here: " + found.note));
    if (m_menu && m_menu->isOpen())
        m_menu->setNeedsDisplay();
}

void RootViewController::showFind()
{
    if (!isShowingSky() || UIViewAnimation::shared().isAnimating())
        return;
    if (m_menu)
        m_menu->dismiss();
    if (!m_find) {
        m_find = std::make_shared<FindNameView>(CGRectMake(0, 0, m_largeur, m_hauteur));
        m_find->onChoose = [this](const std::string& name) {
            // The list only offers names the lookup knows; the lookup's own rules decide the place.
            const auto found = findNamedPlace(name);
            if (const auto* place = std::get_if<NamedPlace>(&found); place && m_mainViewController)
                m_mainViewController->centreOn(static_cast<float>(place->position.rightAscensionHours),
                                               static_cast<float>(place->position.declinationDegrees));
        };
    }
    if (!m_find->isOpen())
        m_find->showInView(view());
}

void RootViewController::detectOrientation()
{
    const CGSize portrait = portraitLayoutSize(UIScreen::mainScreen());
    const auto size = layoutSizeFor(UIScreen::mainScreen(), UIDevice::currentDevice().orientation());
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
    if (m_flipsideViewController)
        m_flipsideViewController->layOut({m_largeur, m_hauteur});
    if (m_infoButton)
        m_infoButton->setCenter(infoButtonCentre(m_largeur, m_hauteur));
    // The menu and the list follow the screen: the menu keeps its panel on it, the list fills it.
    if (m_menu && m_menu->isOpen())
        m_menu->setFrame(CGRectMake(0, 0, m_largeur, m_hauteur));
    if (m_find && m_find->isOpen())
        m_find->layOut({m_largeur, m_hauteur});
}

void RootViewController::loadFlipsideViewController()
{
    if (m_largeur == 0.0f)
        detectOrientation();
    auto controller = std::make_shared<FlipsideViewController>();
    controller->buildPage({m_largeur, m_hauteur},
                          m_links ? webSiteButtonTitle(*m_links) : std::string(6, ' '),
                          {[this] { choice2(); }, [this] { choiceApp(); },
                           [this] {
                               toggleView();
                           }});
    m_flipsideViewController = controller;
}

std::shared_ptr<UINavigationBar> RootViewController::flipsideNavigationBar() const
{
    return m_flipsideViewController ? m_flipsideViewController->navigationBar() : nullptr;
}

std::shared_ptr<FlipsideView> RootViewController::flipsideView() const
{
    return m_flipsideViewController ? m_flipsideViewController->flipsideView() : nullptr;
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
    const auto bar = m_flipsideViewController->navigationBar();
    const auto root = view();

    UIView::beginAnimations(nullptr, nullptr);
    UIView::setAnimationDuration(1.0);
    const bool skyShowing = skyView->superview() != nullptr;
    UIView::setAnimationTransition(skyShowing ? UIViewAnimationTransitionFlipFromRight
                                              : UIViewAnimationTransitionFlipFromLeft,
                                   root.get(), true);
    if (skyShowing) {
        // What lies over the sky goes with it (a press on the info button begun before the menu
        // opened can end in this turn): it turns away in the old side, and is not left beneath
        // the page.
        if (m_menu)
            m_menu->dismiss();
        if (m_find)
            m_find->close();
        m_flipsideViewController->viewWillAppear(true);
        m_mainViewController->viewWillDisappear(true);
        skyView->removeFromSuperview();
        if (m_infoButton)
            m_infoButton->removeFromSuperview();
        root->addSubview(pageView);
        root->insertSubviewAboveSubview(bar, pageView.get());
        m_mainViewController->viewDidDisappear(true);
        m_flipsideViewController->viewDidAppear(true);
    } else {
        m_mainViewController->viewWillAppear(true);
        m_flipsideViewController->viewWillDisappear(true);
        pageView->removeFromSuperview();
        bar->removeFromSuperview();
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
    observeDeviceOrientation([this] { detectOrientation(); });
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
    if (plain && key.code == UIKeyCode::Character && key.character == 'r') {
        if (!key.isRepeat)
            setNightMode(!m_nightMode);
        return true;
    }
    // T reaches here only when the sky screen knows no place.
    if (plain && key.code == UIKeyCode::Character && key.character == 't' && isShowingSky()) {
        if (!key.isRepeat)
            askForPlace();
        return true;
    }
    if (plain && key.code == UIKeyCode::Character && key.character == '/' && isShowingSky()) {
        if (!key.isRepeat)
            showFind();
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
