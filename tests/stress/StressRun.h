#pragma once

// The stress run: the whole app as `dazed` registers it, launched on the headless host, fed the
// seeded event stream through the real application loop, and checked after every event and every
// display cycle.
//
// A run is a series of sessions, each a fresh launch: even sessions are phones and odd ones
// tablets, at one pixel per point in sessions 0, 1 (mod 4) and two in 2, 3, so any run of four
// sessions covers both families at both densities. A phone's session is `sessionLength` events; a
// tablet's, whose every frame composites five times the pixels, a quarter of that. Each session's
// events come from its own seed (the run's seed and the session's number), so a failure is
// replayed by running its session alone.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace dazed::stress {

struct RunOptions {
    std::uint64_t seed{1};
    std::uint64_t events{50000};       // events in the whole run
    std::uint64_t sessionLength{4000}; // events of a phone's session
    // Sessions that end before this event are skipped, and every event from here on is printed.
    std::optional<std::uint64_t> from;
    // The sky view also draws its pixels (through Cairo) beside the recording: slower, and checks
    // the rasteriser too.
    bool pixels{false};
};

struct Failure {
    std::uint64_t index{0}; // the event after which a check failed (or that was being handled)
    std::string event;      // what it was
    std::string session;    // "session 3: tablet, portrait, 2 pixels per point"
    std::string what;       // which check, with the values
};

struct RunResult {
    std::uint64_t events{0}; // events fed (besides the quit that ends each session)
    std::uint64_t steps{0};  // turns of the loop
    std::uint64_t frames{0}; // screens presented
    std::uint64_t skyFrames{0};
    std::uint64_t flips{0};
    std::uint64_t menus{0}; // times the long-press menu opened
    std::uint64_t lists{0}; // times the list of names opened
    std::optional<Failure> failure;
};

// The arguments that replay the run up to event `index`, printing the events of its session from
// `from` on: "--seed 7 --session 5000 --events 12346 --from 12300".
std::string replayArguments(const RunOptions& options, std::uint64_t index, std::uint64_t from);

// Runs until the last event or the first failed check. `trace` receives every event printed from
// `options.from` on, and a line per session.
RunResult run(const RunOptions& options, std::ostream& trace);

} // namespace dazed::stress
