#include "platform/ProcessStats.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace dazed {

namespace {
std::optional<std::chrono::steady_clock::time_point>& mainEntered()
{
    static std::optional<std::chrono::steady_clock::time_point> entered;
    return entered;
}
} // namespace

void noteMainEntered()
{
    mainEntered() = std::chrono::steady_clock::now();
}

std::optional<double> millisecondsSinceMainEntered()
{
    if (!mainEntered())
        return std::nullopt;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - *mainEntered())
        .count();
}

std::optional<double> millisecondsSinceProcessStart()
{
    std::ifstream file("/proc/self/stat");
    std::string stat;
    if (!std::getline(file, stat))
        return std::nullopt;
    // The command name in parentheses may hold spaces; the fields after it are plain. The start
    // time is field 22, the 20th after the closing parenthesis.
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks))
        return std::nullopt;
    timespec boot{};
    if (clock_gettime(CLOCK_BOOTTIME, &boot) != 0)
        return std::nullopt;
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (ticksPerSecond <= 0)
        return std::nullopt;
    const double nowMs = static_cast<double>(boot.tv_sec) * 1e3 + static_cast<double>(boot.tv_nsec) / 1e6;
    return nowMs - static_cast<double>(startTicks) * 1e3 / static_cast<double>(ticksPerSecond);
}

long peakResidentKibibytes()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    return usage.ru_maxrss;
}

} // namespace dazed
