#pragma once

// A private D-Bus bus with a stand-in GeoClue on it, started and stopped by the test itself: a
// dbus-daemon of its own listening in the test's scratch folder, and python3-dbusmock serving
// tests/support/geoclue_template.py with the answer the test chooses. The process environment's
// DBUS_SYSTEM_BUS_ADDRESS points at the bus while the object lives (each test is a process of its
// own under CTest, so no other test sees it).
//
// Debian's dbusmock is installed for /usr/bin/python3, which is used by its full path: the
// python3 first on PATH may be another one without it.

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace dazed::test {

class GeoClueMock {
public:
    // Whether the tools are there (the test skips without them).
    static bool available()
    {
        return ::access("/usr/bin/dbus-daemon", X_OK) == 0 &&
               std::system("/usr/bin/python3 -c 'import dbusmock' >/dev/null 2>&1") == 0;
    }

    // A bus with nothing on it; serve() puts GeoClue there.
    explicit GeoClueMock(const std::filesystem::path& folder)
        : m_folder(folder)
        // An abstract socket: a scratch folder named after a long test can be beyond the 108
        // bytes a socket's path may have.
        , m_address("unix:abstract=dazed-test-bus-" + std::to_string(::getpid()) + "-" +
                    std::to_string(reinterpret_cast<std::uintptr_t>(this)))
    {
        m_daemon =
            spawn({"/usr/bin/dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + m_address},
                  folder / "dbus-daemon.log");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!busAnswers() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const char* old = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
        if (old)
            m_oldAddress = old;
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.c_str(), 1);
    }

    ~GeoClueMock()
    {
        stop(m_mock);
        stop(m_daemon);
        if (m_oldAddress)
            ::setenv("DBUS_SYSTEM_BUS_ADDRESS", m_oldAddress->c_str(), 1);
        else
            ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    }
    GeoClueMock(const GeoClueMock&) = delete;
    GeoClueMock& operator=(const GeoClueMock&) = delete;

    // Starts GeoClue with the template's parameters (JSON) and waits until its name is on the bus.
    // False if it did not come within ten seconds.
    bool serve(const std::string& parametersJson)
    {
        m_mock = spawn({"/usr/bin/python3", "-m", "dbusmock", "--system", "--template", templatePath(),
                        "--parameters", parametersJson},
                       m_folder / "geoclue-mock.log");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (nameIsOwned())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    [[nodiscard]] const std::string& address() const { return m_address; }

private:
    static std::string templatePath() { return std::string(DAZED_TEST_SUPPORT_DIR) + "/geoclue_template.py"; }

    pid_t spawn(const std::vector<std::string>& words, const std::filesystem::path& log)
    {
        std::vector<std::string> environment;
        for (char** e = environ; *e; ++e)
            if (std::string(*e).rfind("DBUS_SYSTEM_BUS_ADDRESS=", 0) != 0)
                environment.emplace_back(*e);
        environment.push_back("DBUS_SYSTEM_BUS_ADDRESS=" + m_address);
        std::vector<char*> argv;
        for (const auto& w : words)
            argv.push_back(const_cast<char*>(w.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& e : environment)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = -1;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    static void stop(pid_t pid)
    {
        if (pid <= 0)
            return;
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }

    bool busAnswers() const
    {
        GError* error = nullptr;
        GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
            m_address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        g_clear_error(&error);
        if (!bus)
            return false;
        g_dbus_connection_close_sync(bus, nullptr, nullptr);
        g_object_unref(bus);
        return true;
    }

    bool nameIsOwned() const
    {
        GError* error = nullptr;
        GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
            m_address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        if (!bus) {
            g_clear_error(&error);
            return false;
        }
        GVariant* reply = g_dbus_connection_call_sync(
            bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
            g_variant_new("(s)", "org.freedesktop.GeoClue2"), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE,
            1000, nullptr, &error);
        gboolean owned = FALSE;
        if (reply) {
            g_variant_get(reply, "(b)", &owned);
            g_variant_unref(reply);
        }
        g_clear_error(&error);
        g_dbus_connection_close_sync(bus, nullptr, nullptr);
        g_object_unref(bus);
        return owned != FALSE;
    }

    std::filesystem::path m_folder;
    std::string m_address;
    std::optional<std::string> m_oldAddress;
    pid_t m_daemon{-1};
    pid_t m_mock{-1};
};

} // namespace dazed::test
