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
    // With ScreenFit::Window the screen starts at the family's size and takes the window's from
    // fitWindow on; a turn swaps its sides.
    OrientationHandler(Host& host, TouchDispatcher& touches, DeviceFamily family,
                       UIDeviceOrientation orientation, ScreenFit fit = ScreenFit::Device);

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
    // The window showing a screen that fits it is now `windowPoints` in size: the screen takes
    // that size (clamped, fittedScreenSize), fingers on it are cancelled, the window and the
    // root views are resized and the change is posted as a turn is
    // (UIDeviceOrientationDidChangeNotification), so that whatever lays itself out on a turn lays
    // itself out again. Nothing for a device's own screen, or a size that changes nothing.
    ScreenChange fitWindow(CGSize windowPoints);
    [[nodiscard]] ScreenFit fit() const { return m_fit; }

private:
    // The screen takes `size`, and the window and its root views with it.
    void resizeScreen(CGSize size);

    Host& m_host;
    TouchDispatcher& m_touches;
    DeviceFamily m_family;
    ScreenFit m_fit;
    UIDeviceOrientation m_uprightOrientation{UIDeviceOrientationPortrait};
    CGSize m_screenSize;
};

// The views of the window's root controllers fill the window, as it turns too.
void fitRootViewsToWindow(UIView& window);

// Asks every controller in the tree about the device orientation code; true when the controllers
// of the window's own subviews, which decide how the screen is laid out, all accept it.
bool askControllersToAutorotate(UIView& window, int deviceOrientation);

} // namespace dazed
