#pragma once

#include "platform/Result.h"
#include "platform/ui/DeviceFamily.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/UIDevice.h"

#include <string>
#include <variant>

namespace dazed {

struct LaunchOptions {
    DeviceFamily family{DeviceFamily::Phone};
    // The family's screen, or the window's own size (--device fit: the phone's interface, laid
    // out for whatever size the window has).
    ScreenFit fit{ScreenFit::Device};
    // The main interface description; empty for the device family's file in the resource folder.
    std::string interfacePath;
    // How the device is held at start: portrait or landscape (left).
    UIDeviceOrientation orientation{UIDeviceOrientationPortrait};
    // Seconds before the application quits by itself; 0 runs until the window is closed.
    double quitAfter{0};
    // Quit as soon as the first frame is on screen, after saying how long it took and how much
    // memory the process used (for measuring start-up).
    bool exitAfterFirstFrame{false};
};

// Picks the framework's options out of the argument vector and leaves every other argument alone:
// --device phone|tablet|fit, --orientation portrait|landscape, --interface FILE, --quit-after SECONDS
// (also in the --name=value form), and the flag --exit-after-first-frame.
// A bad value gives a one-line message.
Result<LaunchOptions> parseLaunchOptions(int argc, const char* const* argv);

// resources/MainWindow_Phone.json or resources/MainWindow_Pad.json.
std::string defaultInterfacePath(DeviceFamily family);

} // namespace dazed
