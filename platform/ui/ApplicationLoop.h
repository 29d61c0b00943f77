#pragma once

// The one main-thread event loop. It sleeps in the host's event wait, waking for events and, while
// a flip runs, for the next frame. After each batch of events it runs the display cycle: every
// marked view in the key window draws once, the screen is composited and presented. Turning the
// device is OrientationHandler's, composing the screen Compositor's, and the flip's frames
// FlipRenderer's.

#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Host.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/LaunchOptions.h"
#include "platform/ui/TouchDispatcher.h"
#include "platform/ui/UIDevice.h"

#include <functional>
#include <memory>
#include <string>
#include <variant>

namespace dazed {

class Compositor;
class OrientationHandler;
class PainterRecording;

class ApplicationLoop {
public:
    // Sets up the emulated device (main screen, orientation, application object) on `host`;
    // the destructor takes it all down again, so that loops can follow one another (tests).
    // `orientation` is how the device is held at start (a device orientation code).
    // With ScreenFit::Window the screen is the host's window's size (in points, clamped by
    // fittedScreenSize), starting from the family's and following the window as it is resized.
    ApplicationLoop(Host& host, DeviceFamily family,
                    UIDeviceOrientation orientation = UIDeviceOrientationPortrait,
                    ScreenFit fit = ScreenFit::Device);
    ~ApplicationLoop();
    ApplicationLoop(const ApplicationLoop&) = delete;
    ApplicationLoop& operator=(const ApplicationLoop&) = delete;

    // Loads the main interface description, creates its objects and finishes launching (the
    // delegate's callback, the first autorotation question, the first display). The error names
    // the file and what is wrong when it cannot be loaded; what loaded but could not be connected
    // is in interface().warnings.
    static Result<std::unique_ptr<ApplicationLoop>> launch(Host& host, const LaunchOptions& options,
                                                           const ClassRegistry& registry);

    // Waits for the next batch of events (or animation frame), handles it and displays. False once
    // the application should quit.
    bool step();
    // Steps until quit; the process's exit code.
    int run();
    // Handles one event. Touches, keys and the wheel are ignored while a view transition runs, and
    // a transition that starts cancels the touches still down.
    void handle(const HostEvent& event);
    // The display cycle.
    void display();

    // The emulated screen as currently turned, in points.
    [[nodiscard]] CGSize screenSize() const;
    [[nodiscard]] const LoadedInterface& interface() const { return m_interface; }
    [[nodiscard]] int presentedFrames() const { return m_presentedFrames; }
    void setQuitAt(double time) { m_quitAt = time; }
    // Told after each event has been handled, before the next one and before the display cycle
    // (tests check the application's state event by event through the real loop).
    void setEventObserver(std::function<void(const HostEvent&)> observer)
    {
        m_eventObserver = std::move(observer);
    }

    // Records how `view` and its subviews draw, the view's top left at the origin, whatever covers
    // it on screen (the flip's sides).
    [[nodiscard]] std::shared_ptr<const PainterRecording> capture(UIView& view);

private:
    void deliverScroll(const ScrollInput& scroll);

    Host& m_host;
    LoadedInterface m_interface;
    TouchDispatcher m_touches;
    // How the device is held and the screen's size that follows from it.
    std::unique_ptr<OrientationHandler> m_orientation;
    std::unique_ptr<Compositor> m_compositor;
    bool m_quit{false};
    bool m_wasAnimating{false};
    bool m_forceDisplay{true};
    double m_lastFrame{0};
    double m_quitAt{0};
    int m_presentedFrames{0};
    std::function<void(const HostEvent&)> m_eventObserver;
};

} // namespace dazed
