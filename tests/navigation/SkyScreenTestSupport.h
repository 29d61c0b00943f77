#pragma once

// A sky-screen controller whose commands to the sky view are recorded as they are sent, and a
// device (main screen, orientation) set up by hand for tests that run without an event loop.

#include "navigation/MainViewController.h"
#include "platform/ui/NSNotificationCenter.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIScreen.h"

#include <ostream>
#include <vector>

namespace dazed {

inline std::ostream& operator<<(std::ostream& os, const SkyViewCommand& command)
{
    if (const auto* c = std::get_if<WritexsCommand>(&command))
        return os << "writexs(" << c->rightAscension << ", " << c->declination << ", " << c->width << ", "
                  << c->height << ")";
    if (const auto* z = std::get_if<SetEchCommand>(&command))
        return os << "setEch(" << z->zoom << ")";
    if (const auto* sky = std::get_if<SetSkyCommand>(&command))
        return os << (sky->sky ? "setSkySnapshot(a sky)" : "setSkySnapshot(none)");
    return os << "writeStarNames()";
}

namespace test {

class RecordingMainViewController : public MainViewController {
public:
    using MainViewController::MainViewController;
    std::vector<SkyViewCommand> commands;

protected:
    void send(const SkyViewCommand& command) override
    {
        commands.push_back(command);
        MainViewController::send(command);
    }
};

// A main screen of the given portrait size and a device that reports `orientation` (its sensor on).
struct DeviceSetUp {
    explicit DeviceSetUp(CGSize portrait, int orientation = UIDeviceOrientationPortrait)
    {
        UIScreen::setMainScreenSize(portrait);
        UIDevice::currentDevice().reset();
        turn(orientation);
    }
    ~DeviceSetUp()
    {
        NSNotificationCenter::defaultCenter().removeAllObservers();
        UIDevice::currentDevice().reset();
        UIScreen::setMainScreen(std::nullopt);
    }
    DeviceSetUp(const DeviceSetUp&) = delete;
    DeviceSetUp& operator=(const DeviceSetUp&) = delete;

    static void startSensor() { UIDevice::currentDevice().beginGeneratingDeviceOrientationNotifications(); }
    // Tests speak in the device's codes, 0 to 6.
    static void turn(int code)
    {
        UIDevice::currentDevice().setOrientation(*UIDeviceOrientationFromCode(code));
    }
};

} // namespace test
} // namespace dazed
