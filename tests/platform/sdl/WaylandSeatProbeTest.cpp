#include "platform/sdl/WaylandSeatProbe.h"

#include "tests/support/ScratchFolder.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace dazed {
namespace {

using namespace std::chrono_literals;

// A compositor of the test's own: weston with its headless backend, which offers no seat, on a
// socket in the scratch folder. Stopped when the test ends.
class HeadlessWeston {
public:
    explicit HeadlessWeston(const std::filesystem::path& folder)
        : m_socket(folder / "wayland-probe")
    {
        const std::string runtime = "XDG_RUNTIME_DIR=" + folder.string();
        const std::string socketOption = "--socket=" + m_socket.filename().string();
        const std::string logOption = "--log=" + (folder / "weston.log").string();
        m_pid = fork();
        if (m_pid == 0) {
            putenv(const_cast<char*>(runtime.c_str()));
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("DISPLAY");
            execlp("weston", "weston", "--backend=headless-backend.so", socketOption.c_str(), "--no-config",
                   "--idle-time=0", logOption.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // It is up once its socket exists; a weston that cannot start ends.
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < deadline) {
            if (std::filesystem::exists(m_socket)) {
                m_running = true;
                return;
            }
            int status = 0;
            if (m_pid < 0 || waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return;
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    ~HeadlessWeston()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
    }
    HeadlessWeston(const HeadlessWeston&) = delete;
    HeadlessWeston& operator=(const HeadlessWeston&) = delete;

    [[nodiscard]] bool running() const { return m_running; }
    [[nodiscard]] const std::filesystem::path& socket() const { return m_socket; }

private:
    std::filesystem::path m_socket;
    pid_t m_pid{-1};
    bool m_running{false};
};

TEST(WaylandSeatProbe, FindsNoSeatOnWestonsHeadlessBackend)
{
    const test::ScratchFolder folder;
    const HeadlessWeston weston(folder.path());
    if (!weston.running())
        GTEST_SKIP() << "weston's headless backend could not start here";
    EXPECT_EQ(lookForWaylandSeat(weston.socket().string()), WaylandSeat::Missing);
}

TEST(WaylandSeatProbe, NothingListeningIsUnreachable)
{
    const test::ScratchFolder folder;
    EXPECT_EQ(lookForWaylandSeat((folder / "no-compositor").string()), WaylandSeat::Unreachable);
    EXPECT_EQ(lookForWaylandSeat(""), WaylandSeat::Unreachable);
}

// A Unix socket listening at `path` (a backlog of one), or -1 when it cannot be made.
int listenAt(const std::string& path)
{
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (listener < 0 || path.size() >= sizeof address.sun_path) {
        if (listener >= 0)
            close(listener);
        return -1;
    }
    path.copy(address.sun_path, path.size());
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 1) != 0) {
        close(listener);
        return -1;
    }
    return listener;
}

TEST(WaylandSeatProbe, ASocketThatNeverSpeaksWaylandIsUnreachable)
{
    // A listener that accepts and hangs up at once: the round trip fails instead of waiting.
    const test::ScratchFolder folder;
    const std::string path = (folder / "mute").string();
    const int listener = listenAt(path);
    ASSERT_GE(listener, 0);
    std::thread hangUp([listener] {
        const int connection = accept(listener, nullptr, nullptr);
        if (connection >= 0)
            close(connection);
    });
    EXPECT_EQ(lookForWaylandSeat(path), WaylandSeat::Unreachable);
    hangUp.join();
    close(listener);
}

TEST(WaylandSeatProbe, ASocketThatTakesTheConnectionAndNeverAnswersIsSilentWithinSeconds)
{
    const test::ScratchFolder folder;
    const std::string path = (folder / "silent").string();
    // The kernel takes the connection into the backlog; nobody ever reads from it.
    const int listener = listenAt(path);
    ASSERT_GE(listener, 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(lookForWaylandSeat(path), WaylandSeat::Silent);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    close(listener);
}

} // namespace
} // namespace dazed
