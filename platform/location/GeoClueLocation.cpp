#include "platform/location/SystemLocation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gio/gio.h>
#include <memory>
#include <string>

namespace dazed {

namespace {

constexpr const char* kService = "org.freedesktop.GeoClue2";
constexpr const char* kManagerPath = "/org/freedesktop/GeoClue2/Manager";
constexpr const char* kManagerInterface = "org.freedesktop.GeoClue2.Manager";
constexpr const char* kClientInterface = "org.freedesktop.GeoClue2.Client";
constexpr const char* kLocationInterface = "org.freedesktop.GeoClue2.Location";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
// The desktop entry GeoClue's agent shows the user when it asks whether the chart may know.
constexpr const char* kDesktopId = "dazed";
// GeoClue's accuracy levels run from 0 (none) to 8 (exact); a city is plenty for the sky.
constexpr guint32 kAccuracyCity = 4;
// GeoClue gives this altitude when it does not know one.
constexpr double kUnknownAltitude = -1.7976931348623157e308;

struct Unref {
    void operator()(GDBusConnection* p) const { g_object_unref(p); }
    void operator()(GCancellable* p) const { g_object_unref(p); }
    void operator()(GMainContext* p) const { g_main_context_unref(p); }
    void operator()(GVariant* p) const { g_variant_unref(p); }
    void operator()(GError* p) const { g_error_free(p); }
    void operator()(gchar* p) const { g_free(p); }
    void operator()(GSource* p) const
    {
        g_source_destroy(p);
        g_source_unref(p);
    }
};
template <class T> using Owned = std::unique_ptr<T, Unref>;

// The main context every callback of this lookup runs in, made the thread's default for its
// lifetime so that GDBus dispatches the signal here and nowhere else.
class PrivateContext {
public:
    PrivateContext()
        : m_context(g_main_context_new())
    {
        g_main_context_push_thread_default(m_context.get());
    }
    ~PrivateContext() { g_main_context_pop_thread_default(m_context.get()); }
    PrivateContext(const PrivateContext&) = delete;
    PrivateContext& operator=(const PrivateContext&) = delete;
    [[nodiscard]] GMainContext* get() const { return m_context.get(); }

private:
    Owned<GMainContext> m_context;
};

constexpr const char* kStopped = "the question to GeoClue was withdrawn";

// One line from a GError, with the D-Bus error's name taken off.
std::string oneLine(GError* error)
{
    if (g_dbus_error_is_remote_error(error))
        g_dbus_error_strip_remote_error(error);
    std::string text = error->message ? error->message : "unknown error";
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

std::string remoteName(GError* error)
{
    const Owned<gchar> name(g_dbus_error_get_remote_error(error));
    return name ? std::string(name.get()) : std::string();
}

std::string seconds(std::chrono::milliseconds timeout)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(timeout.count()) / 1000.0);
    return text;
}

// The failure of a call, in the words a user can act on.
Error callFailure(GError* error, std::chrono::milliseconds timeout)
{
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
        return failure(kStopped);
    const std::string name = remoteName(error);
    if (name == "org.freedesktop.DBus.Error.ServiceUnknown" ||
        name == "org.freedesktop.DBus.Error.NameHasNoOwner")
        return failure("GeoClue is not running on the system bus");
    if (name == "org.freedesktop.DBus.Error.AccessDenied" || name == "org.freedesktop.DBus.Error.AuthFailed")
        return failure("GeoClue refused to say where this is (access denied)");
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT) ||
        name == "org.freedesktop.DBus.Error.NoReply")
        return failure("GeoClue gave no answer within " + seconds(timeout) + " s");
    return failure("GeoClue: " + oneLine(error));
}

class Lookup {
public:
    Lookup(GDBusConnection* bus, GCancellable* cancellable, std::chrono::milliseconds timeout)
        : m_bus(bus)
        , m_cancellable(cancellable)
        , m_timeout(timeout)
        , m_deadline(std::chrono::steady_clock::now() + timeout)
    {
    }

    // The reply of a method call, or the failure; never waits beyond the deadline.
    Result<Owned<GVariant>> call(const char* path, const char* interface, const char* method,
                                 GVariant* arguments, const GVariantType* replyType)
    {
        GError* raw = nullptr;
        Owned<GVariant> reply(g_dbus_connection_call_sync(m_bus, kService, path, interface, method, arguments,
                                                          replyType, G_DBUS_CALL_FLAGS_NO_AUTO_START,
                                                          remainingMilliseconds(), m_cancellable, &raw));
        const Owned<GError> error(raw);
        if (!reply)
            return callFailure(error.get(), m_timeout);
        return reply;
    }

    [[nodiscard]] int remainingMilliseconds() const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            m_deadline - std::chrono::steady_clock::now());
        return static_cast<int>(std::clamp<long long>(left.count(), 1, 24LL * 3600 * 1000));
    }
    [[nodiscard]] bool pastDeadline() const { return std::chrono::steady_clock::now() >= m_deadline; }
    [[nodiscard]] std::chrono::milliseconds timeout() const { return m_timeout; }

private:
    GDBusConnection* m_bus;
    GCancellable* m_cancellable;
    std::chrono::milliseconds m_timeout;
    std::chrono::steady_clock::time_point m_deadline;
};

struct Waiting {
    std::string locationPath; // set by LocationUpdated
    bool timedOut{false};
};

void onLocationUpdated(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                       GVariant* parameters, gpointer data)
{
    auto* waiting = static_cast<Waiting*>(data);
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(oo)")))
        return;
    const gchar* newPath = nullptr;
    g_variant_get(parameters, "(&o&o)", nullptr, &newPath);
    if (newPath && std::string(newPath) != "/")
        waiting->locationPath = newPath;
}

gboolean onDeadline(gpointer data)
{
    static_cast<Waiting*>(data)->timedOut = true;
    return G_SOURCE_REMOVE;
}

std::optional<double> number(GVariant* dictionary, const char* key)
{
    double value = 0;
    if (!g_variant_lookup(dictionary, key, "d", &value))
        return std::nullopt;
    return value;
}

Result<SystemLocation> ask(GDBusConnection* bus, GMainContext* context, GCancellable* cancellable,
                           std::chrono::milliseconds timeout)
{
    Lookup lookup(bus, cancellable, timeout);
    auto client = lookup.call(kManagerPath, kManagerInterface, "GetClient", nullptr, G_VARIANT_TYPE("(o)"));
    if (!client)
        return client.error();
    const gchar* clientPathText = nullptr;
    g_variant_get(client.value().get(), "(&o)", &clientPathText);
    const std::string clientPath = clientPathText;

    // GeoClue starts nobody whose desktop entry it does not know, and gives what accuracy is asked.
    const auto setProperty = [&](const char* name, GVariant* value) {
        return lookup.call(clientPath.c_str(), kProperties, "Set",
                           g_variant_new("(ssv)", kClientInterface, name, value), nullptr);
    };
    if (auto set = setProperty("DesktopId", g_variant_new_string(kDesktopId)); !set)
        return set.error();
    if (auto set = setProperty("RequestedAccuracyLevel", g_variant_new_uint32(kAccuracyCity)); !set)
        return set.error();

    // Subscribed before Start, so that an answer sent at once is not missed.
    Waiting waiting;
    const guint subscription = g_dbus_connection_signal_subscribe(
        bus, nullptr, kClientInterface, "LocationUpdated", clientPath.c_str(), nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, onLocationUpdated, &waiting, nullptr);
    auto started = lookup.call(clientPath.c_str(), kClientInterface, "Start", nullptr, nullptr);
    if (!started) {
        g_dbus_connection_signal_unsubscribe(bus, subscription);
        return started.error();
    }
    {
        const Owned<GSource> deadline(
            g_timeout_source_new(static_cast<guint>(lookup.remainingMilliseconds())));
        g_source_set_callback(deadline.get(), onDeadline, &waiting, nullptr);
        g_source_attach(deadline.get(), context);
        // A stop wakes the context (askSystemLocation), so the wait cannot miss it. (A cancellable's
        // own source would, cancelled from another thread as it is destroyed, leak in GLib.)
        while (waiting.locationPath.empty() && !waiting.timedOut && !g_cancellable_is_cancelled(cancellable))
            g_main_context_iteration(context, TRUE);
    }
    g_dbus_connection_signal_unsubscribe(bus, subscription);
    if (g_cancellable_is_cancelled(cancellable))
        return failure(kStopped);
    if (waiting.locationPath.empty())
        return failure("GeoClue gave no answer within " + seconds(timeout) + " s");

    auto properties = lookup.call(waiting.locationPath.c_str(), kProperties, "GetAll",
                                  g_variant_new("(s)", kLocationInterface), G_VARIANT_TYPE("(a{sv})"));
    if (!properties)
        return properties.error();
    const Owned<GVariant> dictionary(g_variant_get_child_value(properties.value().get(), 0));
    const auto latitude = number(dictionary.get(), "Latitude");
    const auto longitude = number(dictionary.get(), "Longitude");
    if (!latitude || !longitude)
        return failure("GeoClue answered without a latitude and longitude");
    SystemLocation location{*latitude, *longitude, number(dictionary.get(), "Altitude"),
                            number(dictionary.get(), "Accuracy").value_or(0.0)};
    if (location.altitudeMetres && *location.altitudeMetres == kUnknownAltitude)
        location.altitudeMetres.reset();
    // No Stop: GeoClue drops a client whose connection closes, which happens on return.
    return location;
}

} // namespace

Result<SystemLocation> askSystemLocation(std::chrono::milliseconds timeout, std::stop_token stop)
{
    timeout = std::max(timeout, std::chrono::milliseconds(1));
    const PrivateContext context;
    // GCancellable may be cancelled from any thread: the stop ends a call or the wait at once.
    const Owned<GCancellable> cancellable(g_cancellable_new());
    const std::stop_callback withdraw(stop, [c = cancellable.get(), ctx = context.get()] {
        g_cancellable_cancel(c);
        g_main_context_wakeup(ctx);
    });
    if (stop.stop_requested())
        return failure(kStopped);
    GError* raw = nullptr;
    const Owned<gchar> address(g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &raw));
    if (!address) {
        const Owned<GError> error(raw);
        return failure("no system bus to ask GeoClue on (" + oneLine(error.get()) + ")");
    }
    // A connection of our own rather than GIO's shared one: it is closed when the answer is in,
    // and a later call (another bus address in tests) starts afresh.
    const Owned<GDBusConnection> bus(g_dbus_connection_new_for_address_sync(
        address.get(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, cancellable.get(), &raw));
    if (!bus) {
        const Owned<GError> error(raw);
        if (g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED))
            return failure(kStopped);
        return failure("no system bus to ask GeoClue on (" + oneLine(error.get()) + ")");
    }
    auto answer = ask(bus.get(), context.get(), cancellable.get(), timeout);
    g_dbus_connection_close_sync(bus.get(), nullptr, nullptr);
    // What the closing left queued for this context runs before the context goes.
    while (g_main_context_iteration(context.get(), FALSE)) {
    }
    return answer;
}

} // namespace dazed
