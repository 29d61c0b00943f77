#include "app/ChartWindow.h"

#include "app/AppDelegate.h"
#include "app/RootViewController.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/NSAutoreleasePool.h"
#include "platform/ui/ResourceDirectory.h"
#include "platform/ui/UIApplicationMain.h"

#include <ostream>
#include <variant>
#include <vector>

namespace dazed {

void registerApplicationClasses(const std::optional<InfoLinks>& links,
                                const std::optional<EquatorialPosition>& centre,
                                const std::optional<SkyChoice>& sky, ScreenTint tint)
{
    auto& registry = ClassRegistry::shared();
    registry.registerDelegate<AppDelegate_Phone>("AppDelegate_Phone");
    registry.registerDelegate<AppDelegate_Pad>("AppDelegate_Pad");
    registry.registerController("RootViewController", [links, centre, sky, tint] {
        auto root = std::make_shared<RootViewController>();
        root->setLinks(links);
        if (centre)
            root->setInitialCentre(static_cast<float>(centre->rightAscensionHours),
                                   static_cast<float>(centre->declinationDegrees));
        if (sky)
            root->setInitialSkyLayer({sky->place, sky->time, sky->utcOffsetMinutes, true});
        if (tint == ScreenTint::Night)
            root->setNightMode(true);
        return root;
    });
}

int runChartWindow(const ChartOptions& options, const std::string& programName, std::ostream& err)
{
    // The links are the page's; the chart runs without them, and says once why its buttons are off.
    auto links = loadInfoLinks(resourceDirectory() + "/Links.json");
    if (!links)
        err << "dazed: " << links.error().message << "; the information page's buttons will open nothing\n";
    registerApplicationClasses(links ? std::optional<InfoLinks>(links.value()) : std::nullopt, options.centre,
                               options.sky, options.night ? ScreenTint::Night : ScreenTint::Day);

    // The application loop reads its own options from the argument vector.
    std::vector<std::string> words{programName, "--device", options.device, "--orientation",
                                   options.orientation};
    if (options.quitAfter > 0) {
        words.push_back("--quit-after");
        words.push_back(std::to_string(options.quitAfter));
    }
    if (options.exitAfterFirstFrame)
        words.push_back("--exit-after-first-frame");
    if (!options.interfacePath.empty()) {
        words.push_back("--interface");
        words.push_back(options.interfacePath);
    }
    std::vector<char*> argv;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    [[maybe_unused]] const NSAutoreleasePool pool; // the scope of the application loop
    const int status = UIApplicationMain(static_cast<int>(words.size()), argv.data(), nullptr, nullptr);
    if (status == kUIApplicationMainNoDisplay) {
        err << "dazed: no display to open the chart window on (" << UIApplicationMainStartFailure()
            << "); draw it into a file instead: dazed render -o chart.png\n";
        return 1;
    }
    return status;
}

} // namespace dazed
