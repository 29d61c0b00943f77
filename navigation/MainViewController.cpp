#include "navigation/MainViewController.h"

#include "navigation/ScreenLayout.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIScreen.h"
#include "render/QuartzView.h"
#include "render/SkyCentre.h"
#include "sky/SolarSystem.h"

#include <cmath>

namespace dazed {

MainViewController::MainViewController(std::string nibName)
    : UIViewController(std::move(nibName))
{
    m_hold.setEnabled(false);
}

void MainViewController::setHoldAction(std::function<void(CGPoint)> action)
{
    m_holdAction = std::move(action);
    m_hold.setEnabled(m_holdAction != nullptr);
}

void MainViewController::centreOn(float rightAscension, float declination)
{
    if (!std::isfinite(rightAscension) || !std::isfinite(declination))
        return;
    m_navigation.xs = rightAscension;
    m_navigation.ys = declination;
    moveTo(WritexsCommand{m_navigation.xs, m_navigation.ys, m_navigation.largeur, m_navigation.hauteur});
}

MainViewController::~MainViewController()
{
    // The subscription names this controller; it must not outlive it, nor must the minute's
    // wake-up, which calls it.
    NSNotificationCenter::defaultCenter().removeObserver(this);
    if (m_sky.shown)
        UIApplication::sharedApplication().cancelWakeUp();
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
    // Without a place nothing more is sent, and no wake-up is asked for.
    if (m_sky.shown)
        refreshSky();
}

void MainViewController::refreshSky()
{
    UIApplication& application = UIApplication::sharedApplication();
    if (!m_sky.shown || !m_sky.place) {
        application.cancelWakeUp();
        send(SetSkyCommand{});
        return;
    }
    const auto now = m_clock();
    send(SetSkyCommand{computeSkySnapshot(*m_sky.place, layerMoment(m_sky, now), m_sky.utcOffsetMinutes)});
    if (m_sky.fixedTime) {
        application.cancelWakeUp();
        return;
    }
    const double seconds = std::chrono::duration<double>(untilNextMinute(now)).count();
    application.scheduleWakeUp(seconds, [this] { refreshSky(); });
}

void MainViewController::showSkyAt(const GeographicPlace& place, int utcOffsetMinutes)
{
    m_sky = SkyLayerState{place, std::nullopt, utcOffsetMinutes, true};
    refreshSky();
    if (m_skyLayerObserver)
        m_skyLayerObserver(m_sky);
}

void MainViewController::centreOnZenith()
{
    if (!m_sky.place)
        return;
    const auto zenith = zenithJ2000(*m_sky.place, layerMoment(m_sky, m_clock()));
    if (!zenith)
        return;
    m_navigation.xs = static_cast<float>(zenith->rightAscensionHours);
    m_navigation.ys = static_cast<float>(zenith->declinationDegrees);
    moveTo(WritexsCommand{m_navigation.xs, m_navigation.ys, m_navigation.largeur, m_navigation.hauteur});
}

void MainViewController::detectOrientation()
{
    const CGSize portrait = portraitLayoutSize(UIScreen::mainScreen());
    const auto size = layoutSizeFor(UIScreen::mainScreen(), UIDevice::currentDevice().orientation());
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
    // A finger added to a recognised hold starts nothing: the hold's gesture is spent.
    if (m_hold.hasRecognized())
        return;
    m_hold.touchesBegan(event);
    touchDown(m_navigation, sampleOf(event));
}

void MainViewController::touchesMoved(const UITouchSet&, const UIEvent& event)
{
    if (m_hold.hasRecognized())
        return;
    m_hold.touchesMoved(event);
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
    if (m_hold.hasRecognized()) {
        // The hold's own lift advances no label mode; the pinch ends as after any touch-up.
        m_hold.touchesEnded(event);
        dazed::clearTouches(m_navigation);
        return;
    }
    m_hold.touchesEnded(event);
    if (const auto command = touchUp(m_navigation, sampleOf(event)))
        send(*command);
}

void MainViewController::touchesCancelled(const UITouchSet& touches, const UIEvent& event)
{
    m_hold.touchesCancelled(event);
    UIViewController::touchesCancelled(touches, event);
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
        if (skyKey(key))
            return true;
        break;
    default:
        break;
    }
    return UIViewController::keyDown(key);
}

bool MainViewController::skyKey(const UIKey& key)
{
    // The sky layer's keys do something only with a place; without one they are not handled.
    if (!m_sky.place)
        return false;
    using std::chrono::hours;
    const auto step = [this](hours by) {
        if (stepLayerTime(m_sky, by, m_clock()) && m_sky.shown)
            refreshSky();
    };
    switch (key.character) {
    case 't':
        if (!key.isRepeat && toggleLayer(m_sky)) {
            refreshSky();
            if (m_skyLayerObserver)
                m_skyLayerObserver(m_sky);
        }
        return true;
    case 'n':
        if (followClock(m_sky) && m_sky.shown)
            refreshSky();
        return true;
    case '[':
        step(hours{-1});
        return true;
    case ']':
        step(hours{1});
        return true;
    case '{':
        step(hours{-24});
        return true;
    case '}':
        step(hours{24});
        return true;
    case 'h':
        centreOnZenith();
        return true;
    default:
        return false;
    }
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
    else if (const auto* sky = std::get_if<SetSkyCommand>(&command))
        m_quartzView->setSkySnapshot(sky->sky);
    else
        m_quartzView->writeStarNames();
}

} // namespace dazed
