#include "app/WindowStart.h"

#include "sky/SolarSystem.h"

namespace dazed {

std::optional<SkyChoice> startingSky(const std::optional<SkyChoice>& commandLine, const Settings& remembered,
                                     std::chrono::system_clock::time_point now)
{
    if (commandLine)
        return commandLine;
    if (!remembered.place || !modelCoverageProblem(utcFromSystemClock(now)).empty())
        return std::nullopt;
    SkyChoice sky;
    sky.place = *remembered.place;
    sky.utcOffsetMinutes = systemUtcOffsetMinutes(now);
    sky.shown = remembered.layerShown;
    return sky;
}

Settings rememberStart(Settings remembered, const std::optional<SkyChoice>& commandLine)
{
    if (commandLine) {
        remembered.place = commandLine->place;
        remembered.layerShown = commandLine->shown;
    }
    return remembered;
}

Settings rememberLayer(Settings remembered, const SkyLayerState& layer)
{
    if (layer.place)
        remembered.place = layer.place;
    remembered.layerShown = layer.shown && layer.place.has_value();
    return remembered;
}

std::variant<WindowPlace, std::string> resolveSystemPlace(const CentreChoice& choice,
                                                          const std::optional<GeographicPlace>& found,
                                                          std::chrono::system_clock::time_point now)
{
    CentreChoice resolved = choice;
    if (found) {
        resolved = withPlace(choice, *found);
    } else {
        // No place: the moment meant the place's sky, and goes with it unless --overhead uses it.
        resolved.place.reset();
        if (!resolved.overhead)
            resolved.time.reset();
    }
    WindowPlace start;
    if (resolved.empty())
        return start;
    auto centre = resolveCentre(resolved, now);
    if (auto* message = std::get_if<std::string>(&centre))
        return *message;
    start.centre = std::get<EquatorialPosition>(centre);
    auto sky = resolveSkyChoice(resolved, now);
    if (auto* message = std::get_if<std::string>(&sky))
        return *message;
    start.sky = std::get<std::optional<SkyChoice>>(sky);
    return start;
}

StartingLook startingLook(std::optional<DeviceMode> deviceGiven, bool nightGiven, Settings remembered)
{
    if (deviceGiven)
        remembered.device = deviceGiven;
    if (nightGiven)
        remembered.nightMode = true;
    return {remembered.device.value_or(DeviceMode::Phone), remembered.nightMode, remembered};
}

} // namespace dazed
