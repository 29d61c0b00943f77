#pragma once

// A running application on the headless host with a key window of the phone's screen, and touch
// helpers that speak in screen points.

#include "platform/graphics/Image.h"
#include "platform/ui/ApplicationLoop.h"
#include "platform/ui/HeadlessHost.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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

// The largest difference of any channel of any pixel between two images of one size.
inline int worstChannelDifference(const Image& a, const Image& b)
{
    int worst = 0;
    for (int y = 0; y < a.pixelHeight(); ++y)
        for (int x = 0; x < a.pixelWidth(); ++x)
            for (int shift = 0; shift < 32; shift += 8)
                worst = std::max(worst, std::abs(static_cast<int>((a.pixelAt(x, y) >> shift) & 0xFF) -
                                                 static_cast<int>((b.pixelAt(x, y) >> shift) & 0xFF)));
    return worst;
}

} // namespace dazed::test
