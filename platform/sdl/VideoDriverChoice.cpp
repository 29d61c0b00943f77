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

std::string silent(const DisplayEnvironment& environment)
{
    return "the Wayland compositor on WAYLAND_DISPLAY=" + environment.waylandDisplay + " does not answer";
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
        // would crash on, or wait on for ever, say so instead.
        if (firstDriver(environment.videoDriver) != "wayland")
            return {};
        switch (lookForSeat()) {
        case WaylandSeat::Missing:
            return {Action::Refuse, {}, noSeat(environment) + "; unset SDL_VIDEODRIVER or set it to x11"};
        case WaylandSeat::Silent:
            return {Action::Refuse, {}, silent(environment) + "; unset SDL_VIDEODRIVER or set it to x11"};
        case WaylandSeat::Offered:
        case WaylandSeat::Unreachable:
            break;
        }
        return {};
    }
    switch (lookForSeat()) {
    case WaylandSeat::Offered:
    case WaylandSeat::Unreachable:
        // Where the compositor cannot be reached, SDL's Wayland driver fails to start and SDL
        // goes on to X11: the same list serves.
        return {Action::Ask, "wayland,x11", {}};
    case WaylandSeat::Missing:
        if (!environment.x11Display.empty())
            return {Action::Ask, "x11", {}};
        return {Action::Refuse, {}, noSeat(environment) + ", and DISPLAY names no X server to use instead"};
    case WaylandSeat::Silent:
        // SDL's Wayland driver would wait for that answer for ever.
        if (!environment.x11Display.empty())
            return {Action::Ask, "x11", {}};
        return {Action::Refuse, {}, silent(environment) + ", and DISPLAY names no X server to use instead"};
    }
    return {};
}

} // namespace dazed
