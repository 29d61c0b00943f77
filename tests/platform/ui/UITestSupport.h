#pragma once

// A running application on the headless host with a key window of the phone's screen, and touch
// helpers that speak in screen points.

#include "platform/ui/ApplicationLoop.h"
#include "platform/ui/HeadlessHost.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"
#include "tests/platform/graphics/ImageDifference.h"

#include <cstdint>
#include <memory>

namespace dazed::test {

struct HeadlessApp {
    HeadlessHost host;
    ApplicationLoop loop{host, DeviceFamily::Phone};
    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));

    HeadlessApp() { window->makeKeyAndVisible(); }

    // Injects one event and runs the loop once: the event is handled and the display cycle runs.
    void send(const HostEvent& event)
    {
        host.inject(event);
        loop.step();
    }
    void touch(std::int64_t id, UITouchPhase phase, CGPoint p) { send(TouchInput{{{id, phase, p}}, 0}); }
    void tap(CGPoint p, std::int64_t id = 1)
    {
        touch(id, UITouchPhase::Began, p);
        touch(id, UITouchPhase::Ended, p);
    }
};

} // namespace dazed::test
