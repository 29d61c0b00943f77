#pragma once

// The sky screen's controller. It builds the sky view (QuartzView) inside a plain container view,
// starts the chart at 17 h, +31 degrees and zoom 1, keeps both views the size of the screen as the
// device turns, and turns the touches that reach it into commands for the sky view: one finger
// drags the centre, two pinch the zoom, a double tap advances the label mode. On a desktop, the
// keyboard and the scroll wheel steer through the same rules.
//
// Neither view handles touches: they pass up the responder chain to this controller.
//
// A finger held still on the sky (see UILongPressGestureRecognizer) calls the hold action, when one
// is set; from then until the fingers lift, the gesture moves nothing and advances nothing.

#include "navigation/NavigationState.h"
#include "navigation/SkyLayerState.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIViewController.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace dazed {

class QuartzView;

class MainViewController : public UIViewController {
public:
    // Finger travel, in points, of one arrow-key press; a short drag.
    static constexpr float kArrowKeyTravel = 24.0f;
    // Zoom factor of one press of + or -, or one notch of the scroll wheel.
    static constexpr double kZoomStep = 1.1;

    // The interface name is kept but never loaded: the views are built in code.
    explicit MainViewController(std::string nibName = {});
    ~MainViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    // Sets largeur and hauteur for the device's orientation and, once the views exist, lays them
    // out again and sends the new size to the sky view.
    void detectOrientation();
    // Accepts every orientation, and subscribes detectOrientation to orientation changes.
    bool shouldAutorotateToInterfaceOrientation(int interfaceOrientation) override;

    void touchesBegan(const UITouchSet& touches, const UIEvent& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEvent& event) override;
    void touchesEnded(const UITouchSet& touches, const UIEvent& event) override;
    void touchesCancelled(const UITouchSet& touches, const UIEvent& event) override;

    // What a hold on the sky does (the window's menu), told where the finger went down in screen
    // points. Without one, holds are not recognised at all and a held finger is an ordinary touch.
    void setHoldAction(std::function<void(CGPoint)> action);
    [[nodiscard]] const UILongPressGestureRecognizer& holdRecognizer() const { return m_hold; }

    // Centres the view on a J2000 position (hours, degrees), keeping the zoom, as --at does at start.
    void centreOn(float rightAscension, float declination);

    // Arrows look left, right, up and down; + and - zoom; L advances the label mode. With a place:
    // T shows or hides its sky, N follows the clock again, [ and ] step an hour, { and } a day,
    // H centres on its zenith.
    bool keyDown(const UIKey& key) override;
    // Each notch away from the user zooms in by kZoomStep, towards the user zooms out.
    bool scrollWheel(const UIScrollEvent& event) override;

    void clearTouches();
    [[nodiscard]] static float distanceBetweenTwoPoints(CGPoint from, CGPoint to);

    [[nodiscard]] const NavigationState& navigation() const { return m_navigation; }
    [[nodiscard]] const std::shared_ptr<QuartzView>& quartzView() const { return m_quartzView; }

    // Sets the start of the chart before the view loads (the command line's choice of centre); the
    // default is 17 h, +31 degrees.
    void setInitialCentre(float rightAscension, float declination);

    // The sky layer to start with (the command line's --place and --time), before the view loads.
    void setSkyLayer(const SkyLayerState& state) { m_sky = state; }
    [[nodiscard]] const SkyLayerState& skyLayer() const { return m_sky; }
    // Hears the layer each time a key shows or hides it, so that the app can remember it.
    void setSkyLayerObserver(std::function<void(const SkyLayerState&)> observer)
    {
        m_skyLayerObserver = std::move(observer);
    }
    // Where the layer reads the time when it follows the clock (tests give a fixed clock).
    void setClock(std::function<std::chrono::system_clock::time_point()> clock)
    {
        m_clock = std::move(clock);
    }
    // A place found while the window runs (the system's, asked for when T had none): its sky,
    // shown and following the clock, `utcOffsetMinutes` east of UTC in the readout. The observer
    // hears of it, as of T.
    void showSkyAt(const GeographicPlace& place, int utcOffsetMinutes);
    // Works the place's sky out again at the layer's moment and sends it (or sends none when the
    // layer is hidden); following the clock, asks to be woken on the next minute to do it again.
    void refreshSky();

protected:
    // Every command for the sky view goes through here.
    virtual void send(const SkyViewCommand& command);

private:
    // The navigation values of a touch event: its complete touch set, in the container's points.
    [[nodiscard]] TouchSample sampleOf(const UIEvent& event);
    // Publishes the centre to the process-wide centre and sends it with the size.
    void moveTo(const WritexsCommand& centre);

    // The sky layer's keys; false for a key that is not one of them, or without a place.
    bool skyKey(const UIKey& key);
    // Centres the view on the place's zenith at the layer's moment.
    void centreOnZenith();

    NavigationState m_navigation;
    SkyLayerState m_sky;
    std::function<void(const SkyLayerState&)> m_skyLayerObserver;
    std::function<void(CGPoint)> m_holdAction;
    UILongPressGestureRecognizer m_hold{[this](CGPoint p) {
        if (m_holdAction)
            m_holdAction(p);
    }};
    std::function<std::chrono::system_clock::time_point()> m_clock{[] {
        return std::chrono::system_clock::now();
    }};
    std::shared_ptr<QuartzView> m_quartzView;
    float m_startRightAscension{17.0f};
    float m_startDeclination{31.0f};
};

} // namespace dazed
