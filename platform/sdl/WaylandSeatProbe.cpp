#include "platform/sdl/WaylandSeatProbe.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <wayland-client.h>

namespace dazed {

namespace {
void onGlobal(void* data, wl_registry* /*registry*/, uint32_t /*name*/, const char* interface,
              uint32_t /*version*/)
{
    if (std::strcmp(interface, wl_seat_interface.name) == 0)
        *static_cast<bool*>(data) = true;
}

void onGlobalRemove(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

struct DisplayDisconnect {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct RegistryDestroy {
    void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};
} // namespace

WaylandSeat lookForWaylandSeat(const std::string& display)
{
    const char* socket = std::getenv("WAYLAND_SOCKET");
    if (display.empty() || (socket && *socket))
        return WaylandSeat::Unreachable;
    const std::unique_ptr<wl_display, DisplayDisconnect> connection(wl_display_connect(display.c_str()));
    if (!connection)
        return WaylandSeat::Unreachable;
    bool seat = false;
    static const wl_registry_listener listener{onGlobal, onGlobalRemove};
    const std::unique_ptr<wl_registry, RegistryDestroy> registry(wl_display_get_registry(connection.get()));
    if (!registry || wl_registry_add_listener(registry.get(), &listener, &seat) != 0)
        return WaylandSeat::Unreachable;
    // The compositor sends every global before it answers the round trip's sync.
    if (wl_display_roundtrip(connection.get()) < 0)
        return WaylandSeat::Unreachable;
    return seat ? WaylandSeat::Offered : WaylandSeat::Missing;
}

} // namespace dazed
