#pragma once

// One look at a Wayland compositor's globals, for the choice of SDL's video driver
// (VideoDriverChoice.h): connects, lists the globals in one round trip and disconnects.

#include "platform/sdl/VideoDriverChoice.h"

#include <string>

namespace dazed {

// Whether the compositor on the socket `display` (a name in XDG_RUNTIME_DIR or an absolute path,
// as WAYLAND_DISPLAY holds it) offers a wl_seat. Unreachable when nothing speaks Wayland there,
// and without connecting when WAYLAND_SOCKET is set: that descriptor is SDL's to use, once.
// Silent when the connection was taken but the globals did not come within 3 seconds.
[[nodiscard]] WaylandSeat lookForWaylandSeat(const std::string& display);

} // namespace dazed
