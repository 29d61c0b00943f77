#include "platform/sdl/VideoDriverChoice.h"

namespace dazed {

namespace {
// The first name of a comma-separated list of drivers.
std::string firstDriver(const std::string& list)
{
    return list.substr(0, list.find(','));
}

std::string noSeat(const DisplayEnvironment& environment)
{
    return "the Wayland compositor on WAYLAND_DISPLAY=" + environment.waylandDisplay +
           " offers no seat (no input at all), which SDL's Wayland driver cannot start without";
}
} // namespace

VideoDriverChoice chooseVideoDriver(const DisplayEnvironment& environment,
                                    const std::function<WaylandSeat()>& lookForSeat)
{
    using Action = VideoDriverChoice::Action;
    if (environment.waylandDisplay.empty())
        return {};
    if (!environment.videoDriver.empty()) {
        // The user's choice stands, but where it starts with Wayland on a compositor that SDL
        // would crash on, say so instead of crashing.
        if (firstDriver(environment.videoDriver) != "wayland" || lookForSeat() != WaylandSeat::Missing)
            return {};
        return {Action::Refuse, {}, noSeat(environment) + "; unset SDL_VIDEODRIVER or set it to x11"};
    }
    switch (lookForSeat()) {
    case WaylandSeat::Offered:
    case WaylandSeat::Unreachable:
        // Where the compositor cannot be reached, SDL's Wayland driver fails to start and SDL
        // goes on to X11: the same list serves.
        return {Action::Ask, "wayland,x11", {}};
    case WaylandSeat::Missing:
        break;
    }
    if (!environment.x11Display.empty())
        return {Action::Ask, "x11", {}};
    return {Action::Refuse, {}, noSeat(environment) + ", and DISPLAY names no X server to use instead"};
}

} // namespace dazed
