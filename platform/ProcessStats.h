#pragma once

// Figures about the running process, for the start-up report of --exit-after-first-frame.

#include <optional>

namespace dazed {

// Notes the moment main began (a steady clock); call it first thing in main.
void noteMainEntered();

// Milliseconds since noteMainEntered() on the steady clock; none when it was never called.
std::optional<double> millisecondsSinceMainEntered();

// Milliseconds since the kernel started the process (its start time in /proc/self/stat against
// CLOCK_BOOTTIME), which also counts loading the program and its libraries. The kernel keeps the
// start time in clock ticks (usually 10 ms). None where /proc is not readable.
std::optional<double> millisecondsSinceProcessStart();

// The most resident memory the process has used so far, in kibibytes (getrusage ru_maxrss).
long peakResidentKibibytes();

} // namespace dazed
