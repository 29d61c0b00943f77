#include "platform/sdl/WaylandSeatProbe.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
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

void onSyncDone(void* data, wl_callback* /*callback*/, uint32_t /*serial*/)
{
    *static_cast<bool*>(data) = true;
}

// A compositor answers a sync in milliseconds; one that has not in this long never will.
constexpr std::chrono::milliseconds kAnswerTime{3000};

struct CallbackDestroy {
    void operator()(wl_callback* callback) const { wl_callback_destroy(callback); }
};
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
    // The compositor sends every global before it answers the sync.
    bool answered = false;
    static const wl_callback_listener syncListener{onSyncDone};
    const std::unique_ptr<wl_callback, CallbackDestroy> sync(wl_display_sync(connection.get()));
    if (!sync || wl_callback_add_listener(sync.get(), &syncListener, &answered) != 0)
        return WaylandSeat::Unreachable;
    // wl_display_roundtrip would wait for ever on a socket that accepts and never answers; so would
    // SDL after it. The events are read here with a deadline instead.
    wl_display* const d = connection.get();
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTime;
    while (!answered) {
        if (wl_display_flush(d) < 0 && errno != EAGAIN)
            return WaylandSeat::Unreachable;
        while (wl_display_prepare_read(d) != 0) {
            if (wl_display_dispatch_pending(d) < 0)
                return WaylandSeat::Unreachable;
        }
        if (answered) {
            wl_display_cancel_read(d);
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{wl_display_get_fd(d), POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&readable, 1, static_cast<int>(left.count()) + 1) : 0;
        const bool interrupted = ready < 0 && errno == EINTR;
        if (ready <= 0) {
            wl_display_cancel_read(d);
            if (interrupted)
                continue;
            return ready == 0 ? WaylandSeat::Silent : WaylandSeat::Unreachable;
        }
        if (wl_display_read_events(d) < 0 || wl_display_dispatch_pending(d) < 0)
            return WaylandSeat::Unreachable;
    }
    return seat ? WaylandSeat::Offered : WaylandSeat::Missing;
}

} // namespace dazed
