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
    auto parsed = parseLaunchOptions(argc, argv);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "dazed: " << *error << "\n";
        return 1;
    }
    const LaunchOptions options = std::get<LaunchOptions>(parsed);
    std::string error;
    auto host = SDLHost::create(std::string("Dazed (") + deviceFamilyName(options.family) + ")", &error);
    if (!host) {
        startFailure() = error;
        return kUIApplicationMainNoDisplay;
    }
    auto launched = ApplicationLoop::launch(*host, options, ClassRegistry::shared());
    if (auto* message = std::get_if<std::string>(&launched)) {
        std::cerr << "dazed: " << *message << "\n";
        return 1;
    }
    return std::get<std::unique_ptr<ApplicationLoop>>(launched)->run();
}

} // namespace dazed
