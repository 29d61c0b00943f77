#pragma once

// How the emulated device is held and what the screen does about it: the controllers are asked
// whether they turn with the device, and when they accept, the screen, the window and the root
// views take the new portrait or landscape size. Private to the application loop.

#include "platform/graphics/Geometry.h"
#include "platform/ui/DeviceFamily.h"
#include "platform/ui/Host.h"
#include "platform/ui/UIDevice.h"

namespace dazed {

class TouchDispatcher;
class UIView;

// Whether a change of orientation gave the screen another size (it must then be drawn again).
enum class ScreenChange { Same, Resized };

class OrientationHandler {
public:
    // The device held as `orientation` at start; a face-up, face-down or unknown orientation lays
    // the screen out upright.
    OrientationHandler(Host& host, TouchDispatcher& touches, DeviceFamily family,
                       UIDeviceOrientation orientation);

    // The emulated screen as currently turned, in points.
    [[nodiscard]] CGSize screenSize() const { return m_screenSize; }
    // The last portrait or landscape orientation, which decides the layout.
    [[nodiscard]] UIDeviceOrientation uprightOrientation() const { return m_uprightOrientation; }

    // The device now reports `orientation`. A portrait or landscape one is offered to the key
    // window's controllers first; the screen turns (fingers on it are cancelled) only when they
    // accept. The device's orientation is set and posted either way.
    ScreenChange setDeviceOrientation(UIDeviceOrientation orientation);
    // A quarter turn of the device from how it is held, or from the layout's orientation while it
    // lies flat.
    ScreenChange rotate(RotationDirection direction);

private:
    Host& m_host;
    TouchDispatcher& m_touches;
    DeviceFamily m_family;
    UIDeviceOrientation m_uprightOrientation{UIDeviceOrientationPortrait};
    CGSize m_screenSize;
};

// The views of the window's root controllers fill the window, as it turns too.
void fitRootViewsToWindow(UIView& window);

// Asks every controller in the tree about the device orientation code; true when the controllers
// of the window's own subviews, which decide how the screen is laid out, all accept it.
bool askControllersToAutorotate(UIView& window, int deviceOrientation);

} // namespace dazed
