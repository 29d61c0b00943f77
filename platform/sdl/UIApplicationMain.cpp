#include "platform/ui/UIApplicationMain.h"

#include "platform/sdl/SDLHost.h"
#include "platform/ui/ApplicationLoop.h"

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
    return launched.value()->run();
}

} // namespace dazed
