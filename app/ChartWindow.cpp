#include "app/ChartWindow.h"

#include "app/AppDelegate.h"
#include "app/RootViewController.h"
#include "app/SettingsStore.h"
#include "app/WindowStart.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/NSAutoreleasePool.h"
#include "platform/ui/ResourceDirectory.h"
#include "platform/ui/UIApplicationMain.h"

#include <chrono>
#include <memory>
#include <ostream>
#include <variant>
#include <vector>

namespace dazed {

void registerApplicationClasses(const std::optional<InfoLinks>& links,
                                const std::optional<EquatorialPosition>& centre,
                                const std::optional<SkyChoice>& sky, ScreenTint tint,
                                WindowObservers observers, RootViewController::PlaceQuestion placeQuestion)
{
    auto& registry = ClassRegistry::shared();
    registry.registerDelegate<AppDelegate_Phone>("AppDelegate_Phone");
    registry.registerDelegate<AppDelegate_Pad>("AppDelegate_Pad");
    registry.registerController("RootViewController", [links, centre, sky, tint, observers, placeQuestion] {
        auto root = std::make_shared<RootViewController>();
        root->setLinks(links);
        if (centre)
            root->setInitialCentre(static_cast<float>(centre->rightAscensionHours),
                                   static_cast<float>(centre->declinationDegrees));
        if (sky)
            root->setInitialSkyLayer({sky->place, sky->time, sky->utcOffsetMinutes, sky->shown});
        if (tint == ScreenTint::Night)
            root->setNightMode(true);
        root->setSkyLayerObserver(observers.skyLayerChanged);
        root->setNightModeObserver(observers.nightModeChanged);
        root->setPlaceQuestion(placeQuestion);
        return root;
    });
}

int runChartWindow(const ChartOptions& options, const std::string& programName, std::ostream& err)
{
    // The links are the page's; the chart runs without them, and says once why its buttons are off.
    auto links = loadInfoLinks(resourceDirectory() + "/Links.json");
    if (!links)
        err << "dazed: " << links.error().message << "; the information page's buttons will open nothing\n";

    // The remembered settings, and the command line over them.
    auto store = std::make_shared<SettingsStore>(
        options.settingsPath, [&err](const std::string& line) { err << "dazed: " << line << "\n"; });
    const Settings remembered = store->load();
    const auto now = std::chrono::system_clock::now();
    std::optional<EquatorialPosition> centre = options.centre;
    std::optional<SkyChoice> commandSky = options.sky;
    if (options.systemPlace) {
        const auto answer = askSystemLocation(placeTimeout(options.placeTimeout));
        const AutoPlace found = chooseAutoPlace(answer, remembered.place);
        if (!found.note.empty())
            err << "dazed: --place auto: " << found.note
                << (found.place ? "" : "; the sky of a place is not drawn") << "\n";
        auto start = resolveSystemPlace(*options.systemPlace, found.place, now);
        if (const auto* message = std::get_if<std::string>(&start)) {
            err << "dazed: " << *message << "\n";
            return 2;
        }
        centre = std::get<WindowPlace>(start).centre;
        commandSky = std::get<WindowPlace>(start).sky;
    }
    const auto sky = startingSky(commandSky, remembered, now);
    const StartingLook look =
        startingLook(options.deviceChosen ? deviceModeNamed(options.device) : std::nullopt, options.night,
                     rememberStart(remembered, commandSky));
    const Settings& started = look.remembered;
    const std::string device(deviceModeName(look.device));
    store->save(started);
    WindowObservers observers;
    observers.skyLayerChanged = [store](const SkyLayerState& layer) {
        store->save(rememberLayer(store->settings(), layer));
    };
    observers.nightModeChanged = [store](bool on) {
        Settings next = store->settings();
        next.nightMode = on;
        store->save(next);
    };
    // What the window asks when T or the menu want a place and none is known: GeoClue, waiting
    // as --place-timeout says, off the event loop.
    auto placeQuestion = [timeout = placeTimeout(options.placeTimeout)](std::stop_token stop) {
        return askSystemLocation(timeout, stop);
    };
    registerApplicationClasses(links ? std::optional<InfoLinks>(links.value()) : std::nullopt, centre, sky,
                               look.nightMode ? ScreenTint::Night : ScreenTint::Day, std::move(observers),
                               std::move(placeQuestion));

    // The application loop reads its own options from the argument vector.
    std::vector<std::string> words{programName, "--device", device, "--orientation", options.orientation};
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
