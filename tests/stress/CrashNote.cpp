#include "CrashNote.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace dazed::stress {

namespace {

// Sizes are fixed so that the handler only reads memory that always exists.
char g_note[2048];
std::size_t g_noteLength = 0;
char g_program[256] = "stress_test";

void writeNote()
{
    if (g_noteLength > 0) [[maybe_unused]]
        const auto written = ::write(STDERR_FILENO, g_note, g_noteLength);
}

extern "C" void onCrashSignal(int signal)
{
    writeNote();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void setCrashNote(std::uint64_t seed, std::uint64_t index, const std::string& session,
                  const std::string& event, const std::string& replayArguments)
{
    const int n = std::snprintf(g_note, sizeof g_note,
                                "\nstress: crashed in seed %llu, event %llu (%s): %s\n"
                                "stress: replay with: %s %s\n",
                                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(index),
                                session.c_str(), event.c_str(), g_program, replayArguments.c_str());
    g_noteLength = n < 0 ? 0 : std::min(static_cast<std::size_t>(n), sizeof g_note - 1);
}

void clearCrashNote()
{
    g_noteLength = 0;
}

void installCrashReport(const std::string& program)
{
    std::snprintf(g_program, sizeof g_program, "%s", program.c_str());
    for (int s : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL})
        std::signal(s, onCrashSignal);
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(writeNote);
#endif
}

} // namespace dazed::stress
