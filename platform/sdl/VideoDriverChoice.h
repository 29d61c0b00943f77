#pragma once

// Which of SDL's video drivers the window asks for, decided from the environment given as values.
// SDL 2.26 tries X11 before Wayland, so on a desktop that offers both (every Wayland session runs
// an X server beside the compositor for older programs) the window would go through the X server
// rather than to the compositor itself. Where WAYLAND_DISPLAY names a compositor, the native
// driver is asked for first and X11 kept as the fallback; SDL_VIDEODRIVER set by the user wins.
//
// A compositor without a seat (no pointer, keyboard or touch: weston's headless backend) makes
// SDL 2.26's Wayland driver crash while it sets the mouse up, so that case is looked for first
// and answered with X11, or with a one-line refusal where there is no X server either; so is a
// socket that takes the connection and never answers, on which SDL would wait for ever.

#include <functional>
#include <string>

namespace dazed {

// The variables that decide, as the process has them; an empty string stands for unset.
struct DisplayEnvironment {
    std::string videoDriver;    // SDL_VIDEODRIVER: SDL's driver, or a comma-separated list of them
    std::string waylandDisplay; // WAYLAND_DISPLAY: the compositor's socket
    std::string x11Display;     // DISPLAY: the X server
};

// What one look at the compositor's globals found.
enum class WaylandSeat {
    Offered,     // it offers a wl_seat
    Missing,     // it answered and offers none
    Unreachable, // nothing there speaks Wayland: no socket, or one that hung up or spoke nonsense
    Silent,      // a connection was taken but no answer came in time
};

struct VideoDriverChoice {
    enum class Action {
        LeaveToSdl, // set nothing: SDL's own order, or the user's SDL_VIDEODRIVER
        Ask,        // set SDL's video driver hint to `drivers`
        Refuse,     // open no window; `reason` says why in one line
    };
    Action action{Action::LeaveToSdl};
    std::string drivers;
    std::string reason;
};

// The choice for `environment`. `lookForSeat` connects to the compositor named by
// environment.waylandDisplay; it is called at most once, and only when WAYLAND_DISPLAY is set and
// the Wayland driver would be tried first.
[[nodiscard]] VideoDriverChoice chooseVideoDriver(const DisplayEnvironment& environment,
                                                  const std::function<WaylandSeat()>& lookForSeat);

} // namespace dazed
