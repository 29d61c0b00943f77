#include "platform/ui/UIApplicationMain.h"

#include "platform/ProcessStats.h"
#include "platform/sdl/SDLHost.h"
#include "platform/ui/ApplicationLoop.h"
#include "platform/ui/UIApplication.h"

#include <cstdio>
#include <iostream>

namespace dazed {

namespace {
std::string& startFailure()
{
    static std::string reason;
    return reason;
}
} // namespace

const std::string& UIApplicationMainStartFailure()
{
    return startFailure();
}

int UIApplicationMain(int argc, char** argv, const char*, const char*)
{
    startFailure().clear();
    // The framework reports what it carries on without; this entry point says it on stderr.
    UIApplication::sharedApplication().setReporter(
        [](const Error& error) { std::cerr << "dazed: " << error.message << "\n"; });
    auto options = parseLaunchOptions(argc, argv);
    if (!options) {
        std::cerr << "dazed: " << options.error().message << "\n";
        return 1;
    }
    auto host = SDLHost::create(std::string("Dazed (") + deviceFamilyName(options->family) + ")");
    if (!host) {
        startFailure() = host.error().message;
        return kUIApplicationMainNoDisplay;
    }
    auto launched = ApplicationLoop::launch(*host.value(), options.value(), ClassRegistry::shared());
    if (!launched) {
        std::cerr << "dazed: " << launched.error().message << "\n";
        return 1;
    }
    // This is the program's loop: what the interface could not connect is said here, once.
    for (const auto& warning : *launched.value()->interface().warnings)
        std::cerr << "dazed: " << warning << "\n";
    auto& loop = *launched.value();
    if (options->exitAfterFirstFrame) {
        // Launching ends with the first display, which presents the first frame.
        const auto fromMain = millisecondsSinceMainEntered();
        const auto fromExec = millisecondsSinceProcessStart();
        std::printf("first frame: %d presented, %.1f ms after main, %.0f ms after the process started; "
                    "screen %.0f x %.0f points at %.2f pixels per point; peak resident %.1f MiB\n",
                    loop.presentedFrames(), fromMain.value_or(-1.0), fromExec.value_or(-1.0),
                    loop.screenSize().width, loop.screenSize().height,
                    static_cast<double>(host.value()->displayScale()),
                    static_cast<double>(peakResidentKibibytes()) / 1024.0);
        std::fflush(stdout);
        return 0;
    }
    return loop.run();
}

} // namespace dazed
