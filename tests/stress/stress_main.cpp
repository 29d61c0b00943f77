// The random-input stress run of the whole app. Every event comes from the seed, so a failure is
// replayed exactly by the command it prints:
//
//   stress_test --seed S --events N [--session L] [--from I] [--pixels]
//
// runs N events of seed S in sessions of L events (one launch each), prints every event from I on
// (and skips the sessions that end before I), and exits 0 when every check held, 1 at the first
// failed check, naming the seed, the event's index and the event. A crash prints the same.

#include "CrashNote.h"
#include "StressRun.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace dazed::stress;
    RunOptions options;
    std::uint64_t from = 0;
    CLI::App cli{"Feeds the whole app a seeded stream of random events and checks it after each one."};
    cli.add_option("--seed", options.seed, "seed of the event stream")->capture_default_str();
    cli.add_option("--events", options.events, "events in the run")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    cli.add_option("--session", options.sessionLength, "events between two launches of the app")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    auto* fromOption =
        cli.add_option("--from", from, "print every event from this index on; skip earlier sessions");
    cli.add_flag("--pixels", options.pixels, "the sky also draws its pixels (slower)");
    CLI11_PARSE(cli, argc, argv);
    if (*fromOption)
        options.from = from;

    installCrashReport(argv[0]);
    const auto start = std::chrono::steady_clock::now();
    const RunResult result = run(options, options.from ? std::cout : std::clog);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::cout << "stress: seed " << options.seed << ", " << result.events << " events, " << result.steps
              << " turns of the loop, " << result.frames << " screens presented, " << result.skyFrames
              << " sky frames drawn, " << result.flips << " flips, " << result.menus << " menus and "
              << result.lists << " lists of names opened, " << seconds << " s\n";
    if (!result.failure)
        return 0;
    const Failure& f = *result.failure;
    std::cout << "stress: FAILED at event " << f.index << " of seed " << options.seed << " (" << f.session
              << ")\n  event: " << f.event << "\n  check: " << f.what << "\n  replay: " << argv[0] << ' '
              << replayArguments(options, f.index, f.index - std::min<std::uint64_t>(f.index, 100)) << '\n';
    return 1;
}
