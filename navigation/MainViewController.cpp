#include "navigation/MainViewController.h"

#include "navigation/ScreenLayout.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIScreen.h"
#include "render/QuartzView.h"
#include "render/SkyCentre.h"

#include <cmath>

namespace dazed {

MainViewController::MainViewController(std::string nibName)
    : UIViewController(std::move(nibName))
{
}

MainViewController::~MainViewController()
{
    // The subscription names this controller; it must not outlive it.
    NSNotificationCenter::defaultCenter().removeObserver(this);
}

void MainViewController::setInitialCentre(float rightAscension, float declination)
{
    m_startRightAscension = rightAscension;
    m_startDeclination = declination;
}

void MainViewController::loadView()
{
    // No view exists yet, so this only records the size.
    detectOrientation();
    const CGRect frame = CGRectMake(0, 0, m_navigation.largeur, m_navigation.hauteur);
    m_quartzView = std::make_shared<QuartzView>(frame);
    m_quartzView->setOpaque(true);
    xs1 = m_startRightAscension;
    ys1 = m_startDeclination;
    send(WritexsCommand{m_startRightAscension, m_startDeclination, m_navigation.largeur,
                        m_navigation.hauteur});
    auto container = std::make_shared<UIView>(frame);
    setView(container);
    container->addSubview(m_quartzView);
    container->setOpaque(true);
    m_navigation.xs = m_startRightAscension;
    m_navigation.ys = m_startDeclination;
}

void MainViewController::viewDidLoad()
{
    UIViewController::viewDidLoad();
    xs1 = m_navigation.xs;
    ys1 = m_navigation.ys;
    m_navigation.echelle = 1.0;
    send(SetEchCommand{1.0});
    send(WritexsCommand{m_navigation.xs, m_navigation.ys, m_navigation.largeur, m_navigation.hauteur});
    // Key presses come here first while the sky is on screen.
    becomeFirstResponder();
}

void MainViewController::detectOrientation()
{
    const CGSize portrait = portraitLayoutSize(UIScreen::mainScreen());
    const auto size = layoutSizeForOrientation(portrait, UIDevice::currentDevice().orientation());
    if (!size) {
        // Lying flat, or not knowing yet, never changes a known layout; the very first detection
        // takes the portrait size.
        if (m_navigation.largeur == 0.0f) {
            m_navigation.largeur = portrait.width;
            m_navigation.hauteur = portrait.height;
        }
        return;
    }
    m_navigation.largeur = size->width;
    m_navigation.hauteur = size->height;
    if (!m_quartzView)
        return; // during loadView: the views are built with this size
    send(WritexsCommand{m_navigation.xs, m_navigation.ys, m_navigation.largeur, m_navigation.hauteur});
    const CGRect frame = CGRectMake(0, 0, m_navigation.largeur, m_navigation.hauteur);
    m_quartzView->setFrame(frame);
    if (isViewLoaded())
        view()->setFrame(frame);
}

bool MainViewController::shouldAutorotateToInterfaceOrientation(int)
{
    observeDeviceOrientation([this] { detectOrientation(); });
    return true;
}

TouchSample MainViewController::sampleOf(const UIEvent& event)
{
    const UITouchSet& all = event.allTouches();
    const UIView* container = isViewLoaded() ? view().get() : nullptr;
    TouchSample sample;
    sample.count = all.count();
    if (const UITouch* first = all.objectAtIndex(0)) {
        sample.first = first->locationInView(container);
        sample.tapCount = first->tapCount();
    }
    if (const UITouch* second = all.objectAtIndex(1))
        sample.second = second->locationInView(container);
    return sample;
}

void MainViewController::touchesBegan(const UITouchSet&, const UIEvent& event)
{
    touchDown(m_navigation, sampleOf(event));
}

void MainViewController::touchesMoved(const UITouchSet&, const UIEvent& event)
{
    const auto command = touchMove(m_navigation, sampleOf(event));
    if (!command)
        return;
    if (const auto* centre = std::get_if<WritexsCommand>(&*command))
        moveTo(*centre);
    else
        send(*command);
}

void MainViewController::touchesEnded(const UITouchSet&, const UIEvent& event)
{
    if (const auto command = touchUp(m_navigation, sampleOf(event)))
        send(*command);
}

void MainViewController::moveTo(const WritexsCommand& centre)
{
    xs1 = centre.rightAscension;
    ys1 = centre.declination;
    send(centre);
}

bool MainViewController::keyDown(const UIKey& key)
{
    // Keys with Ctrl or Alt belong to the window (turning, quitting).
    if (key.modifierFlags & (UIKeyModifierControl | UIKeyModifierAlternate))
        return UIViewController::keyDown(key);
    // An arrow moves the view the way a look in that direction would: the stars move the other way,
    // as under a finger dragged towards the opposite side.
    const float t = kArrowKeyTravel;
    switch (key.code) {
    case UIKeyCode::LeftArrow:
        moveTo(panBy(m_navigation, {t, 0}));
        return true;
    case UIKeyCode::RightArrow:
        moveTo(panBy(m_navigation, {-t, 0}));
        return true;
    case UIKeyCode::UpArrow:
        moveTo(panBy(m_navigation, {0, t}));
        return true;
    case UIKeyCode::DownArrow:
        moveTo(panBy(m_navigation, {0, -t}));
        return true;
    case UIKeyCode::Character:
        if (key.character == '+' || key.character == '-') {
            send(zoomBy(m_navigation, key.character == '+' ? kZoomStep : 1.0 / kZoomStep));
            return true;
        }
        if (key.character == 'l') {
            // Holding the key down does not spin through the modes.
            if (!key.isRepeat)
                send(WriteStarNamesCommand{});
            return true;
        }
        break;
    default:
        break;
    }
    return UIViewController::keyDown(key);
}

bool MainViewController::scrollWheel(const UIScrollEvent& event)
{
    send(zoomBy(m_navigation, std::pow(kZoomStep, static_cast<double>(event.dy))));
    return true;
}

void MainViewController::clearTouches()
{
    dazed::clearTouches(m_navigation);
}

float MainViewController::distanceBetweenTwoPoints(CGPoint from, CGPoint to)
{
    return dazed::distanceBetweenTwoPoints(from, to);
}

void MainViewController::send(const SkyViewCommand& command)
{
    if (!m_quartzView)
        return;
    if (const auto* centre = std::get_if<WritexsCommand>(&command))
        m_quartzView->writexs(centre->rightAscension, centre->declination, centre->width, centre->height);
    else if (const auto* zoom = std::get_if<SetEchCommand>(&command))
        m_quartzView->setEch(zoom->zoom);
    else
        m_quartzView->writeStarNames();
}

} // namespace dazed
