#pragma once

// The whole app on the headless host: the shipped interface description for a device, launched
// through the application loop with the app's own classes, and taps in screen points.

#include "app/AppDelegate.h"
#include "app/InfoLinks.h"
#include "app/RootViewController.h"
#include "navigation/MainViewController.h"
#include "platform/ui/ApplicationLoop.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/HeadlessHost.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDevice.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dazed::test {

inline const InfoLinks kTestLinks{"https://stars.example.org/catalogue", "https://figures.example.net/app"};

// A sky-screen controller that notes its appearance calls and whether its view was on screen then,
// and counts the commands it sends the sky view.
class NotingMainViewController : public MainViewController {
public:
    explicit NotingMainViewController(std::vector<std::string>& log, int& commandsSent)
        : MainViewController("MainView")
        , m_log(log)
        , m_commandsSent(commandsSent)
    {
    }
    void viewWillAppear(bool animated) override { note("sky viewWillAppear", animated); }
    void viewDidAppear(bool animated) override { note("sky viewDidAppear", animated); }
    void viewWillDisappear(bool animated) override { note("sky viewWillDisappear", animated); }
    void viewDidDisappear(bool animated) override { note("sky viewDidDisappear", animated); }

protected:
    void send(const SkyViewCommand& command) override
    {
        ++m_commandsSent;
        MainViewController::send(command);
    }

private:
    void note(const char* what, bool animated)
    {
        const bool shown = isViewLoaded() && view()->superview();
        m_log.push_back(std::string(what) + (animated ? " animated" : "") +
                        (shown ? " (shown)" : " (hidden)"));
    }
    std::vector<std::string>& m_log;
    int& m_commandsSent;
};

// The root controller with the noting sky controller, and a note of where launching stood when its
// view finished loading.
class NotingRootViewController : public RootViewController {
public:
    std::vector<std::string> log;
    // Every command the sky screen has sent its view since launch.
    int commandsSent{0};

    void viewDidLoad() override
    {
        RootViewController::viewDidLoad();
        const auto& app = UIApplication::sharedApplication();
        log.push_back("root viewDidLoad: status bar " + std::to_string(app.statusBarStyle()) +
                      (view()->superview() ? ", in the window" : ", not in the window") +
                      (app.keyWindow() ? ", window shown" : ", window not shown") +
                      (mainViewController() && mainViewController()->view()->superview() == view().get()
                           ? ", sky in place"
                           : ", no sky"));
    }

protected:
    std::shared_ptr<MainViewController> makeMainViewController() override
    {
        return std::make_shared<NotingMainViewController>(log, commandsSent);
    }
};

struct LaunchedApp {
    HeadlessHost host;
    ClassRegistry registry;
    std::unique_ptr<ApplicationLoop> loop;

    // `window`: the size of the host's window in points, for a screen that fits it (`fit`).
    explicit LaunchedApp(DeviceFamily family, UIDeviceOrientation orientation = UIDeviceOrientationPortrait,
                         ScreenFit fit = ScreenFit::Device, std::optional<CGSize> window = std::nullopt)
    {
        if (window)
            host.setWindowSize(*window);
        registry.registerDelegate<AppDelegate_Phone>("AppDelegate_Phone");
        registry.registerDelegate<AppDelegate_Pad>("AppDelegate_Pad");
        registry.registerController("RootViewController", [] {
            auto root = std::make_shared<NotingRootViewController>();
            root->setLinks(kTestLinks);
            return root;
        });
        LaunchOptions options;
        options.family = family;
        options.orientation = orientation;
        options.fit = fit;
        auto launched = ApplicationLoop::launch(host, options, registry);
        if (launched)
            loop = std::move(launched).value();
    }

    [[nodiscard]] NotingRootViewController& root() const
    {
        return dynamic_cast<NotingRootViewController&>(*loop->interface().rootViewController);
    }
    void send(const HostEvent& event)
    {
        host.inject(event);
        loop->step();
    }
    // A mouse click at a point of the device screen.
    void tap(CGPoint p)
    {
        send(TouchInput{{{-1, UITouchPhase::Began, p}}, 1});
        send(TouchInput{{{-1, UITouchPhase::Ended, p}}, 1});
    }
    // Lets a running flip finish.
    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            host.advance(0.6);
            loop->display();
        }
    }
};

} // namespace dazed::test
