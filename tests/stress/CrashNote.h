#pragma once

// What a crash in the stress run reports: the seed, the event being handled and the session, kept
// ready in a fixed buffer so that a signal handler (or a sanitizer's death callback) can write it
// out without allocating.

#include <cstdint>
#include <string>

namespace dazed::stress {

// Keeps the note of the event now being handled: where it is and the arguments that replay it.
void setCrashNote(std::uint64_t seed, std::uint64_t index, const std::string& session,
                  const std::string& event, const std::string& replayArguments);
void clearCrashNote();

// On a crash signal or a sanitizer's fatal report, writes the note and the command that replays the
// event to standard error, then lets the crash take its course.
void installCrashReport(const std::string& program);

} // namespace dazed::stress
