#pragma once

// The `dazed` command line: with no subcommand it opens the chart window; `render` draws one frame
// to a file and `summary` prints what the catalogue holds.

#include "catalog/EquatorialPosition.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace dazed {

// How the chart window starts, as checked on the command line.
struct ChartOptions {
    std::string device{"phone"};         // phone or tablet
    std::string orientation{"portrait"}; // portrait or landscape
    double quitAfter{0};                 // seconds before the window closes by itself; 0 never
    std::string interfacePath;           // another main interface description (developers)
    bool exitAfterFirstFrame{false};     // quit once the first frame is shown, reporting start-up figures
    std::optional<EquatorialPosition> centre; // where the sky starts (--at, --overhead); else 17 h, +31 deg
};

// The chart window to open, or the exit status of what already ran: 0 after a subcommand, help or
// the version; 2 for a bad option or argument, after a one-line message on `err`.
using CliOutcome = std::variant<ChartOptions, int>;

// Runs the command line given as the argument vector (program name first).
CliOutcome runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The window's controls, as --help lists them.
extern const char* const kControlsHelp;

} // namespace dazed
